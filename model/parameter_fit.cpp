#include "parameter_fit.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <nlopt.hpp>
#include <numeric>

#include "errors.h"
#include "indexed_work.h"
#include "model_statistics.h"
#include "start_points.h"

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

  bool StopRaised() const { return stop_ && stop_->load(std::memory_order_relaxed); }

  // NLopt ends a search cleanly only on its own exception; Polish turns it into Stopped.
  static double Call(const std::vector<double>& x, std::vector<double>&, void* self) {
    const auto& objective = *static_cast<const Objective*>(self);
    if (objective.StopRaised()) throw nlopt::forced_stop();
    return objective(x);
  }

  const std::vector<std::size_t>& Free() const { return free_; }

 private:
  const FitSpace& space_;
  const std::vector<ObservedTarget>& targets_;
  std::vector<std::size_t> free_;
  const std::atomic<bool>* stop_;
};

// The free coordinates' bounds in log scale, where the search runs.
Box LogBox(const FitSpace& space, const std::vector<std::size_t>& free) {
  Box box;
  for (const std::size_t i : free) {
    box.Low.push_back(std::log(space.Coordinates()[i].Low));
    box.High.push_back(std::log(space.Coordinates()[i].High));
  }
  return box;
}

// BOBYQA from x, within the box; returns the value reached (NLopt's stopping by count or
// tolerance is a normal end). Raises Stopped when the caller's flag ended the search.
double Polish(Objective& objective, const Box& box, int evaluations, std::vector<double>& x) {
  nlopt::opt opt(nlopt::LN_BOBYQA, static_cast<unsigned>(x.size()));
  opt.set_lower_bounds(box.Low);
  opt.set_upper_bounds(box.High);
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

// The points of a Latin hypercube with the lowest objective, as many as there are starts;
// ties keep the earlier point, so that the choice depends on the seed alone.
std::vector<std::vector<double>> ScreenedStarts(const Objective& objective, const Box& box,
                                                const FitSettings& settings) {
  std::vector<std::vector<double>> points =
      LatinHypercube(box, settings.Starts * settings.ScreenedPerStart, settings.Seed);
  std::vector<double> values;
  for (const auto& point : points) {
    if (objective.StopRaised()) throw Stopped();
    values.push_back(objective(point));
  }
  std::vector<std::size_t> order(points.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return values[a] < values[b]; });
  std::vector<std::vector<double>> starts;
  for (int i = 0; i < settings.Starts; ++i) starts.push_back(points[order[static_cast<std::size_t>(i)]]);
  return starts;
}

// Each start polished on one of the threads; its end is kept at the start's index, so that
// the ends do not depend on the number of threads.
std::vector<double> PolishAll(Objective& objective, const Box& box, const FitSettings& settings,
                              std::vector<std::vector<double>>& starts) {
  std::vector<double> reached(starts.size());
  RunEachIndex(starts.size(), settings.Threads, [&](std::size_t i) {
    reached[i] = Polish(objective, box, settings.LocalEvaluations, starts[i]);
  });
  return reached;
}

FitSpread SpreadOf(std::vector<double> reached) {
  std::sort(reached.begin(), reached.end());
  FitSpread spread;
  spread.Starts = static_cast<int>(reached.size());
  spread.Best = reached.front();
  spread.Median = reached[reached.size() / 2];
  spread.Worst = reached.back();
  spread.WithinTwoPercent = static_cast<int>(
      std::count_if(reached.begin(), reached.end(), [&](double v) { return v <= spread.Best * 1.02; }));
  return spread;
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
  if (settings.Starts < 1 || settings.ScreenedPerStart < 1 || settings.LocalEvaluations < 1) {
    throw InvalidArgument("A fit needs at least one start, one screened point per start and one evaluation");
  }
  Objective objective(space, targets, settings.Stop);
  if (objective.Free().empty()) throw InvalidArgument("Every parameter is fixed: nothing is left to fit");
  const Box box = LogBox(space, objective.Free());
  std::vector<std::vector<double>> starts = ScreenedStarts(objective, box, settings);
  const std::vector<double> reached = PolishAll(objective, box, settings, starts);
  const auto best =
      static_cast<std::size_t>(std::min_element(reached.begin(), reached.end()) - reached.begin());
  FitResult result = Describe(space, objective, targets, starts[best], reached[best]);
  result.Spread = SpreadOf(reached);
  return result;
}

}  // namespace nimbra
