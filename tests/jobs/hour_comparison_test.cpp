#include "hour_comparison.h"

#include <gtest/gtest.h>

#include <cmath>

#include "civil_date.h"

namespace nimbra {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::size_t kVariance = 0, kDry = 2, kSpell = 3, kShare = 4;

std::size_t At(HourSource source) { return static_cast<std::size_t>(source); }

// Three July days: 2 mm in the first hour of the first, a dry day, a missing day; and a
// June day outside the season.
struct TinyRecord {
  StationSeries Series{DaysFromCivil({2020, 6, 30}), {5, 2, 0, kNaN}, {}};
  std::vector<double> Hours = std::vector<double>(4 * 24, 0.0);
  TinyRecord() {
    Hours[0] = 5;
    Hours[24] = 2;
    std::fill(Hours.begin() + 72, Hours.end(), kNaN);
  }
};

TEST(HourComparison, HandCheckedFiguresOfOneWetHour) {
  const TinyRecord record;
  const Season july{"7", MonthBit(7)};
  const HourComparison c = CompareHours(record.Series, {}, record.Hours, july, std::nullopt);
  const HourlyValues& hours = c.Sources[At(HourSource::Disaggregated)].Values;
  // 48 hours, one of 2 mm: the sample variance is (4 - 48 (2/48)^2) / 47 = 1/12.
  EXPECT_NEAR(hours[kVariance], 1.0 / 12, 1e-15);
  EXPECT_DOUBLE_EQ(hours[kDry], 47.0 / 48);
  EXPECT_DOUBLE_EQ(hours[kSpell], 1.0);
  EXPECT_DOUBLE_EQ(hours[kShare], 1.0);
  ASSERT_EQ(c.Sources[At(HourSource::Disaggregated)].YearlyMaxima.size(), 1u);
  EXPECT_EQ(c.Sources[At(HourSource::Disaggregated)].YearlyMaxima[0].Year, 2020);
  EXPECT_DOUBLE_EQ(c.Sources[At(HourSource::Disaggregated)].YearlyMaxima[0].Depth, 2.0);
  for (const HourSource absent : {HourSource::Observed, HourSource::Model}) {
    for (const double value : c.Sources[At(absent)].Values) EXPECT_TRUE(std::isnan(value));
    EXPECT_TRUE(c.Sources[At(absent)].YearlyMaxima.empty());
  }
}

TEST(HourComparison, ModelValuesAreTheClosedFormsWhereTheyExist) {
  const TinyRecord record;
  const ModelParameters p{0.4547, 0.07466, 0.02589, 3.942, 0.02896, 143.28, 143.28};
  const HourComparison c = CompareHours(record.Series, {}, record.Hours, {"all", kAllMonths}, p);
  const HourlyValues& model = c.Sources[At(HourSource::Model)].Values;
  EXPECT_GT(model[kVariance], 0);
  EXPECT_GT(model[kDry], 0.5);
  EXPECT_LT(model[kDry], 1);
  EXPECT_TRUE(std::isnan(model[kSpell]));
  EXPECT_TRUE(std::isnan(model[kShare]));
  // The June day's 5 mm is the year's largest hour once the season holds June.
  EXPECT_DOUBLE_EQ(c.Sources[At(HourSource::Disaggregated)].YearlyMaxima[0].Depth, 5.0);
}

TEST(HourComparison, GumbelPlotSortsTheMaximaOnWeibullPositions) {
  const auto points = GumbelPlot({{2001, 3.0}, {2002, 1.0}, {2003, 2.0}});
  ASSERT_EQ(points.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_DOUBLE_EQ(points[i][1], static_cast<double>(i + 1));
    EXPECT_DOUBLE_EQ(points[i][0], -std::log(-std::log((i + 1) / 4.0)));
  }
}

}  // namespace
}  // namespace nimbra
