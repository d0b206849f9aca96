#pragma once
// What nimbra-cli calibrate writes: the parameters file with the calibrated sets (the
// rows it did not calibrate as they were) marked `calibrated` and carrying the repetition
// settings to run them with, and the report of each season's statistics before and after.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "parameter_table.h"
#include "season_calibration.h"

namespace nimbra {

struct RowCalibration {
  SeasonParameters Row;                     // as read
  std::optional<CalibrationResult> Result;  // empty: left as it was
  std::string Warning;                      // why a season chosen was left as it was
};

void WriteCalibratedParameters(const std::vector<RowCalibration>& rows, std::ostream& out);

// Per calibrated season: each statistic with its observed value, the disaggregated value
// before and after, and the continuous model's value before and after where a closed
// form exists; then the knobs and the objective before and after.
void WriteCalibrationReport(const std::vector<RowCalibration>& rows, std::ostream& out);

}  // namespace nimbra
