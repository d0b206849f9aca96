// The calibration's objective: each statistic's squared relative error, weighted so that
// the variance and the largest hours cannot be traded away for the others.

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
      {HourlyStatistic::Variance, 3},          {HourlyStatistic::Autocorrelation, 1},
      {HourlyStatistic::DryFraction, 16},  // (0.8 / 0.2)^2: as the wet fraction's error
      {HourlyStatistic::WetSpellHours, 1},     {HourlyStatistic::WettestHourShare, 1},
      {HourlyStatistic::YearlyLargestHour, 2}, {HourlyStatistic::WetHourPercentile, 1},
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
