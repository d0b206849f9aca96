#include "calibration_case.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "errors.h"
#include "run_cost.h"
#include "station_runner.h"
#include "station_seed.h"
#include "years_jackknife.h"

namespace nimbra {

namespace {

constexpr std::size_t kHours = 24;

// The error a user of the hours accepts in each statistic, as a share of the observed value
// or as a difference. The objective counts each error in these units, so no statistic is
// given away for the others beyond what a user would accept: a lag-1 of 0.57 is held as
// closely, in difference, as one of 0.29, which a share of the value would not do.
struct Tolerance {
  double Value;
  bool Absolute;
};
constexpr std::array<Tolerance, kHourlyStatisticCount> kTolerances = {{
    {0.10, false},  // variance
    {0.05, true},   // lag-1 autocorrelation
    {0.02, true},   // dry fraction
    {0.15, false},  // mean wet spell
    {0.05, true},   // wettest hour's share
    {0.20, false},  // mean yearly largest hour
    {0.30, false},  // 99.9th percentile: a few hours a year, so held less than the largest hour
}};
// The variance's weight; the others follow from their tolerances.
constexpr double kVarianceWeight = 3;

bool DayComplete(const std::vector<double>& hours, std::size_t day) {
  for (std::size_t h = day * kHours; h < (day + 1) * kHours; ++h) {
    if (std::isnan(hours[h])) return false;
  }
  return true;
}

}  // namespace

HourlyValues DefaultWeights(const HourlyValues& observed) {
  HourlyValues weights;
  for (std::size_t i = 0; i < weights.size(); ++i) {
    const Tolerance& tolerance = kTolerances[i];
    // (0.1 / relative tolerance)^2, written so that an observed value of 0 gives weight 0
    const double scaled = tolerance.Absolute ? 0.1 * observed[i] / tolerance.Value : 0.1 / tolerance.Value;
    weights[i] = kVarianceWeight * scaled * scaled;
  }
  return weights;
}

CalibrationCase MakeCalibrationCase(const std::vector<NamedSeries>& daily,
                                    const std::vector<StationHours>& observed, const Season& season) {
  CalibrationCase problem;
  HourlySums sums;
  YearsJackknife years;
  for (const NamedSeries& station : daily) {
    const std::vector<double> hours = ObservedHoursFor(station, observed);
    if (hours.empty()) continue;
    CalibrationStation entry{station.Station, KeepMonths(station.Series, season.Months), {}};
    entry.DaysTaken.resize(entry.Series.Daily.size());
    bool any = false;
    for (std::size_t day = 0; day < entry.DaysTaken.size(); ++day) {
      entry.DaysTaken[day] = !std::isnan(entry.Series.Daily[day]) && DayComplete(hours, day);
      any = any || entry.DaysTaken[day];
    }
    if (!any) continue;
    sums.Add(hours, entry.DaysTaken, entry.Series.FirstDay);
    years.Add(hours, entry.DaysTaken, entry.Series.FirstDay);
    problem.Stations.push_back(std::move(entry));
  }
  if (problem.Stations.empty()) {
    throw InvalidArgument("season '" + season.Name +
                          "': expected days with both a daily depth and 24 observed hours, found none");
  }
  problem.Observed = sums.Values();
  problem.Weights = TemperedWeights(DefaultWeights(problem.Observed), years.RelativeErrors());
  return problem;
}

int FirstHalf(int seeds) { return std::max(seeds / 2, 1); }

PartialRun RunSeeds(const CalibrationCase& problem, const ModelParameters& parameters,
                    const RunOptions& options, int first, int count) {
  ParametersByMonth byMonth;
  byMonth.fill(parameters);
  const auto seeds = static_cast<std::size_t>(count);
  PartialRun run;
  const std::size_t jobs = problem.Stations.size() * seeds;
  std::optional<ThreadShare::Lease> lease;
  if (problem.Shared) lease.emplace(*problem.Shared, static_cast<int>(jobs));
  RunStations(
      jobs, lease ? lease->Threads() : problem.Threads,
      [&](std::size_t job) {
        const CalibrationStation& station = problem.Stations[job / seeds];
        RunOptions own = options;
        // Seeds follow each other modulo 2^32, as the run seed is read.
        const auto seed = static_cast<std::uint32_t>(options.RandomSeed) + static_cast<std::uint32_t>(first) +
                          static_cast<std::uint32_t>(job % seeds);
        own.RandomSeed = StationSeed(static_cast<int>(seed), station.Name);
        return StationJob{{station.Name, station.Series}, byMonth, own, {}};
      },
      [&](std::size_t job, const StationJob&, StationOutcome& outcome) {
        run.Failed = run.Failed || !outcome.Result.Failed.empty();
        if (run.Failed) return;
        const CalibrationStation& station = problem.Stations[job / seeds];
        // Each run's sums first, then their total: the order of the additions stays fixed.
        HourlySums one;
        one.Add(outcome.Result.Hourly, station.DaysTaken, station.Series.FirstDay);
        run.Sums.Add(one);
        run.Work += RunCost(outcome.Result.Drawn, parameters);
      });
  return run;
}

std::optional<Disaggregation> Disaggregated(const CalibrationCase& problem, const ModelParameters& parameters,
                                            const RunOptions& options) {
  const int half = FirstHalf(problem.Seeds);
  PartialRun run = RunSeeds(problem, parameters, options, 0, half);
  const PartialRun rest = RunSeeds(problem, parameters, options, half, problem.Seeds - half);
  if (run.Failed || rest.Failed) return std::nullopt;
  run.Sums.Add(rest.Sums);
  run.Work += rest.Work;
  return Disaggregation{run.Sums.Values(), run.Work};
}

double Objective(const HourlyValues& disaggregated, const HourlyValues& observed,
                 const HourlyValues& weights) {
  double sum = 0;
  for (std::size_t i = 0; i < disaggregated.size(); ++i) {
    const double error = disaggregated[i] / observed[i] - 1;
    sum += weights[i] * error * error;
  }
  return sum;
}

}  // namespace nimbra
