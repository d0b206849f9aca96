#pragma once
// One season calibrated for disaggregation: a coarse first stage tries a few repetition
// settings and storm frequencies on the fitted set, then a trust-region search on linear
// models of the statistics (fitted to every candidate so far) turns the knobs in log scale
// from the best of them, and the leading candidates are confirmed on twice the seeds,
// fresh ones.
// Candidates are scored with the same seeds, so the same case gives the same result. A
// candidate is scored on half the seeds first and left there when it cannot come near the
// best; one that would run longer than the case's slowdown allows is never taken, and one
// whose wet/dry searches would overflow their storm sets is refused before it is run.

#include <functional>

#include "calibration_case.h"

namespace nimbra {

// The first stage's candidates at most; fewer when two of them are the same candidate.
inline constexpr int kFirstStageCandidates = 6;

struct CalibrationSettings {
  int Evaluations = 14;  // of the model search, after the first stage
  int Confirmed = 2;     // leading candidates scored again on twice the seeds, fresh ones
};

struct CalibrationResult {
  Knobs Start, Best;
  ModelParameters Parameters;                  // the fitted set with the best knobs
  HourlyValues Observed{}, Before{}, After{};  // before and after on the confirming seeds
  HourlyValues Weights{};                      // of each statistic in the objective
  double ObjectiveBefore = 0, ObjectiveAfter = 0;
  double WorkBefore = 0, WorkAfter = 0;  // see Disaggregation::Work
  int Evaluations = 0;
  // No candidate of the first stage ran every wet sequence of the period (for example storms
  // of more cells than a storm holds, which no knob changes): there is nothing to search from.
  bool Failed = false;
};

struct CalibrationEvaluation {
  int Number = 0;
  Knobs Candidate;
  double Score = 0;
  int Seeds = 0;  // it was disaggregated with: half when raced out, none when refused unrun
};
using CalibrationProgress = std::function<void(const CalibrationEvaluation&)>;

CalibrationResult CalibrateSeason(const CalibrationCase& problem, const ModelParameters& fitted,
                                  const Knobs& start, const CalibrationSettings& settings,
                                  const CalibrationProgress& progress = {});

}  // namespace nimbra
