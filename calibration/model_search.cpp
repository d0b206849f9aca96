#include "model_search.h"

#include <algorithm>
#include <nlopt.hpp>
#include <optional>

#include "linear_response.h"

namespace nimbra {

namespace {

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

}  // namespace

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

}  // namespace nimbra
