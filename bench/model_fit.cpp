// Fitting speed: one season of a monthly fit of 17 years of hourly data, and the
// model statistics one evaluation of the objective needs.
#include <benchmark/benchmark.h>

#include "civil_date.h"
#include "model_statistics.h"
#include "observed_statistics.h"
#include "parameter_fit.h"
#include "simulated_record.h"

namespace nimbra {
namespace {

// The parameters fitted to Berlin-Tempelhof's Julys.
const ModelParameters kBerlinJuly{0.4547, 0.07466, 0.02589, 3.942, 0.02896, 143.28, 143.28};

const HourlyRecord& SeventeenYears() {
  static const HourlyRecord record =
      SimulateRecord(kBerlinJuly, DaysFromCivil({2003, 1, 1}), 17 * 365 + 4, 1);
  return record;
}

// Each iteration fits the next calendar month, as a monthly fit does season by season.
void BM_MonthlyFitPerSeason(benchmark::State& state) {
  const HourlyRecord& record = SeventeenYears();
  const FitSpace space({});
  int month = 0;
  for (auto _ : state) {
    const SeasonSample sample =
        TakeSeason(record, static_cast<MonthMask>(1u << month), std::to_string(month + 1));
    std::vector<ObservedTarget> targets;
    for (const StatisticTarget& t : DefaultTargets()) targets.push_back({t, ObservedValue(sample, t), 1});
    benchmark::DoNotOptimize(FitParameters(space, targets, {}));
    month = (month + 1) % 12;
  }
}
BENCHMARK(BM_MonthlyFitPerSeason)->Iterations(12)->Unit(benchmark::kMillisecond);

// What one objective evaluation computes for the default targets.
void BM_DefaultTargetStatistics(benchmark::State& state) {
  for (auto _ : state) {
    const ModelStatistics model(kBerlinJuly);
    for (const StatisticTarget& t : DefaultTargets()) benchmark::DoNotOptimize(ModelValue(model, t));
  }
}
BENCHMARK(BM_DefaultTargetStatistics)->Unit(benchmark::kMicrosecond);

void BM_HourlySkewness(benchmark::State& state) {
  const ModelStatistics model(kBerlinJuly);
  for (auto _ : state) benchmark::DoNotOptimize(model.Skewness(1.0 / 24));
}
BENCHMARK(BM_HourlySkewness)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace nimbra
