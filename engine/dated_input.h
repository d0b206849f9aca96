#pragma once
// A station's dated daily series as the input of a step-by-step run, with the parameter
// set of each month. Wet sequences end at a missing day and after a series' capacity, as
// in the one-station call; each takes the set of its first day's month, and the log
// names the set whenever it changes. Dry days between sequences count as dry hours of
// the run's statistics; missing days count as nothing.
//
// When the sets ask for different level-1 repetition settings, the months fall into
// parts, and the run is the one the station runner makes of them: each part draws from a
// random stream of its own, which it takes up where it left it, and a wet sequence ends
// where its part's months end.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "station_run.h"

namespace nimbra {

struct DatedPart {
  int RepLevel1Factor = 0;
  int RepLevel1Min = 0;
  // The part's stream starts from the run's seed xor this.
  std::uint32_t SeedSpread = 0;
};

struct DatedInput {
  StationSeries Series;
  ParametersByMonth Parameters;
  // What the log calls each month's set, January first.
  std::array<std::string, 12> SetNames;
  // Empty: every month runs with the run's options and its one stream. Otherwise each
  // month's part, January first, indexes Parts.
  std::vector<DatedPart> Parts;
  std::array<std::size_t, 12> PartOfMonth{};
};

}  // namespace nimbra
