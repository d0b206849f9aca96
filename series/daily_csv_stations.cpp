#include "daily_csv_stations.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <unordered_map>

#include "civil_date.h"
#include "date_time_text.h"
#include "day_set.h"
#include "errors.h"
#include "parameter_table.h"

namespace nimbra {

namespace {

struct StationTrack {
  DailyStationEntry Entry;
  std::int64_t LastDay = 0;
  KeyedValue Earliest, Latest;  // for a span too long to hold
  DaySet Seen;
  // The earliest date given twice, and the line that gave it the second time.
  std::int64_t RepeatDay = 0;
  int RepeatLine = 0;
};

// Where each station's rows lie, its dates and months, and its first repeated date.
class IndexSink : public DailyValueSink {
 public:
  explicit IndexSink(const CsvReader& reader) : reader_(reader) {}

  void Station(std::string_view name) override { Track(name); }

  bool Value(std::string_view station, const KeyedValue& value) override {
    StationTrack& track = Track(station);
    DailyStationEntry& entry = track.Entry;
    if (entry.FirstLine == 0) {
      entry.FirstOffset = reader_.Offset();
      entry.FirstLine = reader_.Line();
      entry.FirstDay = track.LastDay = value.Key;
      track.Earliest = track.Latest = value;
    }
    if (value.Key < track.Earliest.Key) track.Earliest = value;
    if (value.Key > track.Latest.Key) track.Latest = value;
    entry.LastOffset = reader_.Offset();
    entry.FirstDay = std::min(entry.FirstDay, value.Key);
    track.LastDay = std::max(track.LastDay, value.Key);
    if (entry.Months != kAllMonths && !std::isnan(value.Value))
      entry.Months |= MonthBit(CivilFromDays(value.Key).Month);
    if (!track.Seen.Insert(value.Key) && (track.RepeatLine == 0 || value.Key < track.RepeatDay)) {
      track.RepeatDay = value.Key;
      track.RepeatLine = value.Line;
    }
    return true;
  }

  std::vector<StationTrack> TakeSorted() {
    std::sort(tracks_.begin(), tracks_.end(),
              [](const StationTrack& a, const StationTrack& b) { return a.Entry.Station < b.Entry.Station; });
    for (StationTrack& track : tracks_) {
      if (track.Entry.FirstLine != 0) track.Entry.Days = track.LastDay - track.Entry.FirstDay + 1;
    }
    return std::move(tracks_);
  }

 private:
  StationTrack& Track(std::string_view station) {
    // Files mostly hold one station's rows together: the last station is tried first.
    if (last_ < tracks_.size() && tracks_[last_].Entry.Station == station) return tracks_[last_];
    const auto [at, added] = index_.try_emplace(std::string(station), tracks_.size());
    if (added) tracks_.emplace_back().Entry.Station = station;
    last_ = at->second;
    return tracks_[last_];
  }

  const CsvReader& reader_;
  std::vector<StationTrack> tracks_;
  std::unordered_map<std::string, std::size_t> index_;
  std::size_t last_ = 0;
};

// The line of a station's first row of a date.
class FirstRowSink : public DailyValueSink {
 public:
  FirstRowSink(std::string_view station, std::int64_t day) : station_(station), day_(day) {}
  void Station(std::string_view) override {}
  bool Value(std::string_view station, const KeyedValue& value) override {
    if (station != station_ || value.Key != day_) return true;
    line = value.Line;
    return false;
  }

  int line = 0;

 private:
  std::string_view station_;
  std::int64_t day_;
};

// The values of a group of stations, from the rows between two offsets.
class GroupSink : public DailyValueSink {
 public:
  GroupSink(const CsvReader& reader, std::uint64_t lastOffset) : reader_(reader), lastOffset_(lastOffset) {}
  void Station(std::string_view) override {}
  bool Value(std::string_view station, const KeyedValue& value) override {
    if (reader_.Offset() > lastOffset_) return false;
    const auto found = series_.find(station);
    if (found == series_.end()) return true;
    StationSeries& series = *found->second;
    const std::int64_t at = value.Key - series.FirstDay;
    if (at < 0 || at >= static_cast<std::int64_t>(series.Daily.size())) {
      throw InOutError(reader_.Path() + ": the file changed while it was read");
    }
    series.Daily[static_cast<std::size_t>(at)] = value.Value;
    return true;
  }

  void Add(const std::string& station, StationSeries& series) { series_.emplace(station, &series); }

