#pragma once
// Many stations disaggregated one by one, each through the one-station call with its own
// seed. Each station is one call that returns its whole result, so stations can move to
// worker threads without changing what is written: results are kept in station order.

#include <string>
#include <vector>

#include "daily_csv_reader.h"
#include "hourly_csv_reader.h"
#include "parameter_table.h"
#include "run_sidecar.h"
#include "station_run.h"

namespace nimbra {

struct StationJob {
  const NamedSeries* Station = nullptr;
  ParametersByMonth Parameters{};
  RunOptions Options;  // RandomSeed already the station's own
};

struct StationOutcome {
  StationResult Result;
  StationSummary Summary;
};

// One job per station, in the stations' order, each with the parameters of its months and
// its derived seed. Raises InputError before any work when a station has days in a month
// that no parameter set covers.
std::vector<StationJob> PlanStations(const std::vector<NamedSeries>& stations, const ParameterTable& table,
                                     const RunOptions& runOptions);

StationOutcome RunStationJob(const StationJob& job);

// The observed hours of the station laid over its daily series' days, NaN where absent;
// empty when the station has no observed hours.
std::vector<double> ObservedHoursFor(const NamedSeries& station, const std::vector<StationHours>& observed);

}  // namespace nimbra
