#pragma once
// A calibration as one call: the parameters file's seasons calibrated for disaggregation
// on a period with daily depths and observed hours, written as the calibrated parameters
// file (and the report when asked). Progress comes with every candidate; cancel takes
// effect after the candidate being scored and leaves no file.

#include <functional>
#include <string>
#include <vector>

#include "calibration_output.h"
#include "job_control.h"

namespace nimbra {

// The settings of `nimbra-cli calibrate`.
struct CalibrationRequest {
  std::string Daily, Observed, Parameters, Output, Report;
  std::vector<std::string> Seasons;  // empty: every season of the parameters file
  int Seeds = CalibrationCase{}.Seeds, Seed = 1, Evaluations = CalibrationSettings{}.Evaluations;
  int Threads = 1;
  RunOptions Run;  // distance, allowed repetitions, adjustment
  double SlowdownAllowed = CalibrationCase{}.SlowdownAllowed;
};

// A candidate scored, in the season being calibrated.
struct CalibrationStep {
  const SeasonParameters* Row = nullptr;
  CalibrationEvaluation Evaluation;
  double BestScore = 0;  // of the season so far
};
using CalibrationSteps = std::function<void(const CalibrationStep&)>;

// The candidates one season may score: the first stage, the search and the confirmation.
int CandidatesPerSeason(const CalibrationRequest& request);

// The parameters file's warnings (sets whose search is slow) go to the control's Tell.
// Raises InputError, InvalidArgument or InOutError naming the file, and Stopped.
std::vector<RowCalibration> RunCalibrationJob(const CalibrationRequest& request, const JobControl& control,
                                              const CalibrationSteps& steps = {});

}  // namespace nimbra
