#include "convert_command.h"

#include <filesystem>
#include <optional>

#include "atomic_file.h"
#include "classic_conversion.h"
#include "command_output.h"
#include "daily_csv_reader.h"
#include "errors.h"
#include "input_output_check.h"
#include "subcommand_run.h"

namespace nimbra {

namespace {

int ClassicToCsv(const ConvertOptions& o, std::ostream& out, std::ostream& err) {
  const ClassicFile file = ReadClassicFile(o.Input);
  const std::string station = o.Station.empty() ? StationOfFile(o.Input) : o.Station;
  AtomicFile daily(o.Output);
  SayHowWritten(daily, err);
  std::optional<AtomicFile> hourlyFile;
  std::optional<HourlyCsvWriter> hourly;
  if (!o.HourlyOutput.empty() && file.HasHours) {
    hourlyFile.emplace(o.HourlyOutput);
    SayHowWritten(*hourlyFile, err);
    hourly.emplace(hourlyFile->Stream(), o.Format, o.HourlyOutput);
  }
  const ClassicToCsvCounts counts =
      ConvertClassicToCsv(file, station, o.NegativeIsMissing, daily.Stream(), hourly ? &*hourly : nullptr);
  daily.Commit();
  if (hourly) {
    hourly->Flush();
    hourlyFile->Commit();
  }
  out << o.Input << ": " << counts.Days << " days of station " << station << ", " << counts.NegativeDays
      << " with a negative depth written as " << (o.NegativeIsMissing ? "missing" : "dry") << '\n';
  if (!o.HourlyOutput.empty() && !file.HasHours) out << o.Input << ": no hourly depths, so no hourly file\n";
  return 0;
}

const StationHours& ChosenStation(const ConvertOptions& o, const std::vector<StationHours>& stations) {
  for (const StationHours& s : stations) {
    if (s.Station == o.Station || (o.Station.empty() && stations.size() == 1)) return s;
  }
  std::string names;
  for (const StationHours& s : stations) names += (names.empty() ? "" : ", ") + s.Station;
  throw InvalidArgument("--station: expected one of the stations of " + o.Input + " (" + names +
                        "), found '" + o.Station + "'");
}

int CsvToClassic(const ConvertOptions& o, std::ostream& out, std::ostream& err) {
  const std::vector<StationHours> stations =
      ReadHourlyCsv(o.Input, {o.Format.DayStart, o.Format.LabelsAtHourEnd, kDefaultMissingSentinels});
  const StationHours& station = ChosenStation(o, stations);
  CsvToClassicCounts counts;
  WriteOutput(o.Output, err, [&](std::ostream& file) { counts = ConvertHoursToClassic(station, file); });
  out << o.Input << ": " << counts.WetDays << " wet days of station " << station.Station << " written, "
      << counts.IncompleteDays << " days with a missing hour left out\n";
  if (counts.BelowPrecisionDays > 0) {
    out << o.Input << ": " << counts.BelowPrecisionDays
        << " wet days of less than 0.005 mm left out: the classic layout writes depths with two decimals\n";
  }
  return 0;
}

}  // namespace

int RunConvert(const ConvertOptions& options, std::ostream& out, std::ostream& err) {
  return AtCommandBoundary("convert", err, 2, [&] {
    CheckFiles({{options.Input, "-i"}}, {{options.Output, "-o"}, {options.HourlyOutput, "--hourly-output"}});
    const bool fromCsv = std::filesystem::path(options.Input).extension() == ".csv";
    return fromCsv ? CsvToClassic(options, out, err) : ClassicToCsv(options, out, err);
  });
}

}  // namespace nimbra
