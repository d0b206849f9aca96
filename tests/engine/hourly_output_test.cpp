#include <cmath>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <string>

#include "engine_fixture.h"

namespace nimbra {
namespace {

std::string Zeros(int n) {
  std::string text;
  for (int k = 0; k < n; ++k) text += "  0.00";
  return text;
}

const std::string kSecondLine = "\r\n" + std::string(17, ' ');

class HourlyOutputTest : public EngineTest {
 protected:
  HourlyOutputTest() {
    S().ReadFromFile = true;
    S().OutputFile = &out;
  }

  // A sequence of dry hours; SyntheticDaily holds 99 so that a wrong choice of total shows.
  void SetSequence(SequenceDate start, int days) {
    S().SequenceStart = start;
    S().SyntheticHourly.Count = 24 * days;
    for (int h = 1; h <= 24 * days; ++h) S().SyntheticHourly[h] = 0;
    S().OriginalDaily.Count = S().SyntheticDaily.Count = days;
    for (int d = 1; d <= days; ++d) S().OriginalDaily[d] = S().SyntheticDaily[d] = 99;
  }

  std::ostringstream out;
};

TEST_F(HourlyOutputTest, ThreeDaysTakeSixLinesEachBreakBeforeItsLine) {
  SetSequence({7, 2, 1990}, 3);
  auto& h = S().SyntheticHourly;
  h[1] = 1.5, h[12] = 0.25, h[13] = 2, h[24] = 0.004;
  h[26] = 10, h[48] = 0.125;
  h[62] = 7.777;
  S().OriginalDaily[1] = 3.754, S().OriginalDaily[2] = 10.125, S().OriginalDaily[3] = 7.777;
  engine.WriteHourlyOutput();
  EXPECT_EQ(out.str(), "\r\n  7  2 1990  3.75  1.50" + Zeros(10) + "  0.25" +  //
                           kSecondLine + "  2.00" + Zeros(11) +                //
                           "\r\n  8  2 1990 10.13  0.00 10.00" + Zeros(10) +   //
                           kSecondLine + Zeros(11) + "  0.13" +                //
                           "\r\n  9  2 1990  7.78" + Zeros(12) +               //
                           kSecondLine + "  0.00  7.78" + Zeros(10));
}

TEST_F(HourlyOutputTest, WithoutAdjustmentTheSyntheticTotalsAreWritten) {
  SetSequence({1, 0, 3}, 1);
  S().Options.PerformAdjustment = false;
  S().SyntheticDaily[1] = 4.5;
  engine.WriteHourlyOutput();
  EXPECT_EQ(out.str(), "\r\n  1  0    3  4.50" + Zeros(12) + kSecondLine + Zeros(12));
}

std::string DayLines(const std::string& date, const std::string& total) {
  return "\r\n" + date + total + Zeros(12) + kSecondLine + Zeros(12);
}

TEST_F(HourlyOutputTest, TestModeRollsDaysOverIntoTheNextPeriod) {
  SetSequence({30, 0, 4}, 3);
  S().Options.DaysPerMonth = 31;
  S().OriginalDaily[1] = 1, S().OriginalDaily[2] = 2, S().OriginalDaily[3] = 3;
  S().ReadFromFile = false;
  engine.WriteHourlyOutput();
  EXPECT_EQ(out.str(), DayLines(" 30  0    4", "  1.00") + DayLines(" 31  0    4", "  2.00") +
                           DayLines("  1  0    5", "  3.00"));
  out.str("");
  S().ReadFromFile = true;
  engine.WriteHourlyOutput();
  EXPECT_EQ(out.str(), DayLines(" 30  0    4", "  1.00") + DayLines(" 31  0    4", "  2.00") +
                           DayLines(" 32  0    4", "  3.00"));
}

TEST_F(HourlyOutputTest, ShortPeriodsRollOverOnEveryDay) {
  SetSequence({1, 0, 4}, 3);
  S().ReadFromFile = false;
  S().Options.DaysPerMonth = 1;
  engine.WriteHourlyOutput();
  EXPECT_EQ(out.str(), DayLines("  1  0    4", " 99.00") + DayLines("  1  0    5", " 99.00") +
                           DayLines("  1  0    6", " 99.00"));
  S().Options.DaysPerMonth = 0;
  EXPECT_THROW(engine.WriteHourlyOutput(), InvalidArgument);
}

TEST_F(HourlyOutputTest, LongNumbersWidenTheirFields) {
  SetSequence({1, -3, 5}, 1);
  auto& h = S().SyntheticHourly;
  h[1] = 100, h[2] = 1234.5, h[3] = -0.5;
  S().OriginalDaily[1] = 123.45;
  engine.WriteHourlyOutput();
  SetSequence({1000, 12345, 123456}, 1);
  S().OriginalDaily[1] = 0;
  engine.WriteHourlyOutput();
  EXPECT_EQ(out.str(), "\r\n  1 -3    5123.45100.001234.50 -0.50" + Zeros(9) + kSecondLine + Zeros(12) +
                           DayLines("100012345123456", "  0.00"));
}

TEST_F(HourlyOutputTest, EmptySequenceWritesNothing) {
  SetSequence({1, 0, 5}, 0);
  engine.WriteHourlyOutput();
  EXPECT_EQ(out.str(), "");
  S().OutputFile = nullptr;
  EXPECT_THROW(engine.WriteHourlyOutput(), InvalidArgument);
}

TEST_F(HourlyOutputTest, NonFiniteDepthsFailTheStepAndWriteNothing) {
  const double nan = std::nan("");
  const struct {
    double* value;
    double bad;
  } cases[] = {{&S().SyntheticHourly[30], nan},
               {&S().SyntheticHourly[1], INFINITY},
               {&S().OriginalDaily[2], -INFINITY}};
  for (const auto& c : cases) {
    SetSequence({7, 2, 1990}, 2);
    *c.value = c.bad;
    try {
      engine.WriteHourlyOutput();
      ADD_FAILURE() << "no error for " << c.bad;
    } catch (const FloatingPointError& e) {
      EXPECT_STREQ(
          e.what(),
          "The depths computed for the sequence from day 7, tag 2, period 1990 are not all finite numbers: "
          "nothing of it is written to the output file.");
    }
    EXPECT_EQ(out.str(), "");
  }
}

const char* const kFullDisk =
    "Cannot write to the output file \"/dev/full\": the disk may be full or the file no longer writable.";

TEST_F(HourlyOutputTest, FullDiskRaisesAnInputOutputError) {
  std::ofstream full("/dev/full");
  ASSERT_TRUE(full.is_open());
  S().OutputFile = &full;
  S().OutputFileName = "/dev/full";
  SetSequence({1, 0, 5}, 1);
  try {
    engine.WriteHourlyOutput();
    ADD_FAILURE() << "no error on a full disk";
  } catch (const InOutError& e) {
    EXPECT_STREQ(e.what(), kFullDisk);
  }
}

// Takes the first bytes up to its room and refuses the rest, as a disk that fills up.
class FillingBuffer : public std::streambuf {
 public:
  explicit FillingBuffer(std::size_t room) : room_(room) {}
  std::string written;

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    if (written.size() == room_) return traits_type::eof();
    written += traits_type::to_char_type(c);
    return c;
  }

