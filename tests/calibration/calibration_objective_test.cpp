// The calibration's objective: each statistic's squared relative error, counted in units of
// the error a user accepts in it.

#include <gtest/gtest.h>

#include "calibration_case.h"

namespace nimbra {
namespace {

// Observed: variance, lag-1, dry fraction 0.8, wet spell, wettest-hour share, yearly
// largest hour, 99.9th percentile of wet hours.
const HourlyValues kObserved = {0.5, 0.6, 0.8, 2.5, 0.4, 9.0, 12.0};

TEST(CalibrationObjective, WeighsEachStatisticsRelativeError) {
  const struct {
    HourlyStatistic Statistic;
    double Weight;
  } cases[] = {
      // 3 (0.1 / t)^2 with t the tolerance as a share of the observed value
      {HourlyStatistic::Variance, 3},                 // 10 %
      {HourlyStatistic::Autocorrelation, 4.32},       // 0.05 of 0.6
      {HourlyStatistic::DryFraction, 48},             // 0.02 of 0.8
      {HourlyStatistic::WetSpellHours, 4.0 / 3},      // 15 %
      {HourlyStatistic::WettestHourShare, 1.92},      // 0.05 of 0.4
      {HourlyStatistic::YearlyLargestHour, 0.75},     // 20 %
      {HourlyStatistic::WetHourPercentile, 1.0 / 3},  // 30 %
  };
  const HourlyValues weights = DefaultWeights(kObserved);
  EXPECT_DOUBLE_EQ(Objective(kObserved, kObserved, weights), 0);
  for (const auto& c : cases) {
    const auto i = static_cast<std::size_t>(c.Statistic);
    EXPECT_DOUBLE_EQ(weights[i], c.Weight) << StatisticName(c.Statistic);
    HourlyValues off = kObserved;
    off[i] *= 0.9;
    EXPECT_NEAR(Objective(off, kObserved, weights), c.Weight * 0.01, 1e-12) << StatisticName(c.Statistic);
  }
}

}  // namespace
}  // namespace nimbra
