#include "model_binding.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "interruptible_call.h"
#include "model_statistics.h"
#include "observed_statistics.h"
#include "parameter_fit.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace nimbra {

namespace {

using Doubles = py::array_t<double, py::array::c_style | py::array::forcecast>;

ModelParameters FromValues(const std::array<double, 7>& v) {
  return {v[0], v[1], v[2], v[3], v[4], v[5], v[6]};
}

std::array<double, 7> ValuesOf(const ModelParameters& p) {
  return {p.Lambda, p.Kappa, p.Phi, p.Alpha, p.Nu, p.MuX, p.SigmaX};
}

struct SeasonToFit {
  std::string Name;
  MonthMask Months = 0;
  std::string Statistics;   // "mean@24,variance@1,..."; empty: by scales, or the default targets
  std::vector<int> Scales;  // empty: the default targets
  bool YearsWeights = false;
};

std::vector<StatisticTarget> TargetsOf(const SeasonToFit& season) {
  if (!season.Statistics.empty()) return ParseTargets(season.Statistics);
  return season.Scales.empty() ? DefaultTargets() : TargetsAtScales(season.Scales);
}

py::dict Fitted(const FitResult& result) {
  py::list targets;
  for (const FittedTarget& t : result.Targets) {
    targets.append(py::make_tuple(TargetName(t.Target.Target), t.Target.Observed, t.Fitted, t.Target.Weight,
                                  t.RelativeError));
  }
  const FitSpread& s = result.Spread;
  const py::dict spread("starts"_a = s.Starts, "best"_a = s.Best, "median"_a = s.Median, "worst"_a = s.Worst,
                        "within_2_percent"_a = s.WithinTwoPercent);
  return py::dict("parameters"_a = ValuesOf(result.Parameters), "objective"_a = result.Objective,
                  "targets"_a = targets, "spread"_a = spread);
}

// One season of the record: its observed statistics, each weighted equally or by its
// spread across years, matched by the model; Ctrl-C stops the search.
py::dict FitSeason(std::int64_t firstDay, const Doubles& hours, const SeasonToFit& season,
                   const FitSpaceOptions& spaceOptions, unsigned seed, int starts, int evaluations) {
  const HourlyRecord record{firstDay, std::vector<double>(hours.data(), hours.data() + hours.size())};
  const FitSpace space(spaceOptions);
  FitResult result;
  std::atomic<bool> stop{false};
  RunInterruptibly(stop, [&] {
    const SeasonSample sample = TakeSeason(record, season.Months, season.Name);
    std::vector<ObservedTarget> observed;
    for (const StatisticTarget& target : TargetsOf(season)) {
      const double value = ObservedValue(sample, target);
      observed.push_back({target, value, season.YearsWeights ? YearsWeight(sample, target, value) : 1});
    }
    FitSettings settings;
    settings.Seed = seed;
    settings.Starts = starts;
    settings.LocalEvaluations = evaluations;
    settings.Stop = &stop;
    result = FitParameters(space, observed, settings);
  });
  return Fitted(result);
}

void BindStatistics(py::module_& module) {
  py::class_<ModelStatistics>(module, "ModelStatistics")
      .def(py::init([](const std::array<double, 7>& v) { return ModelStatistics(FromValues(v)); }),
           "parameters"_a)
      .def("mean", &ModelStatistics::Mean, "h"_a)
      .def("variance", &ModelStatistics::Variance, "h"_a)
      .def("autocorrelation", &ModelStatistics::Autocorrelation, "h"_a, "lag"_a)
      .def("dry_probability", &ModelStatistics::DryProbability, "h"_a)
      .def("skewness", &ModelStatistics::Skewness, "h"_a);
}

}  // namespace

void BindModel(py::module_& module) {
  BindStatistics(module);
  py::class_<SeasonToFit>(module, "SeasonToFit")
      .def(py::init<std::string, MonthMask, std::string, std::vector<int>, bool>(), "name"_a, "months"_a,
           "statistics"_a, "scales"_a, "years_weights"_a);
  py::class_<FitSpaceOptions>(module, "FitSpaceOptions")
      .def(py::init<bool, std::vector<std::pair<std::string, double>>,
                    std::vector<std::pair<std::string, std::pair<double, double>>>>(),
           "gamma_intensity"_a, "fixed"_a, "bounds"_a);
  module.def("fit_season", &FitSeason, "first_day"_a, "hours"_a, "season"_a, "space"_a, "seed"_a, "starts"_a,
             "evaluations"_a,
             "Fits the model to one season of 24 hours per day from the serial day first_day.");
}

}  // namespace nimbra
