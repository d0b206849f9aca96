#include <cmath>

#include "engine_fixture.h"

namespace nimbra {
namespace {

TEST(DepthIntegration, CellFromHalfToThreeQuartersOfADay) {
  const StormSet set = MakeStorms({{{0.5, 0.25, 24.0}}});
  HourlySeries hours;
  EngineCore::ComputeHourlyDepths(set, hours, 24);
  for (int h = 1; h <= 24; ++h) EXPECT_EQ(hours[h], h >= 13 && h <= 18 ? 1.0 : 0.0) << "hour " << h;
  DailySeries days;
  EngineCore::ComputeDailyDepths(set, days, 1);
  EXPECT_EQ(days.Count, 1);
  EXPECT_EQ(days[1], 0.25 * 24.0);
}

TEST(DepthIntegration, CellEndingOnADayBoundaryAddsNothingToTheNextDay) {
  const StormSet set = MakeStorms({{{1.9, 0.1, 10.0}}});
  DailySeries days;
  EngineCore::ComputeDailyDepths(set, days, 3);
  EXPECT_EQ(days[1], 0.0);
  EXPECT_NEAR(days[2], 1.0, 1e-12);
  EXPECT_EQ(days[3], 0.0);
}

TEST(DepthIntegration, SeveralCellsOverlapAndAddUp) {
  const StormSet set = MakeStorms({{{0.0, 1.0 / 24, 48.0}, {0.5 / 24, 1.0 / 24, 24.0}}, {{1.0, 0.5, 2.0}}});
  HourlySeries hours;
  EngineCore::ComputeHourlyDepths(set, hours, 48);
  EXPECT_DOUBLE_EQ(hours[1], 2.0 + 0.5);
  EXPECT_DOUBLE_EQ(hours[2], 0.5);
  EXPECT_DOUBLE_EQ(hours[25], 2.0 / 24);
  EXPECT_DOUBLE_EQ(hours[36], 2.0 / 24);
  EXPECT_EQ(hours[37], 0.0);
  DailySeries days;
  EngineCore::SumHourlyToDaily(hours, days);
  ASSERT_EQ(days.Count, 2);
  EXPECT_DOUBLE_EQ(days[1], 3.0);
  EXPECT_DOUBLE_EQ(days[2], 1.0);
}

TEST(DepthIntegration, DepthPastTheLastBinIsDropped) {
  const StormSet set = MakeStorms({{{29.5, 2.0, 4.0}, {30.0, 1.0, 4.0}}});
  DailySeries days;
  EXPECT_NO_THROW(EngineCore::ComputeDailyDepths(set, days, 30));
  EXPECT_EQ(days[30], 2.0);
  HourlySeries hours;
  const StormSet endsAtLastHour = MakeStorms({{{29.0, 1.0, 24.0}}});
  EXPECT_NO_THROW(EngineCore::ComputeHourlyDepths(endsAtLastHour, hours, 720));
  EXPECT_EQ(hours[720], 1.0);
}

TEST(DepthIntegration, BinsAboveNAreNotCleared) {
  DailySeries days;
  days[3] = 7.0;
  EngineCore::ComputeDailyDepths(MakeStorms({{{2.0, 0.5, 2.0}}}), days, 2);
  EXPECT_EQ(days.Count, 2);
  EXPECT_EQ(days[3], 8.0);
}

TEST(DepthIntegration, SumHourlyToDailyDropsAPartialDay) {
  HourlySeries hours;
  hours.Count = 50;
  for (int h = 1; h <= 50; ++h) hours[h] = h;
  DailySeries days;
  EngineCore::SumHourlyToDaily(hours, days);
  ASSERT_EQ(days.Count, 2);
  EXPECT_EQ(days[1], 300.0);
  EXPECT_EQ(days[2], 876.0);
}

TEST_F(EngineTest, FirstStormOriginIsWithinTheFirstDay) {
  engine.Random().SetRandomSeed(0);
  // A uniform of 2^-32, each step rounded to a 64-bit mantissa as extended precision does;
  // 1 - U (1 - exp(-Lambda)) cancels, so this differs from the exact value in the 9th digit.
  EXPECT_EQ(engine.FirstStormOrigin(), 0x1.4bf8306b0a8e6p-33);
  for (int i = 0; i < 10000; ++i) {
    const double t = engine.FirstStormOrigin();
    ASSERT_GE(t, 0.0);
    ASSERT_LT(t, 1.0);
  }
}

TEST_F(EngineTest, GeneratedStormStartsAtItsOriginAndLogsItsCells) {
  S().PrintCellDetails = true;
  Storm storm;
  engine.GenerateStorm(storm, false, 0.5);
  ASSERT_GE(storm.Count, 1);
  EXPECT_EQ(storm[1].origin, 0.5);
  for (int c = 2; c <= storm.Count; ++c) EXPECT_GE(storm[c].origin, storm[c - 1].origin);
  ASSERT_EQ(log.Lines().size(), 2u + storm.Count);
  EXPECT_EQ(log.Lines()[0], "# Generating one storm ... ");
  EXPECT_EQ(log.Lines()[1].rfind("# Storm origin 0.50, Storm end ", 0), 0u);
  EXPECT_EQ(log.Lines()[2],
            log.Formatted("# Cell Number %d, Cell origin %f, Cell duration %f, Cell intensity %f", 1, 0.5,
                          storm[1].duration, storm[1].intensity));
}

TEST_F(EngineTest, StormsAreQuietBelowLevelThree) {
  Storm storm;
  engine.GenerateStorm(storm, false, 0.0);
  EXPECT_TRUE(log.Lines().empty());
}

TEST_F(EngineTest, AStormOfMoreThanAThousandCellsIsARangeError) {
  S().Parameters.Alpha = 100;
  S().Parameters.Nu = 1;
  S().Parameters.Kappa = 1e6;  // cells arrive a million times faster than they end
  S().Parameters.Phi = 1e-3;
  Storm storm;
  try {
    engine.GenerateStorm(storm, false, 0.0);
    ADD_FAILURE() << "no error";
  } catch (const RangeError& e) {
    EXPECT_STREQ(
        e.what(),
        "The model parameters Kappa and Phi give storms of 1000000000 cells on average (1 + Kappa/Phi), "
        "and this storm needed more than the 1000 cells a storm holds: the step ends. With Kappa/Phi "
        "below 47 no storm of a run comes near it.");
  }
}

// Mean of many intensities within five standard errors of MuX.
void ExpectMeanIntensity(EngineCore& engine, bool gamma, double sd) {
  const int n = 100000;
  double sum = 0;
  for (int i = 0; i < n; ++i) sum += engine.DrawIntensity(gamma);
  EXPECT_NEAR(sum / n, engine.State().Parameters.MuX, 5 * sd / std::sqrt(n));
}

TEST_F(EngineTest, CellIntensitiesAverageMuX) {
  S().Parameters.MuX = 24;
  ExpectMeanIntensity(engine, false, 24);
  S().Parameters.SigmaX = 10;
  ExpectMeanIntensity(engine, true, 10);
  S().Parameters.SigmaX = 60;
  ExpectMeanIntensity(engine, true, 60);
}

TEST_F(EngineTest, RegenerateIntensitiesKeepsTheTimingAndRecomputesTheDays) {
  S().Storms = MakeStorms({{{0.2, 0.3, 1.0}, {0.4, 0.9, 1.0}}});
  S().SyntheticDaily.Count = 2;
  engine.RegenerateIntensities(false);
  const StormSet& set = S().Storms;
  EXPECT_EQ(set[1][2].origin, 0.4);
  EXPECT_EQ(set[1][2].duration, 0.9);
  EXPECT_NE(set[1][1].intensity, 1.0);
  EXPECT_DOUBLE_EQ(S().SyntheticDaily[1], 0.3 * set[1][1].intensity + 0.6 * set[1][2].intensity);
  EXPECT_DOUBLE_EQ(S().SyntheticDaily[2], 0.3 * set[1][2].intensity);
}

}  // namespace
}  // namespace nimbra
