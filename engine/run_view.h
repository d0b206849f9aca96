#pragma once
// What a front end shows of a run: the parameters and options in force, where the run
// stands, the current sequence's storms and depths for the graphs, and the collected
// statistics. The engine's own state stays behind Engine; the view's references follow
// the engine and are read between steps, never while one runs.

#include <string>

#include "model_parameters.h"
#include "run_options.h"
#include "statrec.h"
#include "storm_types.h"

namespace nimbra {

struct RunView {
  const ModelParameters& Parameters;
  const RunOptions& Options;

  int SequenceNumber = 0;
  SequenceDate SequenceStart;
  bool EndOfInput = false;
  bool ReadFromFile = false;
  bool FromDatedInput = false;  // file mode from a dated series rather than a classic file
  bool InputDropped = false;    // a bad record ended the input before the end of its file
  bool WriteToFile = false;
  bool OriginalHourlyAvailable = false;
  const std::string& InputFileName;
  const std::string& OutputFileName;
  // From a dated series: the name of the parameter set in use, empty before its first wet day.
  std::string ParameterSet;

  const StormSet& Storms;
  const StormSet& OriginalStorms;
  const DailySeries& OriginalDaily;
  const DailySeries& SyntheticDaily;
  const HourlySeries& OriginalHourly;
  const HourlySeries& SyntheticHourly;

  const StatisticsSummary& AllStatsOriginal;
  const StatisticsSummary& AllStatsSynthetic;
  const StatisticsSummary& WetDayStatsOriginal;
  const StatisticsSummary& WetDayStatsSynthetic;
  const StatisticsSummary& WetHourStatsOriginal;
  const StatisticsSummary& WetHourStatsSynthetic;
};

}  // namespace nimbra
