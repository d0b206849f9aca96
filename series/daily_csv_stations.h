#pragma once
// A daily CSV file read a group of stations at a time, so that a run over many stations
// holds the stations at work and not the file. The file is read once whole to check every
// row, with the errors ReadDailyCsv raises, keeping only where each station's rows lie;
// then each group of stations is read from the part of the file that holds its rows. A pipe,
// which cannot be read twice, is held whole.

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "daily_csv_reader.h"
#include "season.h"

namespace nimbra {

struct DailyStationEntry {
  std::string Station;
  std::int64_t FirstDay = 0;      // serial day of the first date, 0 when the station has no row
  std::int64_t Days = 0;          // from the first date to the last
  MonthSet Months = 0;            // the months that have a value
  std::uint64_t FirstOffset = 0;  // the bytes from its first row's start to its last row's start
  std::uint64_t LastOffset = 0;
  int FirstLine = 0;
};

class DailyCsvStations {
 public:
  // Reads and checks the whole file. groupDays bounds the days a group of stations read at
  // once holds (a station longer than it is read alone).
  DailyCsvStations(const std::string& path, const DailyCsvOptions& options,
                   std::int64_t groupDays = std::int64_t{1} << 22);

  // The stations sorted by name.
  const std::vector<DailyStationEntry>& Stations() const { return stations_; }
  // Drops the stations keep refuses; before any Take.
  void Keep(const std::function<bool(const std::string& station)>& keep);

  // The series of Stations()[index]. Each index is taken once, from any thread, in about
  // increasing order: the next group is read when an index beyond those read is asked for.
  StationSeries Take(std::size_t index);

 private:
  void Hold(std::vector<NamedSeries> stations);
  void ReadGroup();

  std::string path_;
  DailyCsvOptions options_;
  std::int64_t groupDays_;
  std::vector<DailyStationEntry> stations_;
  std::mutex mutex_;
  std::size_t read_ = 0;  // stations before this index were read
  std::map<std::size_t, StationSeries> waiting_;
  bool held_ = false;  // every series is in waiting_
};

}  // namespace nimbra
