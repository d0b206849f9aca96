#include "season_calibration.h"

#include <cmath>
#include <map>
#include <nlopt.hpp>
#include <tuple>

namespace nimbra {

namespace {

struct KnobBounds {
  double Low, High;
};
// Cell duration, intensity spread, rep factor, rep min: the last two as the engine's option ranges.
constexpr std::array<KnobBounds, 4> kBounds = {{{0.25, 4}, {0.2, 3}, {1, 200}, {1, 1000}}};
constexpr std::array<double, 4> kFirstSteps = {0.4, 0.4, 1.0, 1.0};  // in log scale

std::vector<double> ToCoordinates(const Knobs& k) {
  return {std::log(k.CellDuration), std::log(k.IntensitySpread), std::log(k.RepFactor), std::log(k.RepMin)};
}

Knobs FromCoordinates(const std::vector<double>& x) {
  const auto count = [](double v) { return static_cast<int>(std::lround(std::exp(v))); };
  return {std::exp(x[0]), std::exp(x[1]), count(x[2]), count(x[3])};
}

class Scorer {
 public:
  Scorer(const CalibrationCase& problem, const ModelParameters& fitted, const CalibrationProgress& progress)
      : problem_(problem), fitted_(fitted), progress_(progress) {}

  // Rounded repetitions make neighbouring points the same candidate: each is run once.
  double Score(const Knobs& knobs) {
    const auto key =
        std::make_tuple(knobs.CellDuration, knobs.IntensitySpread, knobs.RepFactor, knobs.RepMin);
    if (const auto found = scores_.find(key); found != scores_.end()) return found->second.first;
    const HourlyValues values =
        Disaggregated(problem_, ApplyKnobs(fitted_, knobs), ApplyKnobs(problem_.Options, knobs));
    const double score = Objective(values, problem_.Observed, problem_.Weights);
    scores_.emplace(key, std::make_pair(score, values));
    ++evaluations_;
    if (progress_) progress_(evaluations_, knobs, score);
    if (evaluations_ == 1 || score < bestScore_) {
      bestScore_ = score;
      best_ = knobs;
      bestValues_ = values;
    }
    return score;
  }

  const Knobs& Best() const { return best_; }
  const HourlyValues& BestValues() const { return bestValues_; }
  double BestScore() const { return bestScore_; }
  int Evaluations() const { return evaluations_; }

 private:
  const CalibrationCase& problem_;
  const ModelParameters& fitted_;
  const CalibrationProgress& progress_;
  std::map<std::tuple<double, double, int, int>, std::pair<double, HourlyValues>> scores_;
  Knobs best_;
  HourlyValues bestValues_{};
  double bestScore_ = 0;
  int evaluations_ = 0;
};

// Fewer intensity-only tries is what moves the variance most; a few settings find the region.
Knobs FirstStage(Scorer& scorer, const Knobs& start) {
  scorer.Score(start);
  for (const auto& [factor, minimum] : {std::pair{5, 10}, std::pair{1, 1}}) {
    Knobs candidate = start;
    candidate.RepFactor = factor;
    candidate.RepMin = minimum;
    scorer.Score(candidate);
  }
  return scorer.Best();
}

void Subplex(Scorer& scorer, const Knobs& from, int evaluations) {
  nlopt::opt optimiser(nlopt::LN_SBPLX, 4);
  std::vector<double> low, high;
  for (const KnobBounds& b : kBounds) {
    low.push_back(std::log(b.Low));
    high.push_back(std::log(b.High));
  }
  optimiser.set_lower_bounds(low);
  optimiser.set_upper_bounds(high);
  optimiser.set_initial_step(std::vector<double>(kFirstSteps.begin(), kFirstSteps.end()));
  optimiser.set_maxeval(evaluations);
  optimiser.set_min_objective(
      [](unsigned, const double* x, double*, void* data) {
        return static_cast<Scorer*>(data)->Score(FromCoordinates({x[0], x[1], x[2], x[3]}));
      },
      &scorer);
  std::vector<double> x = ToCoordinates(from);
  double score = 0;
  try {
    optimiser.optimize(x, score);
  } catch (const nlopt::roundoff_limited&) {
    // The best point so far stands: the scorer keeps it.
  }
}

}  // namespace

CalibrationResult CalibrateSeason(const CalibrationCase& problem, const ModelParameters& fitted,
                                  const Knobs& start, const CalibrationSettings& settings,
                                  const CalibrationProgress& progress) {
  Scorer scorer(problem, fitted, progress);
  CalibrationResult result;
  result.Start = start;
  result.Observed = problem.Observed;
  result.ObjectiveBefore = scorer.Score(start);
  result.Before = scorer.BestValues();
  Subplex(scorer, FirstStage(scorer, start), settings.Evaluations);
  result.Best = scorer.Best();
  result.Parameters = ApplyKnobs(fitted, result.Best);
  result.After = scorer.BestValues();
  result.ObjectiveAfter = scorer.BestScore();
  result.Evaluations = scorer.Evaluations();
  return result;
}

}  // namespace nimbra
