#pragma once
// The seasons a fit runs over: every month on its own ("monthly"), the whole year
// ("all"), or named sets of months from a CSV file with the columns `season,months`
// ("summer,6 7 8").

#include <string>
#include <vector>

#include "observed_statistics.h"

namespace nimbra {

struct FitSeason {
  std::string Name;  // "7", "all" or the file's name for it
  MonthMask Months = 0;
};

struct SeasonChoice {
  std::vector<FitSeason> Seasons;
  bool Monthly = false;  // months without any day in the data are left out
  bool Named = false;    // the parameters file then carries a months column
};

// Throws InputError naming the file, the line and the field of a bad row.
SeasonChoice ChooseSeasons(const std::string& text);

// "6 7 8"
std::string MonthList(MonthMask months);

}  // namespace nimbra
