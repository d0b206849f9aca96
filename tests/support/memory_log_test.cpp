#include "memory_log.h"

#include <gtest/gtest.h>

namespace nimbra {
namespace {

TEST(MemoryLog, FormattedLinesAndLineBreaks) {
  MemoryLog log;
  EXPECT_EQ(log.LastLine(), "");
  log.AddLineFmt("Sequence #%d", 7);
  log.AddLineFmt("& Repetitions performed %d - Distance %f", 12, 0.0934);
  log.AddLine("\r\nWet days");
  ASSERT_EQ(log.Lines().size(), 4u);
  EXPECT_EQ(log.Lines()[0], "Sequence #7");
  EXPECT_EQ(log.Lines()[1], "& Repetitions performed 12 - Distance 0.09");
  EXPECT_EQ(log.Lines()[2], "");
  EXPECT_EQ(log.LastLine(), "Wet days");
  EXPECT_EQ(log.Text(), "Sequence #7\r\n& Repetitions performed 12 - Distance 0.09\r\n\r\nWet days");
}

TEST(MemoryLog, ReplaceLastLineAndClear) {
  MemoryLog log;
  log.ReplaceLastLine("ignored on an empty log");
  EXPECT_TRUE(log.Lines().empty());
  log.AddLine("@ one");
  log.AddLine("@ two");
  log.ReplaceLastLine("$ pattern");
  ASSERT_EQ(log.Lines().size(), 2u);
  EXPECT_EQ(log.LastLine(), "$ pattern");
  log.ClearText();
  EXPECT_TRUE(log.Lines().empty());
  EXPECT_EQ(log.LastLine(), "");
}

TEST(MemoryLog, FullLogDropsTheOldestLines) {
  MemoryLog log(3);
  for (int i = 1; i <= 3; ++i) log.AddLineFmt("line %d", i);
  log.AddLine("line 4");
  ASSERT_EQ(log.Lines().size(), 3u);
  EXPECT_EQ(log.Lines().front(), "line 2");
  log.AddLine("a\nb");
  EXPECT_EQ(log.Text(), "line 4\r\na\r\nb");
}

TEST(MemoryLog, ZeroCapacityTakesNothingAndDoesNotLoop) {
  MemoryLog log(0);
  log.AddLine("anything");
  EXPECT_TRUE(log.Lines().empty());
}

TEST(MemoryLog, DecimalSeparatorOfTheLog) {
  struct CommaLog : MemoryLog {
    std::string DecimalSeparator() const override { return ","; }
  } log;
  log.AddLineFmt("Distance %f, %g", 0.125, 2.5e-5);
  EXPECT_EQ(log.LastLine(), "Distance 0,13, 2,5E-5");
}

}  // namespace
}  // namespace nimbra
