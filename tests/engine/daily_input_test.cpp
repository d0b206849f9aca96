#include <sstream>
#include <string>
#include <vector>

#include "engine_fixture.h"

namespace nimbra {
namespace {

// A sequence as the driver receives it: its first day and its daily depths.
struct Delivered {
  int day, tag, period;
  std::vector<double> depths;
  bool operator==(const Delivered&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Delivered& d) {
  os << "{" << d.day << " " << d.tag << " " << d.period << ":";
  for (double v : d.depths) os << " " << v;
  return os << "}";
}

using Sequences = std::vector<Delivered>;

// 24 hourly values first, first + 1, ... as they stand in a record.
std::string HoursText(int first) {
  std::string text;
  for (int r = 0; r < 24; ++r) text.append(" ").append(std::to_string(first + r));
  return text;
}

const std::string kCtrlZ(1, '\x1a');
const char* const kParameters = "30 0.5 0.1 0.05 4 2.5 6 3";

class DailyInputTest : public EngineTest {
 protected:
  DailyInputTest() { S().ReadFromFile = true; }

  void Open(const std::string& text) {
    file.str(text);
    file.clear();
    S().InputFile = &file;
    engine.InitialiseRun();
    engine.ReadInputHeader();
  }

  bool Request() {
    engine.ReadNextWetSequence(S().OriginalHourly, S().OriginalDaily);
    return !S().EndOfInput;
  }

  Delivered Current() {
    Delivered d{S().SequenceStart.Day, S().SequenceStart.Tag, S().SequenceStart.Period, {}};
    for (int k = 1; k <= S().OriginalDaily.Count; ++k) d.depths.push_back(S().OriginalDaily[k]);
    return d;
  }

  // Requests sequences as the driver does, up to the end of the input.
  Sequences ReadAll() {
    Sequences all;
    for (int step = 0; step < 100 && Request(); ++step) all.push_back(Current());
    EXPECT_TRUE(S().EndOfInput) << "the input never ended";
    return all;
  }

  Sequences ReadText(const std::string& text) {
    Open(text);
    return ReadAll();
  }

