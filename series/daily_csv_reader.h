#pragma once
// Daily rainfall CSV files into one series per station. Long layout: one row per station
// and day (`station,date,precip_mm`, column names chosen by the options; without a station
// column the file is one station named after the file). Wide layout: `date,<station>,...`.
// Rows may come in any order; a day absent between a station's first and last date is
// missing.

#include <string>
#include <vector>

#include "csv_reader.h"
#include "depth_field.h"
#include "station_run.h"

namespace nimbra {

struct DailyCsvOptions {
  std::string StationColumn = "station";
  std::string DateColumn = "date";
  std::string ValueColumn = "precip_mm";
  bool StationColumnRequired = false;  // true when the user named the station column
  bool Wide = false;
  std::vector<double> MissingSentinels = kDefaultMissingSentinels;
};

struct NamedSeries {
  std::string Station;
  StationSeries Series;
};

// The stations sorted by name. Raises InputError naming the file, the line and the column
// of the first bad field, and InOutError when the file cannot be read.
std::vector<NamedSeries> ReadDailyCsv(const std::string& path, const DailyCsvOptions& options);
std::vector<NamedSeries> ReadDailyCsv(CsvReader& reader, const DailyCsvOptions& options);

// Station name of a file without a station column: the file's name without its extension.
std::string StationOfFile(const std::string& path);

}  // namespace nimbra
