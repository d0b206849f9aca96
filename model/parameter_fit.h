#pragma once
// Method-of-moments fit of the model to observed statistics: minimises
// sum w (model / observed - 1)^2 over the free coordinates in log scale, with a bounded
// global search (controlled random search) followed by a BOBYQA polish, restarted from
// consecutive seeds; the best result wins. The same targets and seed give the same
// parameters to the last digit.

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
  int Restarts = 3;
  int GlobalEvaluations = 3000;
  int LocalEvaluations = 2000;
  // Set by a caller that wants the fit to end: the search checks it at every evaluation of
  // the objective and raises Stopped.
  const std::atomic<bool>* Stop = nullptr;
};

struct FittedTarget {
  ObservedTarget Target;
  double Fitted = 0;
  double RelativeError = 0;
};

struct FitResult {
  ModelParameters Parameters;
  std::vector<double> Values;  // one per coordinate of the space
  std::vector<bool> OnBound;   // a free coordinate within 1e-6 (relative) of a bound
  double Objective = 0;
  std::vector<FittedTarget> Targets;
};

FitResult FitParameters(const FitSpace& space, const std::vector<ObservedTarget>& targets,
                        const FitSettings& settings);

}  // namespace nimbra
