#include "calibration_case.h"

#include <algorithm>
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

bool DayComplete(const std::vector<double>& hours, std::size_t day) {
  for (std::size_t h = day * kHours; h < (day + 1) * kHours; ++h) {
    if (std::isnan(hours[h])) return false;
  }
  return true;
}

}  // namespace

HourlyValues DefaultWeights(const HourlyValues& observed) {
  HourlyValues weights;
  weights.fill(1);
  const auto weight = [&](HourlyStatistic s) -> double& { return weights[static_cast<std::size_t>(s)]; };
  // A dry fraction near one moves little in relative terms: weighted so, its error counts
  // as the relative error of the wet fraction.
  const double dry = observed[static_cast<std::size_t>(HourlyStatistic::DryFraction)];
  weight(HourlyStatistic::DryFraction) = (dry / (1 - dry)) * (dry / (1 - dry));
  // The variance and the largest hours are what a user of the hours designs for: weighted
  // up, a search cannot give them away for the other statistics. The 99.9th percentile
  // rests on a few hours a year, so it counts less than the yearly largest hour.
  weight(HourlyStatistic::Variance) = 3;
  weight(HourlyStatistic::YearlyLargestHour) = 2;
  weight(HourlyStatistic::WetHourPercentile) = 1;
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
