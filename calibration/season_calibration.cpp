#include "season_calibration.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <nlopt.hpp>
#include <utility>

#include "run_cost.h"

namespace nimbra {

namespace {

struct KnobBounds {
  double Low, High;
};
// Cell duration, intensity spread, storm frequency, rep factor, rep min (these two as the
// engine's option ranges), storm duration.
constexpr std::size_t kKnobCount = 6;
constexpr std::array<KnobBounds, kKnobCount> kBounds = {
    {{0.25, 4}, {0.2, 3}, {0.25, 8}, {1, 200}, {1, 1000}, {0.25, 4}}};
constexpr std::array<double, kKnobCount> kFirstSteps = {0.4, 0.4, 0.7, 1.0, 1.0, 0.4};  // in log scale

std::vector<double> ToCoordinates(const Knobs& k) {
  return {std::log(k.CellDuration), std::log(k.IntensitySpread), std::log(k.StormFrequency),
          std::log(k.RepFactor),    std::log(k.RepMin),          std::log(k.StormDuration)};
}

Knobs FromCoordinates(const double* x) {
  const auto count = [](double v) { return static_cast<int>(std::lround(std::exp(v))); };
  return {std::exp(x[0]), std::exp(x[1]), std::exp(x[2]), count(x[3]), count(x[4]), std::exp(x[5])};
}

struct Scored {
  Knobs Candidate;
  double Score = 0;
  HourlyValues Values{};
  double Work = 0;
  int Seeds = 0;  // the seeds it was disaggregated with
};

// A candidate under which a wet sequence fails ranks last: its user would miss hours. So
// does one that takes too long to run, and one refused before it was run.
Scored Failing(const Knobs& knobs, double work, int seeds) {
  Scored failing{knobs, std::numeric_limits<double>::infinity(), {}, work, seeds};
  failing.Values.fill(std::numeric_limits<double>::quiet_NaN());
  return failing;
}

// A candidate may take at most this many times the start's work: a calibrated set must
// stay quick to run, and the slow candidates are where a search's time would go.
constexpr double kWorkAllowed = 2;
// After half the seeds, a candidate this many times worse than the best is not finished.
constexpr double kRacedOut = 2;

// Knobs far from the fitted set are taken only for a clear gain: what a calibration tunes
// on its own years should carry over to others. A factor of two on one knob costs as much
// as a 7 % error in one statistic.
constexpr double kPull = 0.01;

double Pull(const Knobs& k) {
  double sum = 0;
  for (const double factor : {k.CellDuration, k.IntensitySpread, k.StormFrequency, k.StormDuration}) {
    sum += std::log(factor) * std::log(factor);
  }
  return kPull * sum;
}

class Scorer {
 public:
  Scorer(const CalibrationCase& problem, const ModelParameters& fitted, CalibrationProgress progress)
      : problem_(problem), fitted_(fitted), progress_(std::move(progress)) {}

  // Rounded repetitions make neighbouring points the same candidate, and minimums up to
  // twice the factor the same repetitions: each candidate is run once. The first one
  // scored sets the work every other may take.
  Scored Evaluate(const Knobs& asked) {
    const Knobs knobs = Canonical(asked);
    if (const auto found = index_.find(knobs); found != index_.end()) return scored_[found->second];
    const Scored scored = Race(knobs);
    if (scored_.empty() && std::isfinite(scored.Score)) workAllowed_ = kWorkAllowed * scored.Work;
    index_.emplace(knobs, scored_.size());
    scored_.push_back(scored);
    if (progress_) progress_({Evaluations(), knobs, scored.Score, scored.Seeds});
    return scored;
  }
  double Score(const Knobs& knobs) { return Evaluate(knobs).Score; }

  // The candidates scored so far, best first; ties keep the order they were tried in.
  std::vector<Scored> Ranked() const {
    std::vector<Scored> ranked = scored_;
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Scored& a, const Scored& b) { return a.Score < b.Score; });
    return ranked;
  }
  Scored Best() const { return Ranked().front(); }
  int Evaluations() const { return static_cast<int>(scored_.size()); }

