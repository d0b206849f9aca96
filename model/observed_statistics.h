#pragma once
// A gauge's statistics per season, from its complete days (no missing hour) in the
// season's months. Intervals are summed within days from the day start, or over whole
// consecutive complete days for scales of more than a day; lag-1 pairs never bridge a
// missing or out-of-season day.

#include <cstdint>
#include <string>
#include <vector>

#include "hourly_record.h"
#include "statistic_target.h"

namespace nimbra {

using MonthMask = std::uint16_t;  // bit m - 1 stands for month m

struct SeasonSample {
  std::string Season;  // named in error messages
  // Runs of consecutive complete days of the season, hours in order, each within one year.
  std::vector<std::vector<double>> Runs;
  std::vector<int> RunYears;
};

// Throws InvalidArgument when the season has no complete day.
SeasonSample TakeSeason(const HourlyRecord& record, MonthMask months, const std::string& season);

// Throws InvalidArgument when the statistic is undefined or zero in the sample (a
// constant series, no pair of consecutive intervals): a relative error to it is undefined.
double ObservedValue(const SeasonSample& sample, const StatisticTarget& target);

// The statistic in each year of the sample with data enough for it.
std::vector<double> YearlyValues(const SeasonSample& sample, const StatisticTarget& target);

// The weight of a statistic in a fit by years: 1 / the variance across years of the
// statistic relative to its value over all years, so that the weight of a relative
// error is the inverse of that error's own spread. Throws InvalidArgument when fewer
// than two years hold the statistic or it does not vary between them.
double YearsWeight(const SeasonSample& sample, const StatisticTarget& target, double observed);

}  // namespace nimbra
