#include "daily_csv_reader.h"

#include <algorithm>
#include <filesystem>
#include <limits>

#include "date_time_text.h"
#include "errors.h"
#include "station_values.h"

namespace nimbra {

namespace {

std::int64_t ReadDate(const CsvReader& reader, int column, std::string_view field) {
  const auto day = ParseDate(field);
  if (!day) reader.FailField(column, "a date YYYY-MM-DD", field);
  return *day;
}

void CollectLong(CsvReader& reader, const DailyCsvOptions& options, DailyValueSink& sink) {
  const int station = reader.ColumnIndex(options.StationColumn);
  if (station < 0 && options.StationColumnRequired) reader.RequireColumn(options.StationColumn);
  const int date = reader.RequireColumn(options.DateColumn);
  const int value = reader.RequireColumn(options.ValueColumn);
  const std::string fileStation = StationOfFile(reader.Path());
  std::vector<std::string_view> fields;
  while (reader.NextRow(fields)) {
    reader.RequireFieldCount(fields.size());
    if (station >= 0 && fields[station].empty()) reader.FailField(station, "a station name", fields[station]);
    const std::int64_t day = ReadDate(reader, date, fields[date]);
    const double depth = ReadDepth(reader, value, fields[value], options.MissingSentinels);
    if (!sink.Value(station >= 0 ? fields[station] : fileStation, {day, depth, reader.Line()})) return;
  }
}

void CollectWide(CsvReader& reader, const DailyCsvOptions& options, DailyValueSink& sink) {
  const int date = reader.RequireColumn(options.DateColumn);
  const auto& header = reader.Header();
  for (std::size_t c = 0; c < header.size(); ++c) {
    const bool repeated = std::find(header.begin(), header.begin() + c, header[c]) != header.begin() + c;
    if (static_cast<int>(c) != date && (header[c].empty() || repeated)) {
      reader.FailField(static_cast<int>(c), "a station name not used before", header[c]);
    }
    if (static_cast<int>(c) != date) sink.Station(header[c]);
  }
  std::vector<std::string_view> fields;
  while (reader.NextRow(fields)) {
    reader.RequireFieldCount(fields.size());
    const std::int64_t day = ReadDate(reader, date, fields[date]);
    for (std::size_t c = 0; c < fields.size(); ++c) {
      if (static_cast<int>(c) == date) continue;
      const double depth = ReadDepth(reader, static_cast<int>(c), fields[c], options.MissingSentinels);
      if (!sink.Value(header[c], {day, depth, reader.Line()})) return;
    }
  }
}

class CollectorSink : public DailyValueSink {
 public:
  void Station(std::string_view name) override { collector.For(name); }
  bool Value(std::string_view station, const KeyedValue& value) override {
    collector.For(station).push_back(value);
    return true;
  }

  StationCollector collector;
};

StationSeries Densified(const std::vector<KeyedValue>& values) {
  StationSeries series;
  if (values.empty()) return series;
  series.FirstDay = values.front().Key;
  series.Daily.assign(values.back().Key - series.FirstDay + 1, std::numeric_limits<double>::quiet_NaN());
  for (const KeyedValue& v : values) series.Daily[v.Key - series.FirstDay] = v.Value;
  return series;
}

}  // namespace

std::string StationOfFile(const std::string& path) { return std::filesystem::path(path).stem().string(); }

std::vector<NamedSeries> ReadDailyCsv(const std::string& path, const DailyCsvOptions& options) {
  CsvReader reader = CsvReader::Open(path);
  return ReadDailyCsv(reader, options);
}

void ReadDailyValues(CsvReader& reader, const DailyCsvOptions& options, DailyValueSink& sink) {
  if (options.Wide) {
    CollectWide(reader, options, sink);
  } else {
    CollectLong(reader, options, sink);
  }
}

std::vector<NamedSeries> ReadDailyCsv(CsvReader& reader, const DailyCsvOptions& options) {
  CollectorSink sink;
  ReadDailyValues(reader, options, sink);
  std::vector<NamedSeries> stations;
  for (const StationValues& station : sink.collector.TakeSorted(reader.Path(), "the date", FormatDate)) {
    RefuseLongSpan(reader.Path(), station, kLongestSpanDays, FormatDate);
    stations.push_back({station.Station, Densified(station.Values)});
  }
  return stations;
}

}  // namespace nimbra