 private:
  // The first half of the seeds, then the rest unless the candidate already fails, works
  // too long or cannot come near the best; the halves are the same on any thread count.
  // A set whose searches overflow their storm sets is not run at all.
  Scored Race(const Knobs& knobs) {
    const ModelParameters parameters = ApplyKnobs(fitted_, knobs);
    if (BeyondStormCapacity(parameters)) return Failing(knobs, 0, 0);
    const RunOptions options = ApplyKnobs(problem_.Options, knobs);
    const int half = FirstHalf(problem_.Seeds);
    PartialRun run = RunSeeds(problem_, parameters, options, 0, half);
    const double share = static_cast<double>(problem_.Seeds) / half;
    if (run.Failed || run.Work * share > workAllowed_) return Failing(knobs, run.Work * share, half);
    if (half < problem_.Seeds) {
      const double partial = Objective(run.Sums.Values(), problem_.Observed, problem_.Weights) + Pull(knobs);
      if (!scored_.empty() && partial > kRacedOut * Best().Score) {
        return {knobs, partial, run.Sums.Values(), run.Work * share, half};
      }
      const PartialRun rest = RunSeeds(problem_, parameters, options, half, problem_.Seeds - half);
      if (rest.Failed) return Failing(knobs, run.Work + rest.Work, problem_.Seeds);
      run.Sums.Add(rest.Sums);
      run.Work += rest.Work;
    }
    const HourlyValues values = run.Sums.Values();
    return {knobs, Objective(values, problem_.Observed, problem_.Weights) + Pull(knobs), values, run.Work,
            problem_.Seeds};
  }

  const CalibrationCase& problem_;
  const ModelParameters& fitted_;
  CalibrationProgress progress_;
  double workAllowed_ = std::numeric_limits<double>::infinity();
  std::map<Knobs, std::size_t> index_;
  std::vector<Scored> scored_;
};

// Fewer intensity-only tries moves the variance most and more storms the dry hours; a few
// settings find the region.
Knobs FirstStage(Scorer& scorer, const Knobs& start) {
  scorer.Score(start);
  for (const auto& [factor, minimum] : {std::pair{5, 10}, std::pair{1, 1}}) {
    Knobs candidate = start;
    candidate.RepFactor = factor;
    candidate.RepMin = minimum;
    scorer.Score(candidate);
  }
  const Knobs repetitions = scorer.Best().Candidate;
  for (const double storms : {2.0, 4.0}) {
    Knobs candidate = repetitions;
    candidate.StormFrequency = storms;
    scorer.Score(candidate);
  }
  return scorer.Best().Candidate;
}

void Subplex(Scorer& scorer, const Knobs& from, int evaluations) {
  nlopt::opt optimiser(nlopt::LN_SBPLX, kKnobCount);
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
        return static_cast<Scorer*>(data)->Score(FromCoordinates(x));
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

CalibrationCase WithConfirmingSeeds(CalibrationCase problem) {
  problem.Seeds *= 2;
  return problem;
}

}  // namespace

// The best of the search is partly the luckiest on its seeds: the start and the leading
// candidates are scored again on twice the seeds (the first half the same), and the best
// of them there is taken, so the result is never worse than the start on those seeds.
CalibrationResult CalibrateSeason(const CalibrationCase& problem, const ModelParameters& fitted,
                                  const Knobs& start, const CalibrationSettings& settings,
                                  const CalibrationProgress& progress) {
  Scorer search(problem, fitted, progress);
  Subplex(search, FirstStage(search, start), settings.Evaluations);
  const CalibrationCase confirming = WithConfirmingSeeds(problem);
  int evaluations = search.Evaluations();
  const auto numbered = [&](const CalibrationEvaluation& e) {
    ++evaluations;
    if (progress) progress({evaluations, e.Candidate, e.Score, e.Seeds});
  };
  Scorer confirmation(confirming, fitted, numbered);
  const Scored before = confirmation.Evaluate(start);
  int leaders = 0;
  for (const Scored& leader : search.Ranked()) {
    if (leaders == settings.Confirmed) break;
    if (leader.Candidate == before.Candidate) continue;
    confirmation.Score(leader.Candidate);
    ++leaders;
  }
  const Scored best = confirmation.Best();
  CalibrationResult result;
  result.Start = start;
  result.Best = best.Candidate;
  result.Parameters = ApplyKnobs(fitted, best.Candidate);
  result.Observed = problem.Observed;
  result.ObjectiveBefore = before.Score;
  result.Before = before.Values;
  result.After = best.Values;
  result.ObjectiveAfter = best.Score;
  result.WorkBefore = before.Work;
  result.WorkAfter = best.Work;
  result.Evaluations = evaluations;
  return result;
}

}  // namespace nimbra
