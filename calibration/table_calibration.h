#pragma once
// The seasons of a parameters table calibrated on one period with daily depths and observed
// hours: each chosen season's stations and days are gathered and calibrated in turn. The one
// call that nimbra-cli calibrate, the Python package and the desktop program run.

#include <functional>
#include <string>
#include <vector>

#include "calibration_output.h"
#include "daily_csv_reader.h"
#include "hourly_csv_reader.h"

namespace nimbra {

struct CalibrationPeriod {
  std::string DailyName, ObservedName;  // as messages name them
  std::vector<NamedSeries> Daily;
  std::vector<StationHours> Observed;
};

struct TableCalibrationSettings {
  std::vector<std::string> Seasons;  // empty: every season of the table
  int Seeds = CalibrationCase{}.Seeds;
  int Seed = 1;
  int Evaluations = CalibrationSettings{}.Evaluations;
  int Threads = 1;
  RunOptions Run;  // distance, adjustment, repetitions allowed, stop; the rest comes from the knobs
  double SlowdownAllowed = CalibrationCase{}.SlowdownAllowed;
};

using TableCalibrationProgress = std::function<void(const std::string& season, const CalibrationEvaluation&)>;

// One entry per row of the table, in its order; rows not chosen, and unnamed seasons without
// days in the period, are left as they were. Raises InvalidArgument for a season name the
// table lacks, InputError when a named season, or every season, has no days, and Stopped
// soon after Run.Stop is set.
std::vector<RowCalibration> CalibrateTable(const ParameterTable& table, const CalibrationPeriod& period,
                                           const TableCalibrationSettings& settings,
                                           const TableCalibrationProgress& progress = {});

}  // namespace nimbra
