// How well the calibration years pin each statistic: the jackknife over years, checked
// where it has a closed form, and the weights it tempers.

#include "years_jackknife.h"

#include <gtest/gtest.h>

#include <cmath>

#include "civil_date.h"

namespace nimbra {
namespace {

// One wet hour on 1 January of each year, of the given depths; the other hours dry.
void AddYears(YearsJackknife& jackknife, const std::vector<double>& largest) {
  for (std::size_t y = 0; y < largest.size(); ++y) {
    std::vector<double> hours(48, 0);
    hours[5] = largest[y];
    hours[30] = 0.5;  // a second wet hour, so that every year has a percentile
    jackknife.Add(hours, {true, true}, DaysFromCivil({2000 + static_cast<int>(y), 1, 1}));
  }
}

// The mean of the yearly largest hours is a mean over years: its jackknife error is the
// sample standard deviation over the root of the years, (1, 2, 6): sqrt(7 / 3) / 3.
TEST(YearsJackknife, GivesTheStandardErrorOfAMeanOverYears) {
  YearsJackknife jackknife;
  AddYears(jackknife, {1, 2, 6});
  const HourlyValues errors = jackknife.RelativeErrors();
  EXPECT_NEAR(errors[static_cast<std::size_t>(HourlyStatistic::YearlyLargestHour)], std::sqrt(7.0 / 3) / 3,
              1e-12);
  // Every year has one dry day and one wet-spell pattern alike: no spread.
  EXPECT_NEAR(errors[static_cast<std::size_t>(HourlyStatistic::DryFraction)], 0, 1e-12);
  EXPECT_NEAR(errors[static_cast<std::size_t>(HourlyStatistic::WetSpellHours)], 0, 1e-12);
}

TEST(YearsJackknife, SaysNothingOnOneYear) {
  YearsJackknife jackknife;
  AddYears(jackknife, {4});
  EXPECT_EQ(jackknife.RelativeErrors(), HourlyValues{});
}

TEST(YearsJackknife, TempersAWeightByHalfWhereItsErrorIsATenth) {
  HourlyValues weights, errors{};
  weights.fill(2);
  errors[0] = 0.1;
  errors[1] = 0.3;
  const HourlyValues tempered = TemperedWeights(weights, errors);
  EXPECT_DOUBLE_EQ(tempered[0], 1);
  EXPECT_DOUBLE_EQ(tempered[1], 0.2);
  EXPECT_DOUBLE_EQ(tempered[2], 2);
}

}  // namespace
}  // namespace nimbra
