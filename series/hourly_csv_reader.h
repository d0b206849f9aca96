#pragma once
// Hourly rainfall CSV files (`station,time,precip_mm`, as Nimbra writes them) into each
// station's hours laid out day by day: 24 values per day, the day's first hour at
// DayStart o'clock, NaN for a missing or absent hour. Without a station column the file
// is one station named after the file.

#include <cstdint>
#include <string>
#include <vector>

#include "csv_reader.h"
#include "depth_field.h"

namespace nimbra {

struct HourlyCsvOptions {
  int DayStart = 0;              // 0 to 23: the hour at which each day's 24 hours begin
  bool LabelsAtHourEnd = false;  // a time names the end of its hour, not its start
  std::vector<double> MissingSentinels = kDefaultMissingSentinels;
};

struct StationHours {
  std::string Station;
  std::int64_t FirstDay = 0;  // serial day of Hours[0 .. 23]
  std::vector<double> Hours;  // 24 per day, from the first to the last day with a row
};

// The stations sorted by name. Raises InputError naming the file, the line and the column
// of the first bad field (a time repeated for a station names both lines), and InOutError
// when the file cannot be read.
std::vector<StationHours> ReadHourlyCsv(const std::string& path, const HourlyCsvOptions& options);
std::vector<StationHours> ReadHourlyCsv(CsvReader& reader, const HourlyCsvOptions& options);

}  // namespace nimbra