 private:
  std::size_t room_;
};

TEST_F(HourlyOutputTest, WhatWasWrittenBeforeAFailureStays) {
  const std::string firstDay = DayLines("  1  0    5", " 99.00");
  FillingBuffer disk(firstDay.size() + 10);
  std::ostream file(&disk);
  S().OutputFile = &file;
  S().OutputFileName = "/dev/full";
  SetSequence({1, 0, 5}, 1);
  engine.WriteHourlyOutput();
  S().SequenceStart.Day = 3;
  EXPECT_THROW(engine.WriteHourlyOutput(), InOutError);
  EXPECT_EQ(disk.written, firstDay + "\r\n  3  0  ");  // ten bytes of the second day
}

TEST_F(HourlyOutputTest, WrittenFileReadsBackWithAnHourlyHeader) {
  SetSequence({14, 3, 2001}, 2);
  for (int h = 1; h <= 48; ++h) S().SyntheticHourly[h] = (h % 9) * 0.25;
  S().SyntheticHourly[5] = 0.1;
  S().SyntheticHourly[30] = 12.34;
  S().OriginalDaily[1] = 23.5, S().OriginalDaily[2] = 7.05;
  engine.WriteHourlyOutput();

  std::istringstream file("H 0\r\n" + out.str());
  S().InputFile = &file;
  engine.ReadInputHeader();
  HourlySeries hourly;
  DailySeries daily;
  engine.ReadNextWetSequence(hourly, daily);
  EXPECT_EQ(S().SequenceStart, (SequenceDate{14, 3, 2001}));
  ASSERT_EQ(daily.Count, 2);
  EXPECT_EQ(daily[1], 23.5);
  EXPECT_EQ(daily[2], 7.05);
  ASSERT_EQ(hourly.Count, 48);
  for (int h = 1; h <= 48; ++h) EXPECT_EQ(hourly[h], S().SyntheticHourly[h]) << "hour " << h;
  engine.ReadNextWetSequence(hourly, daily);
  EXPECT_TRUE(S().EndOfInput);
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace nimbra
