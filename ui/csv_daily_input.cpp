#include "csv_daily_input.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>

#include "civil_date.h"
#include "daily_csv_reader.h"
#include "errors.h"
#include "file_prompts.h"

namespace nimbra {

namespace {

constexpr double kMissingDepth = -1;

// The shortest text that reads back as the same depth.
std::string DepthText(double depth) {
  std::array<char, 32> buffer{};
  const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), depth);
  return std::string(buffer.data(), written.ptr);
}

std::string ClassicLines(const StationSeries& series) {
  std::string text;
  for (std::size_t i = 0; i < series.Daily.size(); ++i) {
    const CivilDate date = CivilFromDays(series.FirstDay + static_cast<std::int64_t>(i));
    const double depth = std::isnan(series.Daily[i]) ? kMissingDepth : series.Daily[i];
    text += std::to_string(date.Day) + ' ' + std::to_string(date.Month) + ' ' + std::to_string(date.Year) +
            ' ' + DepthText(depth) + "\r\n";
  }
  return text;
}

}  // namespace

bool IsCsvFile(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".csv";
}

CsvDailyStation ReadFirstCsvStation(const std::string& path) {
  const std::vector<NamedSeries> stations = ReadDailyCsv(path, DailyCsvOptions{});
  if (stations.empty()) throw InputError("Input file " + path + " holds no station: expected daily rows");
  const NamedSeries& first = stations.front();
  return {first.Station, static_cast<int>(stations.size()), ClassicLines(first.Series)};
}

std::string StationTakenLine(const CsvDailyStation& station, const std::string& path) {
  return "Station " + station.Station + " of " + StripDirectory(path) + " (the first of " +
         std::to_string(station.StationCount) + (station.StationCount == 1 ? " station)" : " stations)");
}

}  // namespace nimbra
