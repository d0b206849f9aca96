#include <cmath>

#include "engine_fixture.h"

namespace nimbra {
namespace {

TEST_F(EngineTest, LogDistanceIsTheWorstDay) {
  SetTarget({10.0, 0.2, 5.0});
  S().SyntheticDaily.Count = 3;
  S().SyntheticDaily[1] = 9.0;
  S().SyntheticDaily[2] = 0.0;
  S().SyntheticDaily[3] = 5.0;
  EXPECT_NEAR(engine.LogDistance(1, 1), 0.104, 5e-4);
  EXPECT_NEAR(engine.LogDistance(2, 2), std::log(3.0), 1e-12);
  EXPECT_NEAR(engine.LogDistance(1, 3), 1.099, 5e-4);
  EXPECT_EQ(engine.LogDistance(3, 3), 0.0);
  EXPECT_EQ(engine.LogDistance(2, 1), 0.0);
}

TEST_F(EngineTest, OneRepetitionAllowedEvaluatesOnce) {
  S().Options.RepAllowed = 1;
  SetTarget({12.0, 3.0});
  const bool ok = engine.RepeatSequence();
  const double d = engine.LogDistance(1, 2);
  EXPECT_EQ(ok, d < 0.1);
  EXPECT_EQ(log.LastLine(), log.Formatted("& Repetitions performed %d - Distance %f", 1, d));
}

TEST_F(EngineTest, RepetitionsStopAtTheDistanceAllowed) {
  SetTarget({8.0});
  ASSERT_TRUE(engine.RepeatSequence());
  EXPECT_LT(engine.LogDistance(1, 1), 0.1);
  EXPECT_EQ(log.LastLine().rfind("& Repetitions performed ", 0), 0u);
}

TEST_F(EngineTest, NoNewStormSetWhenTheMinimumExceedsTheRepetitionsAllowed) {
  S().Options.RepLevel1Min = 10000;  // above RepAllowed: no new storm set is ever searched
  S().Options.RepAllowed = 300;
  S().Options.RepDistanceAllowed = 0;  // never reached
  SetTarget({30.0, 1.0});
  EXPECT_FALSE(engine.RepeatSequence());
  EXPECT_EQ(log.Lines().size(), 2u);  // one found line, one repetitions line
}

TEST(StormSets, MergeShiftsTheSecondSet) {
  const StormSet first = MakeStorms({{{0.1, 0.5, 1.0}}});
  const StormSet second = MakeStorms({{{0.3, 0.2, 2.0}, {0.4, 0.1, 3.0}}, {{0.9, 0.05, 4.0}}});
  StormSet out;
  EngineCore::MergeStormSets(first, second, 1, out);
  ASSERT_EQ(out.Count, 3);
  EXPECT_EQ(out[1][1].origin, 0.1);
  EXPECT_EQ(out[2][1].origin, 1.3);
  EXPECT_EQ(out[2][2].origin, 1.4);
  EXPECT_EQ(out[2][2].duration, 0.1);
  EXPECT_EQ(out[2][2].intensity, 3.0);
  EXPECT_EQ(out[3][1].origin, 1.9);

  StormSet many;
  many.Count = 30;
  try {
    EngineCore::MergeStormSets(many, many, 1, out);
    FAIL() << "60 storms merged into a set of 50";
  } catch (const RangeError& e) {
    EXPECT_STREQ(e.what(),
                 "The two parts of the split sequence need 60 storms together, more than the 50 a sequence "
                 "holds: Lambda puts too many storms in these days, and the step ends.");
  }
}

TEST(StormSets, SplitAndJoinDailyRoundTrip) {
  DailySeries saved;
  saved.Count = 5;
  for (int k = 1; k <= 5; ++k) saved[k] = k * 1.5;
  DailySeries first, second, joined;
  EngineCore::SplitDaily(saved, 2, first, second);
  EXPECT_EQ(first.Count, 2);
  EXPECT_EQ(second.Count, 3);
  EXPECT_EQ(second[1], 4.5);
  EngineCore::JoinDaily(first, second, joined);
  ASSERT_EQ(joined.Count, 5);
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(joined[k], saved[k]);
}

TEST_F(EngineTest, SplittingKeepsTheTargetAndCoversEveryDay) {
  S().Options.RepAllowed = 20;  // too few to match five days at once
  SetTarget({2.0, 40.0, 0.5, 12.0, 3.0});
  engine.SplitAndRepeat();
  ASSERT_EQ(S().OriginalDaily.Count, 5);
  EXPECT_EQ(S().OriginalDaily[2], 40.0);
  engine.FinishSequence();
  for (int k = 1; k <= 5; ++k) {
    double sum = 0;
    for (int h = (k - 1) * 24 + 1; h <= k * 24; ++h) sum += S().SyntheticHourly[h];
    EXPECT_NEAR(sum, S().OriginalDaily[k], 1e-9 * S().OriginalDaily[k]) << "day " << k;
  }
}

TEST_F(EngineTest, SplittingAOneDayTargetThatNeverFitsStopsAtTheDepthLimit) {
  S().Options.RepAllowed = 2;
  S().Options.RepDistanceAllowed = 0;
  SetTarget({5.0});
  engine.SplitAndRepeat();
  int repetitionLines = 0;
  for (const auto& line : log.Lines()) repetitionLines += line.rfind("& ", 0) == 0;
  EXPECT_EQ(repetitionLines, kSplitDepthLimit);
  EXPECT_EQ(S().OriginalDaily.Count, 1);
  EXPECT_GE(S().Storms.Count, 1);
  EXPECT_EQ(ui.messages, std::vector<std::string>{kNearestStormsKept});
}

// The set kept at the depth limit is the nearest of every loop on its target, whose
// distances the log lines give, not the last one drawn.
TEST_F(EngineTest, TheDepthLimitKeepsTheNearestStormSetOfItsTarget) {
  S().Options.RepAllowed = 40;
  S().Options.RepDistanceAllowed = 0;
  SetTarget({105.6});
  engine.SplitAndRepeat();
  const std::string loop = "& Repetitions performed 40 - Distance ";
  double nearestLogged = 1e100;
  for (const auto& line : log.Lines()) {
    if (line.starts_with(loop)) nearestLogged = std::min(nearestLogged, std::stod(line.substr(loop.size())));
  }
  EXPECT_NEAR(S().KeptDistance, nearestLogged, 0.005);
  engine.FinishSequence();
  EXPECT_NEAR(std::fabs(std::log(105.7 / (S().SyntheticDaily[1] + 0.1))), S().KeptDistance, 1e-12);
}

TEST_F(EngineTest, AdjustmentOffKeepsTheStormDepths) {
  S().Options.PerformAdjustment = false;
  SetTarget({6.0, 9.0});
  Disaggregate();
  for (int k = 1; k <= 2; ++k) {
    double sum = 0;
    for (int h = (k - 1) * 24 + 1; h <= k * 24; ++h) sum += S().SyntheticHourly[h];
    EXPECT_NEAR(sum, S().SyntheticDaily[k], 1e-12);
  }
}

}  // namespace
}  // namespace nimbra
