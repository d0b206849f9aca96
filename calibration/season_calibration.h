#pragma once
// One season calibrated for disaggregation: a coarse first stage tries a few repetition
// settings on the fitted set, then NLopt's subplex (derivative-free, robust to the noise
// of a simulated objective) turns all four knobs in log scale from the best of them.
// Candidates are scored with the same seeds, so the same case gives the same result.

#include <functional>

#include "calibration_case.h"

namespace nimbra {

struct CalibrationSettings {
  int Evaluations = 40;  // of the subplex stage; the first stage adds up to three
};

struct CalibrationResult {
  Knobs Start, Best;
  ModelParameters Parameters;  // the fitted set with the best knobs
  HourlyValues Observed{}, Before{}, After{};
  double ObjectiveBefore = 0, ObjectiveAfter = 0;
  int Evaluations = 0;
};

// Called after each evaluation with its number, knobs and score.
using CalibrationProgress = std::function<void(int, const Knobs&, double)>;

CalibrationResult CalibrateSeason(const CalibrationCase& problem, const ModelParameters& fitted,
                                  const Knobs& start, const CalibrationSettings& settings,
                                  const CalibrationProgress& progress = {});

}  // namespace nimbra
