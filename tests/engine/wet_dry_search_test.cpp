#include "engine_fixture.h"

namespace nimbra {
namespace {

// One storm per listed day range: a cell covering days [from, to).
StormSet WetDays(const std::vector<std::pair<double, double>>& ranges) {
  std::vector<std::vector<Cell>> storms;
  for (const auto& [from, to] : ranges) storms.push_back({{from, to - from, 1.0}});
  return MakeStorms(storms);
}

TEST_F(EngineTest, ExactRunNeedsNWetDaysThenADryDay) {
  S().PrintProgress = true;
  S().Storms = WetDays({{0.2, 2.5}});
  int n = 3;
  EXPECT_TRUE(engine.CheckWetDrySequence(n, WetDryMode::ExactRun));
  EXPECT_EQ(n, 3);
  EXPECT_EQ(log.LastLine(), "$ Wet/dry day sequence: WWWD");
  n = 2;
  EXPECT_FALSE(engine.CheckWetDrySequence(n, WetDryMode::ExactRun));
  EXPECT_EQ(log.LastLine(), "$ Wet/dry day sequence: WWW");
  // A cell ending exactly at a day's start makes that day wet.
  S().Storms = WetDays({{0.5, 1.0}});
  n = 1;
  EXPECT_FALSE(engine.CheckWetDrySequence(n, WetDryMode::ExactRun));
}

TEST_F(EngineTest, OpenRunEndsAtTheFirstDryDayAndNeedsALaterWetOne) {
  S().Storms = WetDays({{0.5, 2.5}, {5.2, 5.4}});
  int n = 0;
  EXPECT_TRUE(engine.CheckWetDrySequence(n, WetDryMode::OpenRun));
  EXPECT_EQ(n, 3);

  S().Storms = WetDays({{0.5, 2.5}});
  EXPECT_FALSE(engine.CheckWetDrySequence(n, WetDryMode::OpenRun));

  S().Storms = WetDays({{0.5, 28.5}});  // days 1 to 28 wet: day 29 is not looked at
  EXPECT_FALSE(engine.CheckWetDrySequence(n, WetDryMode::OpenRun));
  EXPECT_EQ(n, 29);

  S().Storms = WetDays({{0.5, 2.5}, {30.5, 30.6}});  // a last storm after day 30 closes the run
  EXPECT_TRUE(engine.CheckWetDrySequence(n, WetDryMode::OpenRun));
  EXPECT_EQ(n, 3);
}

TEST_F(EngineTest, SplitPointIsTheFirstDryDay) {
  S().Storms = WetDays({{0.5, 5.5}});
  int n = 5;
  EXPECT_TRUE(engine.CheckWetDrySequence(n, WetDryMode::SplitPoint));
  EXPECT_EQ(n, 5);
  S().Storms = WetDays({{0.5, 1.5}, {3.1, 4.0}});
  EXPECT_TRUE(engine.CheckWetDrySequence(n, WetDryMode::SplitPoint));
  EXPECT_EQ(n, 2);
}

TEST_F(EngineTest, SearchFindsTheWetDaysAndLogsItsProgress) {
  S().PrintProgress = true;
  int n = 3;
  engine.SeekWetDrySequence(n, false);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(log.Lines().front(), "@ Seeking for an appropriate sequence of wet/dry days ...");
  EXPECT_EQ(log.Lines()[1], "@ Attempt No. 1");
  const int found = S().Attempts - 1;
  EXPECT_EQ(log.LastLine(), log.Formatted("@ Found W/D sequence at attempt No. %d; wet days: %d", found, 3));
  EXPECT_EQ(log.Lines()[log.Lines().size() - 2], "$ Wet/dry day sequence: WWWD");
  EXPECT_EQ(S().SyntheticDaily.Count, 3);
  for (int d = 1; d <= 3; ++d) EXPECT_GT(S().SyntheticDaily[d], 0.0);
  int n2 = 3;
  EXPECT_TRUE(engine.CheckWetDrySequence(n2, WetDryMode::ExactRun));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(EngineTest, SearchesInARowLeaveOneFoundLine) {
  for (int i = 0; i < 3; ++i) {
    int n = 2;
    engine.SeekWetDrySequence(n, false);
  }
  ASSERT_EQ(log.Lines().size(), 1u);
  EXPECT_EQ(log.LastLine().rfind("@ Found W/D sequence at attempt No. ", 0), 0u);
}

TEST_F(EngineTest, ExhaustedSearchShowsTheMessageOnceAndGoesOn) {
  S().Options.RepAllowed = 1;
  S().Parameters.Phi = 1000;  // storms end at once: three wet days in a row cannot happen
  S().Parameters.Lambda = 0.01;
  int n = 3;
  engine.SeekWetDrySequence(n, false);
  EXPECT_EQ(S().Attempts, 11);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(
      ui.messages[0],
      "Impossible to construct a storm with the desired properties\r\nSubsequent results can be incorrect");
  EXPECT_TRUE(log.Lines().empty());
}

TEST_F(EngineTest, AnAttemptNeedingAFiftyFirstStormFailsInsteadOfStopping) {
  S().Options.RepAllowed = 1;
  S().Parameters.Lambda = 40;  // some 120 storms in three days
  S().PrintStormNumbers = true;
  int n = 3;
  EXPECT_NO_THROW(engine.SeekWetDrySequence(n, false));
  EXPECT_EQ(S().Attempts, 11);
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(S().Storms.Count, 50);
  EXPECT_EQ(log.LastLine(), "@ Storm No. 50");
}

}  // namespace
}  // namespace nimbra
