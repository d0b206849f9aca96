#include "csv_daily_input.h"

#include <algorithm>
#include <filesystem>

#include "daily_csv_reader.h"
#include "errors.h"
#include "file_prompts.h"
#include "parameter_table.h"
#include "station_batch.h"
#include "station_seed.h"

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

// The parts the station runner makes of the station's months, each with the repetition
// settings of its sets and the spread of its seed (part k's seed is the run's xor it).
void TakeParts(const StationJob& job, DatedInput& input) {
  if (job.Parts.empty()) {
    input.Parts = {{job.Options.RepLevel1Factor, job.Options.RepLevel1Min, 0}};
    return;
  }
  for (std::size_t k = 0; k < job.Parts.size(); ++k) {
    const StationPart& part = job.Parts[k];
    input.Parts.push_back({part.Options.RepLevel1Factor, part.Options.RepLevel1Min,
                           static_cast<std::uint32_t>(PartSeed(0, static_cast<int>(k)))});
    for (int month = 1; month <= 12; ++month) {
      if ((part.Months & MonthBit(month)) != 0) input.PartOfMonth[static_cast<std::size_t>(month - 1)] = k;
    }
  }
}

}  // namespace

bool IsCsvFile(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".csv";
}

CsvDailyInput ReadCsvDailyInput(const std::string& dailyPath, const std::string& parametersPath,
                                const RunOptions& options) {
  std::vector<NamedSeries> stations = ReadDailyCsv(dailyPath, DailyCsvOptions{});
  if (stations.empty())
    throw InputError("Input file " + dailyPath + " holds no station: expected daily rows");
  const ParameterTable table = ParameterTable::Read(parametersPath);
  NamedSeries& first = stations.front();
  CsvDailyInput input;
  input.Station = first.Station;
  input.StationCount = static_cast<int>(stations.size());
  const StationJob job = PlanStation(first.Station, MonthsWithValues(first.Series), table, options);
  input.Input.Parameters = job.Parameters;
  TakeParts(job, input.Input);
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
