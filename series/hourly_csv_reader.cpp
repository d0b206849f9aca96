#include "hourly_csv_reader.h"

#include <limits>

#include "daily_csv_reader.h"
#include "date_time_text.h"
#include "station_values.h"

namespace nimbra {

namespace {

constexpr int kHours = 24;

StationHours DayAligned(const StationValues& station, int dayStart) {
  StationHours hours{station.Station, 0, {}};
  if (station.Values.empty()) return hours;
  hours.FirstDay = FloorDiv(station.Values.front().Key - dayStart, kHours);
  const std::int64_t lastDay = FloorDiv(station.Values.back().Key - dayStart, kHours);
  hours.Hours.assign((lastDay - hours.FirstDay + 1) * kHours, std::numeric_limits<double>::quiet_NaN());
  const std::int64_t firstHour = hours.FirstDay * kHours + dayStart;
  for (const KeyedValue& v : station.Values) hours.Hours[v.Key - firstHour] = v.Value;
  return hours;
}

}  // namespace

std::vector<StationHours> ReadHourlyCsv(const std::string& path, const HourlyCsvOptions& options) {
  CsvReader reader = CsvReader::Open(path);
  return ReadHourlyCsv(reader, options);
}

std::vector<StationHours> ReadHourlyCsv(CsvReader& reader, const HourlyCsvOptions& options) {
  const std::string& path = reader.Path();
  const int station = reader.ColumnIndex("station");
  const int time = reader.RequireColumn("time");
  const int value = reader.RequireColumn("precip_mm");
  const std::string fileStation = StationOfFile(path);
  const int labelShift = options.LabelsAtHourEnd ? -1 : 0;
  StationCollector collector;
  std::vector<std::string_view> fields;
  while (reader.NextRow(fields)) {
    reader.RequireFieldCount(fields.size());
    if (station >= 0 && fields[station].empty()) reader.FailField(station, "a station name", fields[station]);
    const auto hour = ParseHour(fields[time]);
    if (!hour) reader.FailField(time, "a time YYYY-MM-DDThh:00", fields[time]);
    const double depth = ReadDepth(reader, value, fields[value], options.MissingSentinels);
    collector.For(station >= 0 ? fields[station] : fileStation)
        .push_back({*hour + labelShift, depth, reader.Line()});
  }
  std::vector<StationHours> stations;
  const auto formatHour = [labelShift](std::int64_t hour) { return FormatHour(hour - labelShift); };
  for (const StationValues& s : collector.TakeSorted(path, "the time", formatHour)) {
    RefuseLongSpan(path, s, kLongestSpanDays * kHours, formatHour);
    stations.push_back(DayAligned(s, options.DayStart));
  }
  return stations;
}

}  // namespace nimbra
