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

// The months of a station that run with one set of options.
struct StationPart {
  MonthSet Months = 0;
  RunOptions Options;
};

struct StationJob {
  NamedSeries Station;  // its series may be read just before the job runs
  ParametersByMonth Parameters{};
  RunOptions Options;  // RandomSeed already the station's own
  // Empty when every month runs with Options. Otherwise the parameter sets ask for different
  // repetition settings, and each part runs on its own months, the others taken as missing,
  // with its own seed (PartSeed).
  std::vector<StationPart> Parts;
};

// Repetition settings the user gave as options: these win over the parameters file's.
struct RepetitionOverrides {
  bool Factor = false;
  bool Min = false;
};

struct StationOutcome {
  StationResult Result;
  StationSummary Summary;
};

// The job of a station with values in the months, its series left empty: the parameters of
// its months and its derived seed. Raises InputError when a month with values has no
// parameter set. A set's rep_factor and rep_min apply to its months unless overridden.
StationJob PlanStation(const std::string& station, MonthSet months, const ParameterTable& table,
                       const RunOptions& runOptions, RepetitionOverrides overrides = {});

// One job per station, in the stations' order, each with a copy of its series; raises
// InputError before any work as PlanStation does.
std::vector<StationJob> PlanStations(const std::vector<NamedSeries>& stations, const ParameterTable& table,
                                     const RunOptions& runOptions, RepetitionOverrides overrides = {});

StationOutcome RunStationJob(const StationJob& job);

// The series with every day outside the months taken as missing.
StationSeries KeepMonths(const StationSeries& series, MonthSet months);

// The observed hours of the station laid over its daily series' days, NaN where absent;
// empty when the station has no observed hours.
std::vector<double> ObservedHoursFor(const NamedSeries& station, const std::vector<StationHours>& observed);

}  // namespace nimbra
