#include "calibration_case.h"

#include <cmath>
#include <cstdint>

#include "errors.h"
#include "station_runner.h"
#include "station_seed.h"

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

CalibrationCase MakeCalibrationCase(const std::vector<NamedSeries>& daily,
                                    const std::vector<StationHours>& observed, const Season& season) {
  CalibrationCase problem;
  HourlySums sums;
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
    sums.Add(hours, entry.DaysTaken);
    problem.Stations.push_back(std::move(entry));
  }
  if (problem.Stations.empty()) {
    throw InvalidArgument("season '" + season.Name +
                          "': expected days with both a daily depth and 24 observed hours, found none");
  }
  problem.Observed = sums.Values();
  // A dry fraction near one moves little in relative terms: weighted so, its error counts
  // as the relative error of the wet fraction.
  const double dry = problem.Observed[static_cast<std::size_t>(HourlyStatistic::DryFraction)];
  problem.Weights[static_cast<std::size_t>(HourlyStatistic::DryFraction)] =
      (dry / (1 - dry)) * (dry / (1 - dry));
  return problem;
}

std::optional<HourlyValues> Disaggregated(const CalibrationCase& problem, const ModelParameters& parameters,
                                          const RunOptions& options) {
  ParametersByMonth byMonth;
  byMonth.fill(parameters);
  const std::size_t seeds = static_cast<std::size_t>(problem.Seeds);
  HourlySums sums;
  bool failed = false;
  RunStations(
      problem.Stations.size() * seeds, problem.Threads,
      [&](std::size_t job) {
        const CalibrationStation& station = problem.Stations[job / seeds];
        RunOptions run = options;
        // Seeds follow each other modulo 2^32, as the run seed is read.
        const auto seed =
            static_cast<std::uint32_t>(options.RandomSeed) + static_cast<std::uint32_t>(job % seeds);
        run.RandomSeed = StationSeed(static_cast<int>(seed), station.Name);
        return StationJob{{station.Name, station.Series}, byMonth, run, {}};
      },
      [&](std::size_t job, const StationJob&, StationOutcome& outcome) {
        failed = failed || !outcome.Result.Failed.empty();
        if (failed) return;
        // Each run's sums first, then their total: the order of the additions stays fixed.
        HourlySums one;
        one.Add(outcome.Result.Hourly, problem.Stations[job / seeds].DaysTaken);
        sums.Add(one);
      });
  if (failed) return std::nullopt;
  return sums.Values();
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
