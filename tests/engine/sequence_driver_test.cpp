#include <sstream>

#include "engine_fixture.h"

namespace nimbra {
namespace {

int DayIndex(const SequenceDate& date, int daysPerMonth) { return date.Period * daysPerMonth + date.Day; }

bool StartsWith(const std::string& line, const std::string& prefix) { return line.rfind(prefix, 0) == 0; }

TEST_F(EngineTest, FirstTestStepAtLevelZeroLogsOnlyItsResults) {
  engine.NextSequence();
  const auto& lines = log.Lines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], "Sequence #1");
  EXPECT_EQ(lines[1], log.Formatted("* Wet day sequence length: %d", S().OriginalDaily.Count));
  EXPECT_TRUE(StartsWith(lines[2], "@ Found W/D sequence at attempt No. "));
  EXPECT_TRUE(StartsWith(lines[3], "& Repetitions performed "));
  for (std::size_t i = 4; i < lines.size(); ++i) {
    const bool expected = lines[i] == "Entering repetition level 4 ..." || StartsWith(lines[i], "@ Found") ||
                          StartsWith(lines[i], "& Repetitions performed ");
    EXPECT_TRUE(expected) << lines[i];
  }
  EXPECT_EQ(S().PreviousDays, 0);
  EXPECT_EQ(S().SequenceStart, (SequenceDate{24, 0, 1}));  // the first start drawn by the reset
}

TEST_F(EngineTest, ProgressLevelAnnouncesTheSynthesis) {
  SetDetailLevel(2);
  engine.NextSequence();
  EXPECT_EQ(log.Lines()[1], "* Synthesising the \"original\" sequence ...");
  EXPECT_EQ(log.Lines()[2], "* Storm No. 1");
}

TEST_F(EngineTest, SyntheticSequencesFollowEachOtherWithADryDayBetween) {
  S().OriginalHourlyAvailable = true;
  int previousLength = 0;
  for (int step = 1; step <= 40; ++step) {
    engine.NextSequence();
    const int length = S().OriginalDaily.Count;
    EXPECT_EQ(S().PreviousDays, previousLength);
    EXPECT_GE(DayIndex(S().NextStart, 31) - DayIndex(S().SequenceStart, 31), length + 1);
    EXPECT_GE(S().NextStart.Day, 1);
    EXPECT_LE(S().NextStart.Day, 31);
    EXPECT_EQ(S().OriginalHourly.Count, 24 * length);
    previousLength = length;
  }
  EXPECT_TRUE(ui.messages.empty());  // no date-order message in test mode
}

TEST_F(EngineTest, CalendarRollsOverIntoTheNextPeriod) {
  S().NextStart = {35, 0, 1};
  engine.NextSequence();
  EXPECT_EQ(S().SequenceStart, (SequenceDate{35, 0, 1}));
  // The closing storm stays in the working set just past the original's storms.
  const double closingOrigin = S().Storms[S().OriginalStorms.Count + 1][1].origin;
  const int advance = std::max(static_cast<int>(closingOrigin), S().OriginalDaily.Count + 1);
  EXPECT_EQ(S().NextStart, (SequenceDate{35 + advance - 31, 0, 2}));
}

TEST_F(EngineTest, ConstantLengthGivesSequencesOfThatLength) {
  S().Options.UseConstLength = true;
  S().Options.ConstLength = 3;
  const SequenceDate start = S().SequenceStart;
  for (int step = 0; step < 5; ++step) {
    engine.NextSequence();
    EXPECT_EQ(S().OriginalDaily.Count, 3);
    EXPECT_EQ(S().SequenceStart, start);
    EXPECT_EQ(S().NextStart.Day, start.Day + 4);
  }
}

TEST_F(EngineTest, StepsAreReproducibleFromTheSeed) {
  auto run = [this] {
    S().Options.RandomSeed = 17;
    SetDetailLevel(1);
    engine.InitialiseRun();
    for (int i = 0; i < 5; ++i) engine.NextSequence();
    return log.Text();
  };
  const std::string first = run();
  EXPECT_EQ(run(), first);
}

TEST_F(EngineTest, OutOfOrderRecordsEndTheStepAfterTheMessage) {
  std::istringstream input("5 1 3 4.0\r\n2 1 3 5.0\r\n");
  std::ostringstream output;
  S().InputFile = &input;
  S().ReadFromFile = true;
  S().OutputFile = &output;
  S().WriteToFile = true;
  engine.InitialiseRun();
  engine.ReadInputHeader();
  EXPECT_TRUE(engine.NextSequence());
  const std::string firstStep = output.str();
  EXPECT_EQ(firstStep.substr(0, 13), "\r\n  5  1    3");
  EXPECT_FALSE(engine.NextSequence());
  EXPECT_EQ(output.str(), firstStep);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0],
            "Error: The records in input file are not in increasing order of date\r\n"
            "Please correct the error and try again");
  EXPECT_EQ(S().AllValuesCount, 5 * 24);
  EXPECT_TRUE(engine.NextSequence());
  EXPECT_EQ(log.LastLine(), "End of input file");
}

TEST_F(EngineTest, BadRateStopsTheStepBeforeItCounts) {
  S().Parameters.MuX = -1;
  EXPECT_THROW(engine.NextSequence(), InvalidArgument);
  EXPECT_EQ(S().SequenceNumber, 0);
  EXPECT_TRUE(log.Lines().empty());
}

}  // namespace
}  // namespace nimbra
