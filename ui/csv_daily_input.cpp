#include "csv_daily_input.h"

#include <algorithm>
#include <filesystem>

#include "daily_csv_reader.h"
#include "errors.h"
#include "file_prompts.h"
#include "parameter_table.h"

namespace nimbra {

namespace {

// "season JJA (params.csv, line 4)": the row a month's set comes from.
std::array<std::string, 12> SetNames(const ParameterTable& table, const std::string& station) {
  std::array<std::string, 12> names;
  for (const SeasonParameters& row : table.RowsFor(station)) {
    for (int month = 1; month <= 12; ++month) {
      if (!row.Season.Covers(month)) continue;
      names[static_cast<std::size_t>(month - 1)] = "season " + row.Season.Name + " (" +
                                                   StripDirectory(table.Path()) + ", line " +
                                                   std::to_string(row.Line) + ")";
    }
  }
  return names;
}

}  // namespace

bool IsCsvFile(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".csv";
}

CsvDailyInput ReadCsvDailyInput(const std::string& dailyPath, const std::string& parametersPath) {
  std::vector<NamedSeries> stations = ReadDailyCsv(dailyPath, DailyCsvOptions{});
  if (stations.empty())
    throw InputError("Input file " + dailyPath + " holds no station: expected daily rows");
  const ParameterTable table = ParameterTable::Read(parametersPath);
  NamedSeries& first = stations.front();
  CsvDailyInput input;
  input.Station = first.Station;
  input.StationCount = static_cast<int>(stations.size());
  input.Input.Parameters = table.For(first.Station, MonthsWithValues(first.Series));
  input.Input.SetNames = SetNames(table, first.Station);
  input.Input.Series = std::move(first.Series);
  input.Warnings = table.Warnings();
  return input;
}

std::string StationTakenLine(const CsvDailyInput& input, const std::string& path) {
  return "Station " + input.Station + " of " + StripDirectory(path) + " (the first of " +
         std::to_string(input.StationCount) + (input.StationCount == 1 ? " station)" : " stations)");
}

}  // namespace nimbra
