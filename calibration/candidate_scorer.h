#pragma once
// A season's candidates scored for its calibration: each disaggregated once with the case's
// seeds (the first half, then the rest unless it cannot come near the best), ranked by the
// objective and the pull toward the fitted set, and the knobs in the log scale the searches
// turn them in.

#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <utility>
#include <vector>

#include "run_cost.h"
#include "season_calibration.h"

namespace nimbra {

struct KnobBounds {
  double Low, High;
};
// Cell duration, intensity spread, storm frequency, rep factor, rep min (these two as the
// engine's option ranges), storm duration.
inline constexpr std::size_t kKnobCount = 6;
inline constexpr std::array<KnobBounds, kKnobCount> kBounds = {
    {{0.25, 4}, {0.2, 3}, {0.25, 8}, {1, 200}, {1, 1000}, {0.25, 4}}};

// The knobs in log scale, where the searches work.
inline std::vector<double> ToCoordinates(const Knobs& k) {
  return {std::log(k.CellDuration), std::log(k.IntensitySpread), std::log(k.StormFrequency),
          std::log(k.RepFactor),    std::log(k.RepMin),          std::log(k.StormDuration)};
}

// An intensity spread within this of the mean's is the mean's: it keeps the exponential
// intensities, where a gamma draw would cost more for no change one could see.
inline constexpr double kSpreadKept = 0.01;

inline Knobs FromCoordinates(const double* x) {
  const auto count = [](double v) { return static_cast<int>(std::lround(std::exp(v))); };
  const double spread = std::abs(x[1]) < kSpreadKept ? 1 : std::exp(x[1]);
  return {std::exp(x[0]), spread, std::exp(x[2]), count(x[3]), count(x[4]), std::exp(x[5])};
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
inline Scored Failing(const Knobs& knobs, double work, int seeds) {
  Scored failing{knobs, std::numeric_limits<double>::infinity(), {}, work, seeds};
  failing.Values.fill(std::numeric_limits<double>::quiet_NaN());
  return failing;
}

// After half the seeds, a candidate this many times worse than the best is not finished.
inline constexpr double kRacedOut = 1.5;

// Knobs far from the fitted set are taken only for a clear gain: what a calibration tunes
// on its own years should carry over to others. A factor of two on one knob costs as much
// as a 15 % error in one statistic of weight one. Sets far out in a valley of the objective
// (cells half as long and three times the storms) fitted the Berlin July calibration years
// as well as near ones, and were 30 % off on the years after.
inline constexpr double kPull = 0.05;

inline double Pull(const Knobs& k) {
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
    if (scored_.empty() && std::isfinite(scored.Score)) workAllowed_ = problem_.SlowdownAllowed * scored.Work;
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
  const CalibrationCase& Problem() const { return problem_; }
  double WorkAllowed() const { return workAllowed_; }

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

}  // namespace nimbra
