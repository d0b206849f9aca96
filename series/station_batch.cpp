#include "station_batch.h"

#include <algorithm>
#include <limits>

#include "civil_date.h"
#include "station_seed.h"

namespace nimbra {

namespace {

RunOptions OptionsOfRow(const SeasonParameters& row, RunOptions options, RepetitionOverrides overrides) {
  if (row.RepFactor && !overrides.Factor) options.RepLevel1Factor = *row.RepFactor;
  if (row.RepMin && !overrides.Min) options.RepLevel1Min = *row.RepMin;
  return options;
}

// The station's months with values grouped by the options their parameter sets ask for.
std::vector<StationPart> PartsOf(const std::string& station, MonthSet used, const ParameterTable& table,
                                 const RunOptions& options, RepetitionOverrides overrides) {
  std::vector<StationPart> parts;
  for (const SeasonParameters& row : table.RowsFor(station)) {
    const MonthSet months = row.Season.Months & used;
    if (months == 0) continue;
    const RunOptions rowOptions = OptionsOfRow(row, options, overrides);
    const auto same = std::find_if(parts.begin(), parts.end(),
                                   [&](const StationPart& part) { return part.Options == rowOptions; });
    if (same != parts.end()) {
      same->Months |= months;
    } else {
      parts.push_back({months, rowOptions});
    }
  }
  return parts;
}

bool InMonths(const StationSeries& series, std::size_t day, MonthSet months) {
  return (months & MonthBit(CivilFromDays(series.FirstDay + static_cast<std::int64_t>(day)).Month)) != 0;
}

}  // namespace

StationSeries KeepMonths(const StationSeries& series, MonthSet months) {
  StationSeries kept = series;
  for (std::size_t day = 0; day < kept.Daily.size(); ++day) {
    if (!InMonths(series, day, months)) kept.Daily[day] = std::numeric_limits<double>::quiet_NaN();
  }
  return kept;
}

namespace {

// Each part on its own months, the hours of its months kept: a wet sequence ends where
// the part's months end.
StationResult RunInParts(const StationJob& job) {
  const StationSeries& series = job.Station.Series;
  StationResult result;
  result.Hourly.assign(series.Daily.size() * kHoursPerDay, std::numeric_limits<double>::quiet_NaN());
  for (const StationPart& part : job.Parts) {
    StationResult partResult =
        DisaggregateStation(KeepMonths(series, part.Months), job.Parameters, part.Options);
    for (std::size_t day = 0; day < series.Daily.size(); ++day) {
      if (!InMonths(series, day, part.Months)) continue;
      std::copy_n(partResult.Hourly.begin() + static_cast<std::ptrdiff_t>(day * kHoursPerDay), kHoursPerDay,
                  result.Hourly.begin() + static_cast<std::ptrdiff_t>(day * kHoursPerDay));
    }
    result.Log.insert(result.Log.end(), partResult.Log.begin(), partResult.Log.end());
    result.Messages.insert(result.Messages.end(), partResult.Messages.begin(), partResult.Messages.end());
    result.Sequences += partResult.Sequences;
    result.Failed.insert(result.Failed.end(), partResult.Failed.begin(), partResult.Failed.end());
    result.Warnings.insert(result.Warnings.end(), partResult.Warnings.begin(), partResult.Warnings.end());
  }
  std::stable_sort(result.Failed.begin(), result.Failed.end(),
                   [](const FailedSequence& a, const FailedSequence& b) { return a.FirstDay < b.FirstDay; });
  return result;
}

}  // namespace

StationJob PlanStation(const std::string& station, MonthSet months, const ParameterTable& table,
                       const RunOptions& runOptions, RepetitionOverrides overrides) {
  StationJob job{{station, {}}, table.For(station, months), runOptions, {}};
  job.Options.RandomSeed = StationSeed(runOptions.RandomSeed, station);
  job.Parts = PartsOf(station, months, table, job.Options, overrides);
  for (std::size_t k = 0; k < job.Parts.size(); ++k)
    job.Parts[k].Options.RandomSeed = PartSeed(job.Options.RandomSeed, static_cast<int>(k));
  if (job.Parts.size() == 1) job.Options = job.Parts.front().Options;
  if (job.Parts.size() <= 1) job.Parts.clear();
  return job;
}

std::vector<StationJob> PlanStations(const std::vector<NamedSeries>& stations, const ParameterTable& table,
                                     const RunOptions& runOptions, RepetitionOverrides overrides) {
  std::vector<StationJob> jobs;
  jobs.reserve(stations.size());
  for (const NamedSeries& station : stations) {
    jobs.push_back(
        PlanStation(station.Station, MonthsWithValues(station.Series), table, runOptions, overrides));
    jobs.back().Station.Series = station.Series;
  }
  return jobs;
}

StationOutcome RunStationJob(const StationJob& job) {
  StationOutcome outcome;
  outcome.Result = job.Parts.empty() ? DisaggregateStation(job.Station.Series, job.Parameters, job.Options)
                                     : RunInParts(job);
  outcome.Summary = SummariseSeries(job.Station.Station, job.Station.Series);
  outcome.Summary.Seed = job.Options.RandomSeed;
  outcome.Summary.Sequences = outcome.Result.Sequences;
  outcome.Summary.Failed = outcome.Result.Failed;
  outcome.Summary.Warnings = outcome.Result.Warnings;
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
