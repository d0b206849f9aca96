#include "season_calibration.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <nlopt.hpp>
#include <optional>
#include <set>
#include <utility>

#include "linear_response.h"
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

// The knobs in log scale, where the searches work.
std::vector<double> ToCoordinates(const Knobs& k) {
  return {std::log(k.CellDuration), std::log(k.IntensitySpread), std::log(k.StormFrequency),
          std::log(k.RepFactor),    std::log(k.RepMin),          std::log(k.StormDuration)};
}

// An intensity spread within this of the mean's is the mean's: it keeps the exponential
// intensities, where a gamma draw would cost more for no change one could see.
constexpr double kSpreadKept = 0.01;

Knobs FromCoordinates(const double* x) {
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
Scored Failing(const Knobs& knobs, double work, int seeds) {
  Scored failing{knobs, std::numeric_limits<double>::infinity(), {}, work, seeds};
  failing.Values.fill(std::numeric_limits<double>::quiet_NaN());
  return failing;
}

// A candidate may take at most this many times the start's work: a calibrated set must
// stay quick to run, and the slow candidates are where a search's time would go.
constexpr double kWorkAllowed = 2;
// After half the seeds, a candidate this many times worse than the best is not finished.
constexpr double kRacedOut = 1.5;

// Knobs far from the fitted set are taken only for a clear gain: what a calibration tunes
// on its own years should carry over to others. A factor of two on one knob costs as much
// as a 15 % error in one statistic of weight one. Sets far out in a valley of the objective
// (cells half as long and three times the storms) fitted the Berlin July calibration years
// as well as near ones, and were 30 % off on the years after.
constexpr double kPull = 0.05;

double Pull(const Knobs& k) {
  double sum = 0;
  for (const double factor : {k.CellDuration, k.IntensitySpread, k.StormFrequency, k.StormDuration}) {
    sum += std::log(factor) * std::log(factor);
  }
  return kPull * sum;
}

class Scorer {
 public:
  // A scorer keeps the runs of the start and of its keptRuns best candidates. One given an
  // earlier scorer, whose seeds are its own first half, takes that half from the earlier
  // scorer's kept runs instead of running it again.
  Scorer(const CalibrationCase& problem, const ModelParameters& fitted, CalibrationProgress progress,
         int keptRuns = 0, const Scorer* earlier = nullptr)
      : problem_(problem),
        fitted_(fitted),
        progress_(std::move(progress)),
        keptRuns_(keptRuns),
        earlier_(earlier) {}

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
    KeepLeadingRuns();
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
  // The run of a candidate on every seed, when it was kept.
  const PartialRun* RunOf(const Knobs& knobs) const {
    const auto found = runs_.find(knobs);
    return found == runs_.end() ? nullptr : &found->second;
  }

  void KeepLeadingRuns() {
    std::set<Knobs> leading{scored_.front().Candidate};
    const std::vector<Scored> ranked = Ranked();
    for (std::size_t i = 0; i < ranked.size() && i < static_cast<std::size_t>(keptRuns_); ++i) {
      leading.insert(ranked[i].Candidate);
    }
    std::erase_if(runs_, [&](const auto& entry) { return !leading.contains(entry.first); });
  }

  // The first half of the seeds, from the earlier scorer when it ran them all.
  PartialRun FirstHalfRun(const Knobs& knobs, const ModelParameters& parameters, const RunOptions& options,
                          int half) const {
    if (earlier_ && earlier_->Problem().Seeds == half) {
      if (const PartialRun* run = earlier_->RunOf(knobs)) return *run;
    }
    return RunSeeds(problem_, parameters, options, 0, half);
  }

  // The first half of the seeds, then the rest unless the candidate already fails, works
  // too long or cannot come near the best; the halves are the same on any thread count.
  // A set whose searches overflow their storm sets is not run at all.
  Scored Race(const Knobs& knobs) {
    const ModelParameters parameters = ApplyKnobs(fitted_, knobs);
    if (BeyondStormCapacity(parameters)) return Failing(knobs, 0, 0);
    const RunOptions options = ApplyKnobs(problem_.Options, knobs);
    const int half = FirstHalf(problem_.Seeds);
    PartialRun run = FirstHalfRun(knobs, parameters, options, half);
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
    if (keptRuns_ > 0) runs_.emplace(knobs, run);
    return {knobs, Objective(values, problem_.Observed, problem_.Weights) + Pull(knobs), values, run.Work,
            problem_.Seeds};
  }

  const CalibrationCase& problem_;
  const ModelParameters& fitted_;
  CalibrationProgress progress_;
  int keptRuns_;
  const Scorer* earlier_;
  std::map<Knobs, PartialRun> runs_;
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

// The search of the model step: the knobs but the repetition minimum, which the first stage
// set and whose effect no linear model holds.
constexpr std::array<std::size_t, 5> kSearched = {0, 1, 2, 3, 5};
constexpr double kFirstRadius = 0.7;      // of the trust region, in log units per knob
constexpr double kSmallestRadius = 0.02;  // below it, a step hardly changes the candidate
constexpr double kProbe = 0.4;            // a first step along a knob the first stage left
constexpr double kRidge = 0.01;
// The model's estimate of the work weighs heavily against a candidate near what it may take:
// the estimate is rough, and a candidate beyond it is run in vain.
constexpr double kWorkAimed = 0.8;
constexpr double kOverWork = 100;

// A scored candidate as the model takes it: each statistic's log ratio to the observed one.
std::optional<ResponsePoint> StatisticsPoint(const Scored& s, const HourlyValues& observed) {
  ResponsePoint point{ToCoordinates(s.Candidate), {}, static_cast<double>(s.Seeds)};
  for (std::size_t i = 0; i < observed.size(); ++i) {
    const double ratio = s.Values[i] / observed[i];
    if (!(ratio > 0) || !std::isfinite(ratio)) return std::nullopt;
    point.Outputs.push_back(std::log(ratio));
  }
  return point;
}

// The work at exponential intensities: what the knobs move smoothly, as a gamma intensity
// multiplies the work by its cost at once.
std::optional<ResponsePoint> WorkPoint(const Scored& s, const ModelParameters& fitted) {
  if (!(s.Work > 0)) return std::nullopt;
  return ResponsePoint{ToCoordinates(s.Candidate),
                       {std::log(s.Work / IntensityCost(ApplyKnobs(fitted, s.Candidate)))},
                       static_cast<double>(std::max(s.Seeds, 1))};
}

// Nearer candidates weigh more: the model is linear, the objective not.
double Nearness(const std::vector<double>& x, const std::vector<double>& center, double radius) {
  double squares = 0;
  for (std::size_t i = 0; i < x.size(); ++i) squares += (x[i] - center[i]) * (x[i] - center[i]);
  return 1 / (1 + squares / (radius * radius));
}

struct Surrogate {
  LinearResponse Statistics, Work;
  const CalibrationCase& Problem;
  const ModelParameters& Fitted;
  double WorkAllowed;

  double operator()(const std::vector<double>& x) const {
    const Knobs knobs = FromCoordinates(x.data());
    const ModelParameters parameters = ApplyKnobs(Fitted, knobs);
    if (BeyondStormCapacity(parameters)) return std::numeric_limits<double>::max();
    const std::vector<double> logRatios = Statistics.Predict(x);
    double score = Pull(knobs);
    for (std::size_t i = 0; i < logRatios.size(); ++i) {
      const double error = std::exp(logRatios[i]) - 1;
      score += Problem.Weights[i] * error * error;
    }
    const double over = std::log(std::exp(Work.Predict(x).front()) * IntensityCost(parameters) / WorkAllowed);
    if (over > std::log(kWorkAimed))
      score += kOverWork * (over - std::log(kWorkAimed)) * (over - std::log(kWorkAimed));
    return score;
  }
};

// None until a candidate has given statistics and work: there is nothing to model yet.
std::optional<Surrogate> FitSurrogate(const Scorer& scorer, const std::vector<double>& center, double radius,
                                      const ModelParameters& fitted) {
  std::vector<ResponsePoint> statistics, work;
  for (const Scored& s : scorer.Ranked()) {
    const double nearness = Nearness(ToCoordinates(s.Candidate), center, radius);
    if (auto point = StatisticsPoint(s, scorer.Problem().Observed)) {
      point->Weight *= nearness;
      statistics.push_back(*point);
    }
    if (auto point = WorkPoint(s, fitted)) {
      point->Weight *= nearness;
      work.push_back(*point);
    }
  }
  if (statistics.empty() || work.empty()) return std::nullopt;
  return Surrogate{LinearResponse(statistics, kRidge), LinearResponse(work, kRidge), scorer.Problem(), fitted,
                   scorer.WorkAllowed()};
}

// The surrogate's best within the trust region, the repetition minimum held.
std::vector<double> SurrogateBest(const Surrogate& surrogate, const std::vector<double>& center,
                                  double radius) {
  std::vector<double> low, high, x;
  for (const std::size_t k : kSearched) {
    low.push_back(std::max(center[k] - radius, std::log(kBounds[k].Low)));
    high.push_back(std::min(center[k] + radius, std::log(kBounds[k].High)));
    x.push_back(std::clamp(center[k], low.back(), high.back()));
  }
  struct Data {
    const Surrogate& Model;
    std::vector<double> Point;
  } data{surrogate, center};
  nlopt::opt optimiser(nlopt::LN_SBPLX, kSearched.size());
  optimiser.set_lower_bounds(low);
  optimiser.set_upper_bounds(high);
  optimiser.set_initial_step(radius / 2);
  optimiser.set_maxeval(2000);
  optimiser.set_min_objective(
      [](unsigned, const double* free, double*, void* raw) {
        auto& d = *static_cast<Data*>(raw);
        for (std::size_t i = 0; i < kSearched.size(); ++i) d.Point[kSearched[i]] = free[i];
        return d.Model(d.Point);
      },
      &data);
  double score = 0;
  try {
    optimiser.optimize(x, score);
  } catch (const nlopt::roundoff_limited&) {
    // The best point so far stands.
  }
  std::vector<double> best = center;
  for (std::size_t i = 0; i < kSearched.size(); ++i) best[kSearched[i]] = x[i];
  return best;
}

// One step along each knob the first stage left alone, so that the model sees every
// direction; an intensity spread that could not run within the work allowed is not tried.
void Probe(Scorer& scorer, const Knobs& from, const ModelParameters& fitted) {
  const std::vector<double> center = ToCoordinates(from);
  for (const auto& [knob, step] : {std::pair{0, kProbe}, std::pair{5, kProbe}, std::pair{1, -kProbe}}) {
    std::vector<double> x = center;
    x[static_cast<std::size_t>(knob)] += step;
    const Knobs probe = FromCoordinates(x.data());
    const double cost = IntensityCost(ApplyKnobs(fitted, probe)) / IntensityCost(ApplyKnobs(fitted, from));
    if (scorer.Evaluate(from).Work * cost <= scorer.WorkAllowed()) scorer.Score(probe);
  }
}

// A trust-region search on linear models of the statistics fitted to every candidate so far:
// each step runs the model's best within the region, which grows after a gain and shrinks
// otherwise. The models average the noise of single candidates, so a few steps go as far
// as many candidates of a direct search.
void ModelSearch(Scorer& scorer, const Knobs& from, int evaluations, const ModelParameters& fitted) {
  const int last = scorer.Evaluations() + evaluations;
  Probe(scorer, from, fitted);
  std::vector<double> center = ToCoordinates(scorer.Best().Candidate);
  double radius = kFirstRadius;
  for (int steps = 0; scorer.Evaluations() < last && radius >= kSmallestRadius && steps < 3 * evaluations;
       ++steps) {
    const double before = scorer.Best().Score;
    const std::optional<Surrogate> surrogate = FitSurrogate(scorer, center, radius, fitted);
    if (!surrogate) return;
    scorer.Score(FromCoordinates(SurrogateBest(*surrogate, center, radius).data()));
    if (scorer.Best().Score < before) {
      center = ToCoordinates(scorer.Best().Candidate);
      radius = std::min(2 * radius, 2 * kFirstRadius);
    } else {
      radius /= 2;
    }
  }
}

CalibrationResult Unrunnable(const Scorer& search, const Knobs& start, const ModelParameters& fitted) {
  CalibrationResult result;
  result.Start = result.Best = start;
  result.Parameters = fitted;
  result.Observed = search.Problem().Observed;
  result.Weights = search.Problem().Weights;
  result.ObjectiveBefore = result.ObjectiveAfter = std::numeric_limits<double>::infinity();
  result.Evaluations = search.Evaluations();
  result.Failed = true;
  return result;
}

CalibrationCase WithConfirmingSeeds(CalibrationCase problem) {
  problem.Seeds *= 2;
  return problem;
}

}  // namespace

// The best of the search is partly the luckiest on its seeds: the start and the leading
// candidates are scored again on twice the seeds (the first half the search's own, not run
// again), and the best of them there is taken, so the result is never worse than the start
// on those seeds.
CalibrationResult CalibrateSeason(const CalibrationCase& problem, const ModelParameters& fitted,
                                  const Knobs& start, const CalibrationSettings& settings,
                                  const CalibrationProgress& progress) {
  Scorer search(problem, fitted, progress, settings.Confirmed);
  const Knobs firstStageBest = FirstStage(search, start);
  if (!std::isfinite(search.Best().Score)) return Unrunnable(search, start, fitted);
  ModelSearch(search, firstStageBest, settings.Evaluations, fitted);
  const CalibrationCase confirming = WithConfirmingSeeds(problem);
  int evaluations = search.Evaluations();
  const auto numbered = [&](const CalibrationEvaluation& e) {
    ++evaluations;
    if (progress) progress({evaluations, e.Candidate, e.Score, e.Seeds});
  };
  Scorer confirmation(confirming, fitted, numbered, 0, &search);
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
  result.Weights = problem.Weights;
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
