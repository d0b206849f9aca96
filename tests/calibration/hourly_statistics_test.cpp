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
  EXPECT_EQ(values[5], 3.0);                 // one year
  EXPECT_NEAR(values[6], 2 + 0.997, 1e-12);  // wet hours 1 1 2 3, position 2.997

  // The same days given as two series pool to the same values, but for the largest hour:
  // each series has its own years.
  const std::vector<double> hours = FourDays();
  HourlySums first, second, pooled;
  first.Add(std::span(hours).first(48), {true, true});
  second.Add(std::span(hours).subspan(72), {true});
  pooled.Add(first);
  pooled.Add(second);
  const HourlyValues again = pooled.Values();
  for (std::size_t i = 0; i < values.size(); ++i) {
    const double expected =
        HourlyStatistic(i) == HourlyStatistic::YearlyLargestHour ? (2.0 + 3) / 2 : values[i];
    EXPECT_NEAR(again[i], expected, 1e-14) << StatisticName(HourlyStatistic(i));
  }

  // 0.0375 + 0.0043 + 0.0031 + 0.04 + 2 x 0.5913 + 0.25 + 0.0009
  EXPECT_NEAR(Objective(values, {0.25, 0.25, 1.0, 2.5, 0.5, 2.0, 3.0}, {1, 1, 1, 1, 2, 1, 1}),
              1.2675705904530226 + 0.25 + 0.000001, 1e-13);
}

// A year ends at midnight of 31 December, also inside a spell; each series' years count
// on their own.
TEST(HourlySums, EachYearGivesItsLargestHour) {
  constexpr std::int64_t kDecember30th1970 = 363;
  HourlySums sums;
  sums.Add(FourDays(), kTaken, kDecember30th1970);  // 1970: 1 2 1, largest 2; 1971: 3
  EXPECT_EQ(sums.Values()[5], 2.5);
  sums.Add(FourDays(), {false, false, false, true}, 0);  // one more year, largest 3
  EXPECT_NEAR(sums.Values()[5], (2 + 3 + 3) / 3.0, 1e-15);
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
