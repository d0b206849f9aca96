#pragma once
// The parameters CSV file: `season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x` in days and
// millimetres. A season is a month number 1 to 12, `all`, or a name whose months stand in
// a `months` column ("12 1 2"). An optional `station` column gives a station its own sets;
// rows with an empty station serve every station for the months its own rows leave open.
// Optional columns: `calibrated` (yes or no: the set was calibrated for disaggregation by
// nimbra-cli calibrate, so it no longer fits the continuous statistics) and `rep_factor`,
// `rep_min`, the level-1 repetition settings a run uses with the set unless told otherwise.

#include <optional>
#include <string>
#include <vector>

#include "csv_reader.h"
#include "season.h"
#include "station_run.h"

namespace nimbra {

struct SeasonParameters {
  std::string Station;  // empty: every station
  nimbra::Season Season;
  ModelParameters Parameters;
  bool Calibrated = false;
  std::optional<int> RepFactor;  // 1 to 200
  std::optional<int> RepMin;     // 1 to 1000
  int Line = 0;
};

class ParameterTable {
 public:
  // Raises InputError naming the file, the line and the column of the first bad field
  // (a set the storm generator cannot draw with, as the engine refuses it, included),
  // and the two lines of a month given two sets for the same station.
  static ParameterTable Read(const std::string& path);
  static ParameterTable Read(CsvReader& reader);

  const std::string& Path() const { return path_; }
  const std::vector<SeasonParameters>& Rows() const { return rows_; }
  // The rows that serve the station, its own first, each month served by exactly one.
  std::vector<SeasonParameters> RowsFor(const std::string& station) const;
  // The set of each month. Raises InputError naming the station and the months among
  // monthsUsed that no row covers.
  ParametersByMonth For(const std::string& station, MonthSet monthsUsed) const;
  // Raises InputError naming the line of the first row for a station that is not among
  // stations (sorted), which dataPath holds.
  void RefuseUnknownStations(const std::vector<std::string>& stations, const std::string& dataPath) const;
  // "<file>, line <n>: <why>" for each set that makes the search slow or its steps fail,
  // in the words of the classic mode's warnings.
  std::vector<std::string> Warnings() const;

 private:
  void Add(const CsvReader& reader, SeasonParameters row);

  std::string path_;
  std::vector<SeasonParameters> rows_;
};

// The months in which the series has a day with a value.
MonthSet MonthsWithValues(const StationSeries& series);

}  // namespace nimbra
