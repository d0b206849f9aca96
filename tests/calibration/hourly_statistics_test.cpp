#include "hourly_statistics.h"

#include <gtest/gtest.h>

#include "calibration_case.h"
#include "errors.h"

namespace nimbra {
namespace {

// Four days, the third left out: a spell across the first midnight, a day alone, and an
// hour under the wet depth.
std::vector<double> FourDays() {
  std::vector<double> hours(4 * 24, 0.0);
  hours[22] = 1;
  hours[23] = 2;
  hours[24] = 1;
  hours[3 * 24] = 3;
  hours[3 * 24 + 1] = 0.04;
  return hours;
}

const std::vector<bool> kTaken = {true, true, false, true};

// Values worked out by hand from the 72 taken hours: 70 lag-1 pairs (none across the day
// left out), 68 dry hours, spells of 3 and 1 hours, wettest shares 2/3, 1 and 3/3.04.
TEST(HourlySums, StatisticsOfTheTakenDaysAsWorkedOutByHand) {
  HourlySums sums;
  sums.Add(FourDays(), kTaken);
  const HourlyValues values = sums.Values();
  EXPECT_NEAR(values[0], 0.20159499217527388, 1e-14);
  EXPECT_NEAR(values[1], 0.26630848285260056, 1e-14);
  EXPECT_NEAR(values[2], 68.0 / 72, 1e-15);
  EXPECT_EQ(values[3], 2.0);
  EXPECT_NEAR(values[4], (2.0 / 3 + 1 + 3 / 3.04) / 3, 1e-15);

  // The same days given as two series pool to the same values.
  const std::vector<double> hours = FourDays();
  HourlySums first, second, pooled;
  first.Add(std::span(hours).first(48), {true, true});
  second.Add(std::span(hours).subspan(72), {true});
  pooled.Add(first);
  pooled.Add(second);
  const HourlyValues again = pooled.Values();
  for (std::size_t i = 0; i < values.size(); ++i)
    EXPECT_NEAR(again[i], values[i], 1e-14) << StatisticName(HourlyStatistic(i));

  // 0.0375 + 0.0043 + 0.0031 + 0.04 + 2 x 0.5913
  EXPECT_NEAR(Objective(values, {0.25, 0.25, 1.0, 2.5, 0.5}, {1, 1, 1, 1, 2}), 1.2675705904530226, 1e-13);
}

TEST(HourlySums, HoursWithoutRainCannotBeMatched) {
  HourlySums sums;
  sums.Add(std::vector<double>(48, 0.01), {true, true});
  try {
    sums.Values();
    FAIL() << "no error";
  } catch (const InvalidArgument& e) {
    EXPECT_STREQ(
        e.what(),
        "expected at least two consecutive hours and one of at least 0.05 mm, found 48 hours and 0 wet ones");
  }
}

}  // namespace
}  // namespace nimbra
