#pragma once
// Method-of-moments fit of the model to observed statistics: minimises
// sum w (model / observed - 1)^2 over the free coordinates in log scale. A Latin
// hypercube of the bounds is screened, its best points start BOBYQA searches, and the
// best end wins; the spread of the ends tells how reliably the starts find it. The same
// targets and seed give the same parameters to the last digit.

#include <atomic>
#include <vector>

#include "fit_space.h"
#include "model_parameters.h"
#include "statistic_target.h"

namespace nimbra {

struct ObservedTarget {
  StatisticTarget Target;
  double Observed = 0;
  double Weight = 1;
};

struct FitSettings {
  unsigned Seed = 1;
  // About 1.2 s of processor time per season for the default targets; on Berlin-Tempelhof
  // seven starts or more of every season's 24 reached its best.
  int Starts = 24;
  int ScreenedPerStart = 8;     // points of the hypercube per start
  int LocalEvaluations = 1600;  // per start
  int Threads = 1;              // local searches at once; the result never depends on it
  // Set by a caller that wants the fit to end: the search checks it at every evaluation of
  // the objective and raises Stopped.
  const std::atomic<bool>* Stop = nullptr;
};

struct FittedTarget {
  ObservedTarget Target;
  double Fitted = 0;
  double RelativeError = 0;
};

// The objective each start ended at: best, median, worst, and how many ended within 2 %
// of the best.
struct FitSpread {
  int Starts = 0;
  double Best = 0, Median = 0, Worst = 0;
  int WithinTwoPercent = 0;
};

struct FitResult {
  ModelParameters Parameters;
  std::vector<double> Values;  // one per coordinate of the space
  std::vector<bool> OnBound;   // a free coordinate within 1e-6 (relative) of a bound
  double Objective = 0;
  std::vector<FittedTarget> Targets;
  FitSpread Spread;
};

// Throws InvalidArgument when nothing is free or a setting is below 1, and Stopped.
FitResult FitParameters(const FitSpace& space, const std::vector<ObservedTarget>& targets,
                        const FitSettings& settings);

}  // namespace nimbra