  std::istringstream file;
};

TEST_F(DailyInputTest, RecordsWithoutHeaderGiveWetSequencesOnly) {
  EXPECT_EQ(ReadText("1 1 5 2.5\r\n2 1 5 0\r\n3 1 5 1.25\r\n4 1 5 3\r\n"),
            (Sequences{{1, 1, 5, {2.5}}, {3, 1, 5, {1.25, 3.0}}}));
  EXPECT_FALSE(S().OriginalHourlyAvailable);
  EXPECT_EQ(S().OriginalHourly.Count, 48);
  EXPECT_EQ(ui.disables, 1);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.reloads, 0);
}

TEST_F(DailyInputTest, EachRequestRemembersThePreviousSequence) {
  Open("3 2 7 1.0\r\n4 2 7 2.0\r\n9 2 7 3.0");
  S().OriginalDaily.Count = 5;  // left from an earlier run
  ASSERT_TRUE(Request());
  // The run begins with an empty sequence on day 1 of the first wet record's period.
  EXPECT_EQ(S().PreviousStart, (SequenceDate{1, 2, 7}));
  EXPECT_EQ(S().PreviousDays, 0);
  EXPECT_EQ(S().SequenceStart, (SequenceDate{3, 2, 7}));
  ASSERT_TRUE(Request());
  EXPECT_EQ(S().PreviousStart, (SequenceDate{3, 2, 7}));
  EXPECT_EQ(S().PreviousDays, 2);
  EXPECT_EQ(S().SequenceStart, (SequenceDate{9, 2, 7}));
  EXPECT_FALSE(Request());
  // The end leaves the last sequence in place.
  EXPECT_EQ(Current(), (Delivered{9, 2, 7, {3.0}}));
  EXPECT_EQ(S().OriginalHourly.Count, 24);
}

TEST_F(DailyInputTest, DailyHeaderSkipsValuesBeforeTheDepth) {
  EXPECT_EQ(ReadText("D 2\r\n1 1 5 99 98 4.5\r\n2 1 5 0 7 0\r\n"), (Sequences{{1, 1, 5, {4.5}}}));
  EXPECT_EQ(S().SkipCount, 2);
  EXPECT_FALSE(S().OriginalHourlyAvailable);
}

TEST_F(DailyInputTest, HourlyHeaderDeliversTheHoursOfEachDay) {
  for (const char* letter : {"H", "h"}) {
    EXPECT_EQ(ReadText(std::string(letter) + " 1\r\n1 4 5 -1 300" + HoursText(1) + "\r\n2 4 5 -1 2900" +
                       HoursText(101) + "\r\n"),
              (Sequences{{1, 4, 5, {300.0, 2900.0}}}));
    EXPECT_TRUE(S().OriginalHourlyAvailable);
    ASSERT_EQ(S().OriginalHourly.Count, 48);
    for (int r = 1; r <= 24; ++r) {
      EXPECT_EQ(S().OriginalHourly[r], r);
      EXPECT_EQ(S().OriginalHourly[24 + r], 100 + r);
    }
  }
}

TEST_F(DailyInputTest, HeaderLetterFollowedByAWordSkipsNothing) {
  EXPECT_EQ(ReadText("Hourly rain at the airport, 3 gauges\r\n1 1 5 2" + HoursText(1)),
            (Sequences{{1, 1, 5, {2.0}}}));
  EXPECT_EQ(S().SkipCount, 0);
  EXPECT_TRUE(S().OriginalHourlyAvailable);
  EXPECT_EQ(ReadText("d1 values\r\n1 1 5 7 2\r\n"), (Sequences{{1, 1, 5, {2.0}}}));
  EXPECT_EQ(S().SkipCount, 1);
}

TEST_F(DailyInputTest, FileStartingWithADigitHasNoHeader) {
  Open("D 2\r\n1 1 5 9 9 4.5\r\n");
  ASSERT_EQ(S().SkipCount, 2);
  EXPECT_EQ(ReadText("1 1 5 4.5\r\n"), (Sequences{{1, 1, 5, {4.5}}}));
  EXPECT_EQ(S().SkipCount, 0);
  // Any other first letter is no header either: the line is read as a record.
  EXPECT_EQ(ReadText("X 2\r\n1 1 5 4.5\r\n"), (Sequences{}));
  EXPECT_EQ(ui.messages, (std::vector<std::string>{"Invalid number \"X\" for Day in line 1 of the input "
                                                   "file: an integer is expected; the input ends there."}));
}

void ExpectParameters(const EngineState& s) {
  EXPECT_EQ(s.Options.DaysPerMonth, 30);
  EXPECT_EQ(s.Parameters.Lambda, 0.5);
  EXPECT_EQ(s.Parameters.Kappa, 0.1);
  EXPECT_EQ(s.Parameters.Phi, 0.05);
  EXPECT_EQ(s.Parameters.Alpha, 4.0);
  EXPECT_EQ(s.Parameters.Nu, 2.5);
  EXPECT_EQ(s.Parameters.MuX, 6.0);
  EXPECT_EQ(s.Parameters.SigmaX, 3.0);
}

TEST_F(DailyInputTest, ParametersLineSetsTheModelAndReloadsTheDialog) {
  EXPECT_EQ(ReadText(std::string("D 0\r\n   P ") + kParameters + "\r\n1 1 5 2\r\n"),
            (Sequences{{1, 1, 5, {2.0}}}));
  ExpectParameters(S());
  EXPECT_EQ(ui.reloads, 1);
  EXPECT_EQ(ReadText(std::string("p ") + kParameters + "\r\n2 1 5 3\r\n"), (Sequences{{2, 1, 5, {3.0}}}));
  ExpectParameters(S());
  EXPECT_EQ(ui.reloads, 2);
}

TEST_F(DailyInputTest, BlankLinesMayStandAnywhereInTheHeader) {
  for (const std::string& text :
       {std::string("D 0\r\n\r\nP ") + kParameters + "\r\n1 1 5 2\r\n",
        std::string("\r\n \r\nD 0\r\n\t\r\n\r\n  P ") + kParameters + "\r\n\r\n1 1 5 2",
        std::string("\xEF\xBB\xBF\r\nP ") + kParameters + "\n1 1 5 2"}) {
    EXPECT_EQ(ReadText(text), (Sequences{{1, 1, 5, {2.0}}})) << text;
    ExpectParameters(S());
  }
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.reloads, 3);
}

TEST_F(DailyInputTest, ByteOrderMarkIsSkipped) {
  EXPECT_EQ(ReadText("\xEF\xBB\xBF"
                     "D 1\r\n1 1 5 9 2\r\n"),
            (Sequences{{1, 1, 5, {2.0}}}));
  EXPECT_EQ(S().SkipCount, 1);
  EXPECT_EQ(ReadText("\xEF\xBB\xBF"
                     "1 1 5 2\r\n"),
            (Sequences{{1, 1, 5, {2.0}}}));
  EXPECT_TRUE(ui.messages.empty());
}

class FailedParametersLine : public DailyInputTest {
 protected:
  void ExpectNothingChanged(const EngineState& before) {
    const EngineState& s = S();
    EXPECT_EQ(s.Options.DaysPerMonth, before.Options.DaysPerMonth);
    EXPECT_EQ(s.Parameters, before.Parameters);
    EXPECT_EQ(ui.reloads, 0);
    // The file stands at its start and the reader has not started.
    EXPECT_EQ(file.tellg(), 0);
    EXPECT_EQ(s.Reader, ReaderState::NotStarted);
  }
};

struct BadHeader {
  std::string text;
  std::string message;
};

// Each line is read alone: a short or malformed line never takes values from the next.
TEST_F(FailedParametersLine, BadHeaderOrParametersLineIsRefusedNamingLineAndField) {
  const std::vector<BadHeader> cases{
      {"P 30 0.5 0.1 0.05 4 2.5 6 three\r\n",
       "Invalid number \"three\" for SigmaX in line 1 of the input file: a real number such as 0.25 or "
       "2.5e-2 is "
       "expected."},
      {"D 0\r\nP 30 0.5 0.1 abc 4 2.5 6 3\r\n",
       "Invalid number \"abc\" for Phi in line 2 of the input file: a real number such as 0.25 or 2.5e-2 "
       "is "
       "expected."},
      {"P 30.5 0.5 0.1 0.05 4 2.5 6 3\r\n",
       "Invalid number \"30.5\" for DaysPerMonth in line 1 of the input file: an integer is expected."},
      {"D 0\r\nP 30 0.5 0.1",
       "The parameters line, line 2 of the input file, ends before Phi: it must hold DaysPerMonth, Lambda, "
       "Kappa, "
       "Phi, Alpha, Nu, MuX and SigmaX."},
      {"H 0\r\nP 31 0.45 0.07\r\n1 7 2000 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\r\n",
       "The parameters line, line 2 of the input file, ends before Phi: it must hold DaysPerMonth, Lambda, "
       "Kappa, "
       "Phi, Alpha, Nu, MuX and SigmaX."},
      {"P\r\n31 0.5 0.1 0.05 4 2.5 6 3\r\n",
       "The parameters line, line 1 of the input file, ends before DaysPerMonth: it must hold DaysPerMonth, "
       "Lambda, Kappa, Phi, Alpha, Nu, MuX and SigmaX."},
      {"P 30 0.5 0.1 0.05 4 2.5 6 \x01\xff\r\n",
       "Invalid number \"\\xFF\" for SigmaX in line 1 of the input file: a real number such as 0.25 or "
       "2.5e-2 is "
       "expected."},
      {"D 2.0\r\n1 1 5 2\r\n",
       "The header line, line 1 of the input file, must give the number of values to skip before each depth "
       "as a "
       "non-negative integer; it gives \"2.0\"."},
      {"\r\nh -2 values\r\n",
       "The header line, line 2 of the input file, must give the number of values to skip before each depth "
       "as a "
       "non-negative integer; it gives \"-2\"."},
  };
  const EngineState before = S();
  for (const BadHeader& c : cases) {
    try {
      Open(c.text);
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const InputError& e) {
      EXPECT_EQ(e.what(), c.message);
    }
    ExpectNothingChanged(before);
  }
}

TEST_F(DailyInputTest, SkipCountComesFromTheHeaderLineAlone) {
  EXPECT_EQ(ReadText("D\r\n2 1 5 3\r\n"), (Sequences{{2, 1, 5, {3.0}}}));
  EXPECT_EQ(S().SkipCount, 0);
  EXPECT_EQ(ReadText("D\n \n2 1 5 3 4\r\n"), (Sequences{{2, 1, 5, {3.0}}}));
  EXPECT_EQ(S().SkipCount, 0);
}

TEST_F(FailedParametersLine, PeriodsOfNoDaysAreRefused) {
  const EngineState before = S();
  for (const std::string days : {"0", "-5"}) {
    try {
      Open("P " + days + " 0.5 0.1 0.05 4 2.5 6 3\r\n1 1 5 2\r\n");
      ADD_FAILURE() << "no error for " << days;
    } catch (const InvalidArgument& e) {
      EXPECT_EQ(
          std::string(e.what()),
          "The days per month in the parameters line of the input file must be at least 1; it is " + days);
    }
    ExpectNothingChanged(before);
  }
}

TEST_F(DailyInputTest, WhereLinesBreakDoesNotMatter) {
  const Sequences expected{{1, 1, 5, {2.5, 3.5}}};
  EXPECT_EQ(ReadText("1 1 5 2.5\r\n2 1 5 3.5\r\n"), expected);
  EXPECT_EQ(ReadText("1 1 5 2.5\r\n2 1 5 3.5"), expected);
  EXPECT_EQ(ReadText("1 1 5\r\n2.5\r\n2\r\n1\r\n5 3.5\r\n"), expected);
  EXPECT_EQ(ReadText("\t1\t1  5\v2.5\f2" + std::string(1, '\x01') + "1\r5\n3.5\n\r\n"), expected);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DailyInputTest, CtrlZEndsTheFile) {
  EXPECT_EQ(ReadText("1 1 5 2.5\r\n" + kCtrlZ + "2 1 5 3.5\r\n"), (Sequences{{1, 1, 5, {2.5}}}));
  EXPECT_EQ(ReadText("1 1 5 2.5" + kCtrlZ + "2 1 5 3.5\r\n"), (Sequences{{1, 1, 5, {2.5}}}));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DailyInputTest, WetFromOneHundredThousandthOfAMillimetre) {
  EXPECT_EQ(ReadText("1 1 5 0.00001\r\n3 1 5 0.0000099\r\n5 1 5 -9\r\n7 1 5 1e-5\r\n8 1 5 0\r\n"),
            (Sequences{{1, 1, 5, {0.00001}}, {7, 1, 5, {1e-5}}}));
}

TEST_F(DailyInputTest, SequencesEndAtDryDaysGapsAndNewPeriodsOrTags) {
  EXPECT_EQ(ReadText("30 1 5 1\r\n31 1 5 2\r\n1 1 6 3\r\n"),
            (Sequences{{30, 1, 5, {1.0, 2.0}}, {1, 1, 6, {3.0}}}));
  EXPECT_EQ(ReadText("5 1 3 1\r\n6 1 3 0\r\n7 1 3 1\r\n"), (Sequences{{5, 1, 3, {1.0}}, {7, 1, 3, {1.0}}}));
  EXPECT_EQ(ReadText("1 1 5 1\r\n2 2 5 1\r\n4 2 5 1\r\n"),
            (Sequences{{1, 1, 5, {1.0}}, {2, 2, 5, {1.0}}, {4, 2, 5, {1.0}}}));
  S().Options.DaysPerMonth = 2147483647;
  EXPECT_EQ(ReadText("2147483647 1 1 5\r\n1 1 1 6\r\n"),
            (Sequences{{2147483647, 1, 1, {5.0}}, {1, 1, 1, {6.0}}}));
}

TEST_F(DailyInputTest, NoWetRecordEndsTheInputAtTheFirstStep) {
  const std::vector<std::string> texts{"", "\r\n \t\r\n", kCtrlZ + "1 1 5 3",
                                       "D 0\r\n1 1 5 0\r\n2 1 5 -9\r\n", "H 0"};
  for (const std::string& text : texts) {
    ui.disables = 0;
    S().OriginalDaily.Count = 2;
    EXPECT_EQ(ReadText(text), (Sequences{})) << text;
    EXPECT_EQ(ui.disables, 1);
    EXPECT_EQ(S().OriginalDaily.Count, 2);
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DailyInputTest, BadNumberEndsTheInputWithAMessageNamingItsLine) {
  EXPECT_EQ(ReadText("1 1 5 2\r\n2 1 5 abc\r\n3 1 5 1\r\n"), (Sequences{{1, 1, 5, {2.0}}}));
  EXPECT_EQ(ReadText("1 1 5 2\r\n2 1 5 0\r3 1 5 0\n4 1 5 0\n\r5 1.5 5 1\r\n"), (Sequences{{1, 1, 5, {2.0}}}));
  EXPECT_EQ(ReadText(std::string("H 0\r\nP ") + kParameters + "\r\n1 1 5 2,5" + HoursText(1) + "\r\n"),
            (Sequences{}));
  EXPECT_EQ(ReadText("1 1 5 " + std::string(50, 'x') + "\r\n"), (Sequences{}));
  EXPECT_EQ(ReadText("1 1 5 2\r\n2 1\r\n5 1e\r\n"), (Sequences{{1, 1, 5, {2.0}}}));
  const std::string real = ": a real number such as 2.5 is expected; the input ends there.";
  EXPECT_EQ(ui.messages,
            (std::vector<std::string>{"Invalid number \"abc\" for Depth in line 2 of the input file" + real,
                                      "Invalid number \"1.5\" for Tag in line 6 of the input file: an "
                                      "integer is expected; the input ends there.",
                                      "Invalid number \"2,5\" for Depth in line 3 of the input file" + real,
                                      "Invalid number \"" + std::string(40, 'x') +
                                          "...\" for Depth in line 1 of the input file" + real,
                                      "Invalid number \"1e\" for Depth in line 3 of the input file" + real}));
  EXPECT_EQ(ui.disables, 5);
}

struct BadRecord {
  std::string text;
  Sequences delivered;
  std::string message;
};

// The input ends at a record no reader could trust, the user is told why and where,
// and the reader remembers that input was dropped.
TEST_F(DailyInputTest, RecordsOutsideTheFormatEndTheInputNamingLineAndField) {
  const std::string real = ": a real number such as 2.5 is expected; the input ends there.";
  const std::vector<BadRecord> cases{
      {"0 1 5 2\r\n1 1 5 3\r\n",
       {},
       "Day 0 in line 1 of the input file is outside 1 to 31, the days per month: the input ends there."},
      {"3 1 5 2\r\n-4 1 5 3\r\n",
       {{3, 1, 5, {2.0}}},
       "Day -4 in line 2 of the input file is outside 1 to 31, the days per month: the input ends there."},
      {"1 1 5 2\r\n32 1 5 0\r\n",
       {{1, 1, 5, {2.0}}},
       "Day 32 in line 2 of the input file is outside 1 to 31, the days per month: the input ends there."},
      {"1 1 5 2\r\n2 1 5 1e400\r\n3 1 5 2\r\n",
       {{1, 1, 5, {2.0}}},
       "Invalid number \"1e400\" for Depth in line 2 of the input file" + real},
      {"1 1 5 nan\r\n", {}, "Invalid number \"nan\" for Depth in line 1 of the input file" + real},
      {"1 1 5 inf\r\n", {}, "Invalid number \"inf\" for Depth in line 1 of the input file" + real},
      {"1 1 5 .5\r\n", {}, "Invalid number \".5\" for Depth in line 1 of the input file" + real},
      {"1 1 5 2\r\n2 1 \x80\x7f\\\xc3\xa9 1\r\n",
       {{1, 1, 5, {2.0}}},
       "Invalid number \"\\x80\\x7F\\x5C\\xC3\\xA9\" for Period in line 2 of the input file: an integer is "
       "expected; the "
       "input ends there."},
      {"D 1\r\n1 1 5 x 2\r\n",
       {},
       "Invalid number \"x\" for skipped value 1 in line 2 of the input file" + real},
      {"H 0\r\n1 1 5 2" + HoursText(1) + "\r\n2 1 5 2 1 1 1 1 1 1 1 0,5",
       {{1, 1, 5, {2.0}}},
       "Invalid number \"0,5\" for hour 8 in line 3 of the input file" + real},
      {"1 1 5 1e308\r\n",
       {},
       "Depth in line 1 of the input file is 1E308 mm, above the 10000 mm that no day's rain reaches: the "
       "input "
       "ends there."},
      {"H 0\r\n1 1 5 2 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 20000\r\n",
       {},
       "hour 24 in line 2 of the input file is 20000 mm, above the 10000 mm that no day's rain reaches: the "
       "input "
       "ends there."},
  };
  for (const BadRecord& c : cases) {
    ui.messages.clear();
    EXPECT_EQ(ReadText(c.text), c.delivered) << c.text;
    EXPECT_EQ(ui.messages, std::vector<std::string>{c.message});
    EXPECT_TRUE(S().InputDropped);
  }
  EXPECT_FALSE(ReadText("1 1 5 2\r\n").empty());
  EXPECT_FALSE(S().InputDropped);
}

TEST_F(DailyInputTest, NegativeObservedHoursAreDryAndNamedOnce) {
  std::string hours = HoursText(1);
  hours.replace(hours.find(" 3 "), 3, " -1 ");
  Open("H 0\r\n1 1 5 0" + hours + "\r\n1 1 6 2" + hours + "\r\n2 1 6 2" + hours + "\r\n");
  ASSERT_TRUE(Request());
  EXPECT_EQ(S().OriginalHourly[3], 0.0);
  EXPECT_EQ(S().OriginalHourly[24 + 3], 0.0);
  EXPECT_EQ(S().OriginalHourly[4], 4.0);
  EXPECT_EQ(ui.messages,
            (std::vector<std::string>{"Negative observed hours are read as dry hours (0 mm), as "
                                      "negative depths are read as dry days; the first is in line 3 "
                                      "of the input file."}));
  EXPECT_FALSE(S().InputDropped);
}

TEST_F(DailyInputTest, RecordCutShortByTheEndIsDroppedWithAMessage) {
  EXPECT_EQ(ReadText("1 1 5 2\r\n\r\n2 1\r\n"), (Sequences{{1, 1, 5, {2.0}}}));
  EXPECT_EQ(ReadText("H 0\r\n1 1 5\r\n2 1 2 3"), (Sequences{}));
  EXPECT_EQ(ReadText("D 1\r\n1 1 5 7 2\r\n2 1 5 7" + kCtrlZ + " 3\r\n"), (Sequences{{1, 1, 5, {2.0}}}));
  EXPECT_EQ(
      ui.messages,
      (std::vector<std::string>{
          "The record in line 3 of the input file is cut short by the end of the file: it is dropped.",
          "The record in line 2 of the input file is cut short by the end of the file: it is dropped.",
          "The record in line 3 of the input file is cut short by the end of the file: it is dropped."}));
}

// Wet days first to last of period 1, with the day number as depth.
std::string WetDays(int first, int last) {
  std::string text;
  for (int day = first; day <= last; ++day) {
    text += std::to_string(day) + " 1 1 " + std::to_string(day) + "\r\n";
  }
  return text;
}

Delivered WetRun(int first, int last) {
  Delivered d{first, 1, 1, {}};
  for (int day = first; day <= last; ++day) d.depths.push_back(day);
  return d;
}

std::string SplitMessage(int day) {
  return "The wet run from day " + std::to_string(day) +
         ", tag 1, period 1 of the input file is longer than 30 days: "
         "it is split into sequences of at most 30 days.";
}

TEST_F(DailyInputTest, LongWetRunsAreSplitIntoSequencesThatFollowOnEachOther) {
  S().Options.DaysPerMonth = 366;
  const std::string text = WetDays(1, 65) + "66 1 1 0\r\n" + WetDays(70, 101) + WetDays(103, 132);
  EXPECT_EQ(ReadText(text), (Sequences{WetRun(1, 30), WetRun(31, 60), WetRun(61, 65), WetRun(70, 99),
                                       WetRun(100, 101), WetRun(103, 132)}));
  EXPECT_EQ(ui.messages, (std::vector<std::string>{SplitMessage(1), SplitMessage(70)}));
}

TEST_F(DailyInputTest, SplitSequencesCountAsAdjacent) {
  Open(WetDays(1, 31));
  ASSERT_TRUE(Request());
  EXPECT_EQ(S().OriginalHourly.Count, 720);
  ASSERT_TRUE(Request());
  EXPECT_EQ(S().PreviousStart, (SequenceDate{1, 1, 1}));
  EXPECT_EQ(S().PreviousDays, 30);
  EXPECT_EQ(Current(), WetRun(31, 31));
  EXPECT_EQ(ui.messages, (std::vector<std::string>{SplitMessage(1)}));
}

TEST_F(DailyInputTest, BareLineFeedEndsHeaderAndParametersLines) {
  EXPECT_EQ(ReadText("D 0\n1 1 5 2\n2 1 5 3\n"), (Sequences{{1, 1, 5, {2.0, 3.0}}}));
  EXPECT_EQ(ReadText(std::string("H 0\nP ") + kParameters + "\n1 1 5 2" + HoursText(1) + "\n"),
            (Sequences{{1, 1, 5, {2.0}}}));
  ExpectParameters(S());
  EXPECT_EQ(ReadText(std::string("P ") + kParameters + "\n4 1 5 2\n"), (Sequences{{4, 1, 5, {2.0}}}));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DailyInputTest, RestartReadsTheFileAgainFromItsStart) {
  const Sequences first = ReadText("D 1\r\n1 1 5 0 2\r\n3 1 5 0 4\r\n");
  ASSERT_EQ(first, (Sequences{{1, 1, 5, {2.0}}, {3, 1, 5, {4.0}}}));
  engine.InitialiseRun();
  engine.ReadInputHeader();
  EXPECT_EQ(ReadAll(), first);
}

TEST_F(DailyInputTest, ReadingNeedsAnOpenFile) {
  EXPECT_THROW(engine.ReadInputHeader(), InvalidArgument);
  EXPECT_THROW(engine.ReadNextRecord(), InvalidArgument);
}

}  // namespace
}  // namespace nimbra
