#include "station_batch.h"

#include <algorithm>
#include <limits>

#include "station_seed.h"

namespace nimbra {

std::vector<StationJob> PlanStations(const std::vector<NamedSeries>& stations, const ParameterTable& table,
                                     const RunOptions& runOptions) {
  std::vector<StationJob> jobs;
  jobs.reserve(stations.size());
  for (const NamedSeries& station : stations) {
    StationJob job{&station, table.For(station.Station, MonthsWithValues(station.Series)), runOptions};
    job.Options.RandomSeed = StationSeed(runOptions.RandomSeed, station.Station);
    jobs.push_back(job);
  }
  return jobs;
}

StationOutcome RunStationJob(const StationJob& job) {
  StationOutcome outcome;
  outcome.Result = DisaggregateStation(job.Station->Series, job.Parameters, job.Options);
  outcome.Summary = SummariseSeries(job.Station->Station, job.Station->Series);
  outcome.Summary.Seed = job.Options.RandomSeed;
  outcome.Summary.Sequences = outcome.Result.Sequences;
  outcome.Summary.Failed = outcome.Result.Failed;
  return outcome;
}

std::vector<double> ObservedHoursFor(const NamedSeries& station, const std::vector<StationHours>& observed) {
  const auto found = std::find_if(observed.begin(), observed.end(),
                                  [&](const StationHours& s) { return s.Station == station.Station; });
  if (found == observed.end()) return {};
  const StationSeries& series = station.Series;
  std::vector<double> hours(series.Daily.size() * 24, std::numeric_limits<double>::quiet_NaN());
  for (std::size_t h = 0; h < found->Hours.size(); ++h) {
    const std::int64_t at = (found->FirstDay - series.FirstDay) * 24 + static_cast<std::int64_t>(h);
    if (at >= 0 && at < static_cast<std::int64_t>(hours.size())) hours[at] = found->Hours[h];
  }
  return hours;
}

}  // namespace nimbra
