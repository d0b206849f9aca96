#include "parameter_fit.h"

#include <algorithm>
#include <cmath>
#include <nlopt.hpp>

#include "errors.h"
#include "model_statistics.h"

namespace nimbra {

namespace {

// A value for objective points where the model has no finite statistics.
constexpr double kUnusable = 1e30;

class Objective {
 public:
  Objective(const FitSpace& space, const std::vector<ObservedTarget>& targets, const std::atomic<bool>* stop)
      : space_(space), targets_(targets), free_(space.Free()), stop_(stop) {}

  std::vector<double> Values(const std::vector<double>& logFree) const {
    std::vector<double> values;
    for (const Coordinate& c : space_.Coordinates()) values.push_back(c.Fixed.value_or(c.Low));
    for (std::size_t i = 0; i < free_.size(); ++i) values[free_[i]] = std::exp(logFree[i]);
    return values;
  }

  double operator()(const std::vector<double>& logFree) const {
    try {
      const ModelStatistics model(space_.Parameters(Values(logFree)));
      double sum = 0;
      for (const ObservedTarget& t : targets_) {
        const double error = ModelValue(model, t.Target) / t.Observed - 1;
        sum += t.Weight * error * error;
      }
      return std::isfinite(sum) ? sum : kUnusable;
    } catch (const NimbraError&) {
      return kUnusable;
    }
  }

  // NLopt ends a search cleanly only on its own exception; Run turns it into Stopped.
  static double Call(const std::vector<double>& x, std::vector<double>&, void* self) {
    const auto& objective = *static_cast<const Objective*>(self);
    if (objective.stop_ && objective.stop_->load(std::memory_order_relaxed)) throw nlopt::forced_stop();
    return objective(x);
  }

  const std::vector<std::size_t>& Free() const { return free_; }

 private:
  const FitSpace& space_;
  const std::vector<ObservedTarget>& targets_;
  std::vector<std::size_t> free_;
  const std::atomic<bool>* stop_;
};

void SetBounds(nlopt::opt& opt, const FitSpace& space, const std::vector<std::size_t>& free) {
  std::vector<double> low, high;
  for (const std::size_t i : free) {
    low.push_back(std::log(space.Coordinates()[i].Low));
    high.push_back(std::log(space.Coordinates()[i].High));
  }
  opt.set_lower_bounds(low);
  opt.set_upper_bounds(high);
}

// Runs one optimiser from x; returns the value reached (NLopt's stopping by count or
// tolerance is a normal end). Raises Stopped when the caller's flag ended the search.
double Run(nlopt::algorithm algorithm, Objective& objective, const FitSpace& space, int evaluations,
           std::vector<double>& x) {
  nlopt::opt opt(algorithm, static_cast<unsigned>(x.size()));
  SetBounds(opt, space, objective.Free());
  opt.set_min_objective(&Objective::Call, &objective);
  opt.set_maxeval(evaluations);
  opt.set_xtol_rel(1e-10);
  opt.set_ftol_abs(1e-16);
  double value = kUnusable;
  try {
    opt.optimize(x, value);
  } catch (const nlopt::roundoff_limited&) {
    value = objective(x);
  } catch (const nlopt::forced_stop&) {
    throw Stopped();
  }
  return value;
}

std::vector<double> Centre(const FitSpace& space, const std::vector<std::size_t>& free) {
  std::vector<double> x;
  for (const std::size_t i : free) {
    x.push_back((std::log(space.Coordinates()[i].Low) + std::log(space.Coordinates()[i].High)) / 2);
  }
  return x;
}

FitResult Describe(const FitSpace& space, const Objective& objective,
                   const std::vector<ObservedTarget>& targets, const std::vector<double>& x, double value) {
  FitResult result;
  result.Values = objective.Values(x);
  result.Parameters = space.Parameters(result.Values);
  result.Objective = value;
  for (std::size_t i = 0; i < result.Values.size(); ++i) {
    const Coordinate& c = space.Coordinates()[i];
    const bool free =
        std::find(objective.Free().begin(), objective.Free().end(), i) != objective.Free().end();
    const double v = result.Values[i];
    result.OnBound.push_back(free && (std::fabs(v / c.Low - 1) < 1e-6 || std::fabs(v / c.High - 1) < 1e-6));
  }
  const ModelStatistics model(result.Parameters);
  for (const ObservedTarget& t : targets) {
    const double fitted = ModelValue(model, t.Target);
    result.Targets.push_back({t, fitted, fitted / t.Observed - 1});
  }
  return result;
}

}  // namespace

FitResult FitParameters(const FitSpace& space, const std::vector<ObservedTarget>& targets,
                        const FitSettings& settings) {
  Objective objective(space, targets, settings.Stop);
  if (objective.Free().empty()) throw InvalidArgument("Every parameter is fixed: nothing is left to fit");
  std::vector<double> best;
  double bestValue = kUnusable * 2;
  for (int restart = 0; restart < settings.Restarts; ++restart) {
    nlopt::srand(settings.Seed + static_cast<unsigned>(restart));
    std::vector<double> x = Centre(space, objective.Free());
    Run(nlopt::GN_CRS2_LM, objective, space, settings.GlobalEvaluations, x);
    const double value = Run(nlopt::LN_BOBYQA, objective, space, settings.LocalEvaluations, x);
    if (value < bestValue) {
      bestValue = value;
      best = x;
    }
  }
  return Describe(space, objective, targets, best, bestValue);
}

}  // namespace nimbra
