#include "convert_command.h"

#include <filesystem>
#include <optional>

#include "atomic_file.h"
#include "classic_conversion.h"
#include "daily_csv_reader.h"
#include "errors.h"

namespace nimbra {

namespace {

int ClassicToCsv(const ConvertOptions& o, std::ostream& out) {
  const ClassicFile file = ReadClassicFile(o.Input);
  const std::string station = o.Station.empty() ? StationOfFile(o.Input) : o.Station;
  AtomicFile daily(o.Output);
  std::optional<AtomicFile> hourlyFile;
  std::optional<HourlyCsvWriter> hourly;
  if (!o.HourlyOutput.empty() && file.HasHours) {
    hourlyFile.emplace(o.HourlyOutput);
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

int CsvToClassic(const ConvertOptions& o, std::ostream& out) {
  const std::vector<StationHours> stations =
      ReadHourlyCsv(o.Input, {o.Format.DayStart, o.Format.LabelsAtHourEnd, kDefaultMissingSentinels});
  const StationHours& station = ChosenStation(o, stations);
  AtomicFile classic(o.Output);
  const CsvToClassicCounts counts = ConvertHoursToClassic(station, classic.Stream());
  classic.Commit();
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
  try {
    const bool fromCsv = std::filesystem::path(options.Input).extension() == ".csv";
    return fromCsv ? CsvToClassic(options, out) : ClassicToCsv(options, out);
  } catch (const NimbraError& e) {
    err << "nimbra-cli convert: " << e.what() << '\n';
    return 2;
  }
}

}  // namespace nimbra
