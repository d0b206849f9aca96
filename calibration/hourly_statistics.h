#pragma once
// The hourly statistics a calibration matches: variance, lag-1 autocorrelation, the dry
// fraction, the mean wet-spell length, the wettest hour's share of its day, and two
// extremes: the mean over years of each year's largest hour, and the 99.9th percentile of
// the wet hours (linear between order statistics, as numpy's default). Sums are
// gathered per series and added up, so that several stations and seeds pool into one
// value, the same whatever order the sums were made in, as long as they are added in one.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace nimbra {

// An hour is wet from this depth on: the half of a gauge's 0.1 mm step, so that a
// disaggregated hour counts wet exactly when the gauge would have recorded it.
inline constexpr double kWetHourDepth = 0.05;

enum class HourlyStatistic {
  Variance,
  Autocorrelation,
  DryFraction,
  WetSpellHours,
  WettestHourShare,
  YearlyLargestHour,
  WetHourPercentile
};
inline constexpr std::size_t kHourlyStatisticCount = 7;

const char* StatisticName(HourlyStatistic statistic);  // "variance@1", ...

using HourlyValues = std::array<double, kHourlyStatisticCount>;

class HourlySums {
 public:
  // Adds the hours of the days whose flag is set, 24 per day, the first on serial day
  // firstDay; consecutive taken days join, so pairs and spells run across midnight but
  // never across a day left out. Each calendar year with a taken day gives one largest hour.
  void Add(std::span<const double> hours, const std::vector<bool>& daysTaken, std::int64_t firstDay = 0);
  void Add(const HourlySums& other);
  // Raises InvalidArgument when no two hours follow each other or no hour is wet: a
  // relative error to such a statistic is undefined.
  HourlyValues Values() const;

 private:
  double count_ = 0, sum_ = 0, sumSquares_ = 0;
  double pairs_ = 0, pairFirst_ = 0, pairSecond_ = 0, pairProducts_ = 0;
  double dryHours_ = 0, spells_ = 0, spellHours_ = 0;
  double wetDays_ = 0, wettestShares_ = 0;
  double years_ = 0, yearlyLargest_ = 0;
  std::vector<double> wetHours_;
};

}  // namespace nimbra
