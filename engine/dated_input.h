#pragma once
// A station's dated daily series as the input of a step-by-step run, with the parameter
// set of each month. Wet sequences end at a missing day and after a series' capacity, as
// in the one-station call; each takes the set of its first day's month, and the log
// names the set whenever it changes. Dry days between sequences count as dry hours of
// the run's statistics; missing days count as nothing.

#include <array>
#include <string>

#include "station_run.h"

namespace nimbra {

struct DatedInput {
  StationSeries Series;
  ParametersByMonth Parameters;
  // What the log calls each month's set, January first.
  std::array<std::string, 12> SetNames;
};

}  // namespace nimbra
