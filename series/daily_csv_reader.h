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
#include "station_values.h"

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

// Where the values of a daily file go as its rows are read.
class DailyValueSink {
 public:
  virtual ~DailyValueSink() = default;
  // Each station of a wide file's header, before any row.
  virtual void Station(std::string_view name) = 0;
  // One value, NaN for a missing day; false ends the reading.
  virtual bool Value(std::string_view station, const KeyedValue& value) = 0;
};

// Reads and checks the rows from where the reader stands, with the errors ReadDailyCsv raises
// for a bad field, handing each value on in the file's order.
void ReadDailyValues(CsvReader& reader, const DailyCsvOptions& options, DailyValueSink& sink);

// Station name of a file without a station column: the file's name without its extension.
std::string StationOfFile(const std::string& path);

}  // namespace nimbra