 private:
  const CsvReader& reader_;
  std::uint64_t lastOffset_;
  std::unordered_map<std::string_view, StationSeries*> series_;
};

}  // namespace

DailyCsvStations::DailyCsvStations(const std::string& path, const DailyCsvOptions& options,
                                   std::int64_t groupDays)
    : path_(path), options_(options), groupDays_(groupDays) {
  if (!std::filesystem::is_regular_file(path)) {
    Hold(ReadDailyCsv(path, options));
    return;
  }
  CsvReader reader = CsvReader::Open(path);
  IndexSink index(reader);
  ReadDailyValues(reader, options, index);
  std::vector<StationTrack> tracks = index.TakeSorted();
  for (const StationTrack& track : tracks)
    RefuseLongSpan(path, track.Entry.Station, track.Earliest, track.Latest, kLongestSpanDays, FormatDate);
  // The first station by name with a date given twice is reported, with the date's first two
  // lines, as reading the file whole reports it.
  for (const StationTrack& track : tracks) {
    if (track.RepeatLine == 0) continue;
    FirstRowSink first(track.Entry.Station, track.RepeatDay);
    reader.Seek(track.Entry.FirstOffset, track.Entry.FirstLine);
    ReadDailyValues(reader, options, first);
    ThrowRepeatedKey(path, first.line, track.RepeatLine, track.Entry.Station, "the date",
                     FormatDate(track.RepeatDay));
  }
  stations_.reserve(tracks.size());
  for (StationTrack& track : tracks) stations_.push_back(std::move(track.Entry));
}

void DailyCsvStations::Hold(std::vector<NamedSeries> stations) {
  held_ = true;
  for (NamedSeries& station : stations) {
    const StationSeries& series = station.Series;
    stations_.push_back({station.Station, series.FirstDay, static_cast<std::int64_t>(series.Daily.size()),
                         MonthsWithValues(series), 0, 0, 0});
    waiting_.emplace(stations_.size() - 1, std::move(station.Series));
  }
  read_ = stations_.size();
}

void DailyCsvStations::Keep(const std::function<bool(const std::string& station)>& keep) {
  std::vector<DailyStationEntry> kept;
  std::map<std::size_t, StationSeries> keptSeries;
  for (std::size_t i = 0; i < stations_.size(); ++i) {
    if (!keep(stations_[i].Station)) continue;
    if (held_) keptSeries.emplace(kept.size(), std::move(waiting_[i]));
    kept.push_back(std::move(stations_[i]));
  }
  stations_ = std::move(kept);
  waiting_ = std::move(keptSeries);
  if (held_) read_ = stations_.size();
}

StationSeries DailyCsvStations::Take(std::size_t index) {
  if (index >= stations_.size())
    throw InvalidArgument("no station " + std::to_string(index) + " in " + path_);
  const std::lock_guard lock(mutex_);
  while (read_ <= index) ReadGroup();
  auto taken = waiting_.extract(index);
  if (taken.empty())
    throw InvalidArgument("station " + std::to_string(index) + " of " + path_ + " taken twice");
  return std::move(taken.mapped());
}

void DailyCsvStations::ReadGroup() {
  const std::size_t begin = read_;
  std::size_t end = begin;
  std::int64_t days = 0;
  while (end < stations_.size() && (end == begin || days + stations_[end].Days <= groupDays_))
    days += stations_[end++].Days;
  const DailyStationEntry* first = nullptr;
  std::uint64_t last = 0;
  for (std::size_t i = begin; i < end; ++i) {
    const DailyStationEntry& entry = stations_[i];
    if (entry.FirstLine == 0) continue;
    if (first == nullptr || entry.FirstOffset < first->FirstOffset) first = &entry;
    last = std::max(last, entry.LastOffset);
  }
  CsvReader reader = CsvReader::Open(path_);
  GroupSink sink(reader, last);
  std::vector<StationSeries> group(end - begin);
  for (std::size_t i = begin; i < end; ++i) {
    StationSeries& series = group[i - begin];
    series.FirstDay = stations_[i].FirstDay;
    series.Daily.assign(static_cast<std::size_t>(stations_[i].Days),
                        std::numeric_limits<double>::quiet_NaN());
    if (stations_[i].FirstLine != 0) sink.Add(stations_[i].Station, series);
  }
  if (first != nullptr) {
    reader.Seek(first->FirstOffset, first->FirstLine);
    ReadDailyValues(reader, options_, sink);
  }
  for (std::size_t i = begin; i < end; ++i) waiting_.emplace(i, std::move(group[i - begin]));
  read_ = end;
}

}  // namespace nimbra
