#include "run_statistics.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine_fixture.h"

namespace nimbra {
namespace {

constexpr const char* kWetFull =
    "Too many generated data\nThe statistics for wet days and wet hours will not be accurate";
constexpr const char* kAllFull =
    "Too many generated data\nThe statistics for all data values will not be accurate";
constexpr const char* kOutOfOrder =
    "Error: The records in input file are not in increasing order of date\r\nPlease correct the error and "
    "try again";

// A log of a user whose locale may write reals with another separator.
class SeparatorLog : public MemoryLog {
 public:
  std::string DecimalSeparator() const override { return separator; }
  std::string separator = ".";
};

std::vector<double> Repeat(double value, int count) { return std::vector<double>(count, value); }

std::vector<double> Join(std::vector<double> a, const std::vector<double>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

void SetHours(HourlySeries& series, const std::vector<double>& hours) {
  series.Count = static_cast<int>(hours.size());
  for (int h = 1; h <= series.Count; ++h) series[h] = hours[h - 1];
}

class RunStatisticsTest : public testing::Test {
 protected:
  RunStatisticsTest() {
    engine.SetDefaults();
    engine.InitialiseRun();
    S().Options.DaysPerMonth = 31;
    S().OriginalHourlyAvailable = true;
  }

  EngineState& S() { return engine.State(); }

  // One step's collection: the previous sequence started on previous and lasted
  // previousDays days; the current one starts on start.
  bool Step(SequenceDate previous, int previousDays, SequenceDate start, const std::vector<double>& original,
            const std::vector<double>& synthetic) {
    S().PreviousStart = previous;
    S().PreviousDays = previousDays;
    S().SequenceStart = start;
    SetHours(S().OriginalHourly, original);
    SetHours(S().SyntheticHourly, synthetic);
    engine.CollectWetValues();
    return engine.CollectAllValues();
  }
  // A one-day sequence of 24 equal hours, gapDays dry days after the previous one.
  bool DayStep(int gapDays, double depth = 2.0) {
    return Step({1, 0, 1990}, 0, {1 + gapDays, 0, 1990}, Repeat(depth, 24), Repeat(depth, 24));
  }

  // The value lines under a heading of the report, up to the next empty line.
  std::vector<std::string> Section(const std::string& heading) const {
    const auto& lines = log.Lines();
    auto line = std::find(lines.begin(), lines.end(), heading);
    std::vector<std::string> section;
    if (line != lines.end()) ++line;
    for (; line != lines.end() && !line->empty(); ++line) section.push_back(*line);
    return section;
  }

  SeparatorLog log;
  RecordingUserInterface ui;
  EngineCore engine{log, ui};
};

int Records(const RecordSeries& series) { return RecordsCount(series, kWetValuesCapacity, kRecordSeparator); }

struct GapCase {
  SequenceDate previous;
  int previousDays;
  SequenceDate start;
  int dryHours;
};

TEST_F(RunStatisticsTest, DryHoursFillTheGapOnTheDayAxis) {
  const GapCase cases[] = {
      {{1, 0, 1990}, 0, {5, 0, 1990}, 96},  // from day 1 of the first wet record's period
      {{30, 0, 4}, 2, {3, 0, 5}, 48},       // across the end of a 31-day period
      {{5, 0, 1990}, 2, {7, 0, 1990}, 0}};  // the day right after
  for (const GapCase& c : cases) {
    engine.InitialiseRun();
    std::fill(S().AllValuesSynthetic.begin(), S().AllValuesSynthetic.end(), 9.0);  // a previous run's hours
    const std::vector<double> hours = Join(Repeat(1.5, 24), Repeat(0.5, 24));
    ASSERT_TRUE(Step(c.previous, c.previousDays, c.start, hours, hours));
    EXPECT_EQ(S().AllValuesCount, c.dryHours + 48);
    const auto& all = S().AllValuesSynthetic;
    EXPECT_EQ(std::count(all.begin(), all.begin() + c.dryHours, 0.0), c.dryHours);
    EXPECT_TRUE(std::equal(hours.begin(), hours.end(), all.begin() + c.dryHours));
    EXPECT_EQ(all[c.dryHours + 48], 9.0);
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RunStatisticsTest, TwoDaysFromDayFiveAreAThirdOfTheDays) {
  S().OriginalHourlyAvailable = false;
  ASSERT_TRUE(Step({1, 0, 1990}, 0, {5, 0, 1990}, Repeat(1.0, 48), Repeat(2.0, 48)));
  EXPECT_EQ(S().AllValuesCount, 144);
  engine.PrintStatistics();
  EXPECT_EQ(S().WetDayStatsSynthetic.Count, 48);
  const std::vector<std::string> wetDays = Section("Wet days");
  ASSERT_GE(wetDays.size(), 2u);
  EXPECT_EQ(wetDays[0], "Count     48");
  EXPECT_EQ(wetDays[1], "Frequency in total days  0.333333333333333");
}

TEST_F(RunStatisticsTest, OutOfOrderSequenceEndsTheStepWithNothingAdded) {
  ASSERT_TRUE(Step({1, 0, 1990}, 0, {5, 0, 1990}, Repeat(1.0, 48), Repeat(1.0, 48)));
  EXPECT_FALSE(Step({5, 0, 1990}, 2, {6, 0, 1990}, Repeat(3.0, 24), Repeat(3.0, 24)));
  EXPECT_EQ(ui.messages, std::vector<std::string>{kOutOfOrder});
  EXPECT_EQ(S().AllValuesCount, 144);
  EXPECT_EQ(Records(S().WetValuesSynthetic), 72);  // the wet values were kept before the check
}

TEST_F(RunStatisticsTest, ConstantLengthModePutsOneDryDayBeforeEachSequence) {
  S().Options.UseConstLength = true;
  ASSERT_TRUE(Step({5, 0, 1990}, 2, {5, 0, 1990}, Repeat(1.0, 24), Repeat(2.0, 24)));
  ASSERT_TRUE(Step({5, 0, 1990}, 2, {5, 0, 1990}, Repeat(1.0, 24), Repeat(2.0, 24)));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(S().AllValuesCount, 96);
  EXPECT_EQ(S().AllValuesOriginal[47], 1.0);
  EXPECT_EQ(S().AllValuesOriginal[48 + 23], 0.0);
  EXPECT_EQ(S().AllValuesSynthetic[48 + 24], 2.0);
}

TEST_F(RunStatisticsTest, FullRecordSeriesIsReportedOnceAndInTheReport) {
  // One record of 49972 values leaves room for exactly one more day.
  AppendRecords(Repeat(1.0, 49972), 49972, S().WetValuesSynthetic, kWetValuesCapacity, kRecordSeparator);
  ASSERT_TRUE(DayStep(0));
  EXPECT_TRUE(ui.messages.empty());
  ASSERT_TRUE(DayStep(0));
  ASSERT_TRUE(DayStep(0));
  EXPECT_EQ(ui.messages, (std::vector<std::string>{kWetFull}));
  EXPECT_EQ(Records(S().WetValuesSynthetic), 49996);
  EXPECT_EQ(Records(S().WetValuesOriginal), 24);  // the original is not appended after the failure
  EXPECT_EQ(S().AllValuesCount, 72);              // the step goes on
  engine.PrintStatistics();
  EXPECT_EQ(log.LastLine(),
            "The statistics of wet days and wet hours cover 24 of the run's 72 hourly values: the collection "
            "was full.");
}

TEST_F(RunStatisticsTest, FullAllValuesArraysAreReportedOnceAndInTheReport) {
  S().AllValuesCount = 199952;
  ASSERT_TRUE(DayStep(1, 4.0));  // 24 dry and 24 wet hours: the last one at position 200000
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(S().AllValuesCount, 200000);
  EXPECT_EQ(S().AllValuesSynthetic[199999], 4.0);
  EXPECT_TRUE(DayStep(0));  // the copy overflows
  EXPECT_TRUE(DayStep(1));  // the dry hours overflow
  EXPECT_EQ(ui.messages, (std::vector<std::string>{kAllFull}));
  EXPECT_EQ(S().AllValuesCount, 200000);

  S().AllValuesCount = 199960;
  EXPECT_TRUE(DayStep(1));
  EXPECT_EQ(S().AllValuesCount, 199984);  // the dry hours stay when the copy overflows
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(S().Shortfall.allKept, 72);
  EXPECT_EQ(S().Shortfall.allOffered, 168);
}

TEST(RunSummaries, AllValuesNeedADayOfHours) {
  StatisticsSummary summary;
  summary.Mean = 7.0;
  const std::vector<double> data = Join(Repeat(0.0, 12), Repeat(2.0, 12));
  SummariseAllValues(data, summary, 23);
  EXPECT_EQ(summary.Count, 23);
  EXPECT_EQ(summary.Mean, 7.0);

  SummariseAllValues(data, summary, 24);
  EXPECT_EQ(summary.Count, 24);
  EXPECT_EQ(summary.Mean, 1.0);
  EXPECT_DOUBLE_EQ(summary.StDev, std::sqrt(24.0 / 23.0));  // denominator n - 1
  EXPECT_DOUBLE_EQ(summary.Variation, std::sqrt(24.0 / 23.0));
  EXPECT_EQ(summary.Skewness, 0.0);
  EXPECT_EQ(summary.Autoc[0], 1.0);
  // Lag 10 pairs 12 zeros and 2 twos with 2 zeros and 12 twos, the twos meeting twice.
  EXPECT_NEAR(summary.Autoc[10], 1.0 / 6.0, 1e-12);
}

TEST(RunSummaries, WetHoursSkipTheDryHoursOfWetDays) {
  RecordSeries series(kWetValuesCapacity);
  InitialiseRecords(series, kRecordSeparator);
  AppendRecords(std::vector<double>{0.0, 5.0}, 2, series, kWetValuesCapacity, kRecordSeparator);
  StatisticsSummary days, hours;
  hours.Mean = 7.0;
  SummariseWetDays(series, days);
  SummariseWetHours(series, hours);
  EXPECT_EQ(days.Count, 2);
  EXPECT_EQ(days.Mean, 2.5);
  EXPECT_EQ(hours.Count, 1);
  EXPECT_EQ(hours.Mean, 7.0);  // one value is too few to summarise

  AppendRecords(std::vector<double>{0.0, 2.0, 5.0}, 3, series, kWetValuesCapacity, kRecordSeparator);
  SummariseWetDays(series, days);
  SummariseWetHours(series, hours);
  EXPECT_EQ(days.Count, 5);
  EXPECT_DOUBLE_EQ(days.StDev, std::sqrt(6.3));  // values 0 5 0 2 5, mean 2.4
  EXPECT_EQ(hours.Count, 3);
  EXPECT_EQ(hours.Mean, 4.0);
  EXPECT_DOUBLE_EQ(hours.StDev, std::sqrt(3.0));
  EXPECT_EQ(hours.Autoc[0], 1.0);
}

TEST_F(RunStatisticsTest, ResetClearsAllSixSummariesButLagZero) {
  ASSERT_TRUE(Step({1, 0, 1990}, 0, {2, 0, 1990}, Join(Repeat(1.0, 12), Repeat(3.0, 12)), Repeat(2.0, 24)));
  engine.ComputeStatistics();
  engine.ResetStatistics();
  for (const StatisticsSummary* s :
       {&S().AllStatsOriginal, &S().AllStatsSynthetic, &S().WetDayStatsOriginal, &S().WetDayStatsSynthetic,
        &S().WetHourStatsOriginal, &S().WetHourStatsSynthetic}) {
    EXPECT_EQ(s->Count, 0);
    EXPECT_EQ(s->Mean + s->StDev + s->Variation + s->Skewness, 0.0);
    EXPECT_EQ(s->Autoc[0], 1.0);
    for (int lag = 1; lag <= 10; ++lag) EXPECT_EQ(s->Autoc[lag], 0.0);
  }
}

TEST_F(RunStatisticsTest, NoReportBeforeTwoDisaggregatedHours) {
  engine.PrintStatistics();
  EXPECT_TRUE(log.Lines().empty());  // before any step
  ASSERT_TRUE(Step({1, 0, 1990}, 0, {1, 0, 1990}, {3.0}, {3.0}));
  engine.PrintStatistics();
  EXPECT_TRUE(log.Lines().empty());
  ASSERT_TRUE(Step({1, 0, 1990}, 0, {1, 0, 1990}, {3.0}, {3.0}));
  engine.PrintStatistics();
  EXPECT_EQ(Section("Wet days").at(0), "Count     2  2");
}

void AppendLags(std::vector<std::string>& lines, const std::string& lagZero, const std::string& otherLags) {
  lines.push_back("Autoc.0  " + lagZero);
  for (int lag = 1; lag <= 10; ++lag) lines.push_back("Autoc." + std::to_string(lag) + "  " + otherLags);
}

TEST_F(RunStatisticsTest, FullReportWithTheLocaleSeparator) {
  log.separator = ",";
  ASSERT_TRUE(Step({1, 0, 1990}, 0, {1, 0, 1990}, Repeat(1.5, 24), Repeat(2.5, 24)));
  engine.PrintStatistics();
  const std::vector<std::string> moments = {"Mean      1,5  2,5", "StDev    0  0", "Variation  0  0",
                                            "Skewness  0  0"};
  std::vector<std::string> expected = {"", "STATISTICS", "All data values", "Count     24  24"};
  expected.insert(expected.end(), moments.begin(), moments.end());
  AppendLags(expected, "1  1", "0  0");
  expected.insert(expected.end(), {"", "Wet days", "Count     24  24", "Frequency in total days  1  1"});
  expected.insert(expected.end(), moments.begin(), moments.end());
  AppendLags(expected, "1  1", "0  0");
  expected.insert(expected.end(), {"", "Wet hours", "Count     24  24", "Frequency in total days  1  1",
                                   "Frequency in wet days  1  1"});
  expected.insert(expected.end(), moments.begin(), moments.end());
  AppendLags(expected, "1  1", "0  0");
  ASSERT_EQ(expected.size(), 58u);
  EXPECT_EQ(std::vector<std::string>(log.Lines().begin(), log.Lines().end()), expected);
}

TEST_F(RunStatisticsTest, FrequenciesAndMomentsOfEachSeries) {
  log.separator = ",";
  // A dry day, then a day whose disaggregated rain falls in its first half only.
  ASSERT_TRUE(Step({1, 0, 1990}, 0, {2, 0, 1990}, Repeat(1.5, 24), Join(Repeat(3.0, 12), Repeat(0.0, 12))));
  engine.PrintStatistics();
  const std::vector<std::string> wetDays = Section("Wet days");
  ASSERT_EQ(wetDays.size(), 17u);
  EXPECT_EQ(wetDays[1], "Frequency in total days  0,5  0,5");
  EXPECT_EQ(wetDays[2], "Mean      1,5  1,5");
  EXPECT_EQ(wetDays[4], "Variation  0  " + log.Formatted("%g", std::sqrt(54.0 / 23.0) / 1.5));
  EXPECT_EQ(wetDays[5], "Skewness  0  0");
  const std::vector<std::string> wetHours = Section("Wet hours");
  ASSERT_EQ(wetHours.size(), 18u);
  EXPECT_EQ(wetHours[0], "Count     24  12");
  EXPECT_EQ(wetHours[1], "Frequency in total days  0,5  0,25");
  EXPECT_EQ(wetHours[2], "Frequency in wet days  1  0,5");
  EXPECT_EQ(wetHours[3], "Mean      1,5  3");
}

TEST_F(RunStatisticsTest, OneColumnWithoutOriginalHoursAndLagZeroAsOne) {
  S().OriginalHourlyAvailable = false;
  S().WetDayStatsOriginal.Count = 5;  // left from an earlier run: neither computed nor printed now
  ASSERT_TRUE(Step({1, 0, 1990}, 0, {2, 0, 1990}, Repeat(0.0, 24), Join(Repeat(0.5, 12), Repeat(4.0, 12))));
  engine.PrintStatistics();
  const std::vector<std::string> all = Section("All data values");
  const std::vector<std::string> wetDays = Section("Wet days");
  const std::vector<std::string> wetHours = Section("Wet hours");
  ASSERT_EQ(all.size() + wetDays.size() + wetHours.size(), 51u);
  EXPECT_EQ(std::vector<std::string>(all.begin(), all.begin() + 2),
            (std::vector<std::string>{"Count     48", "Mean      1.125"}));
  EXPECT_EQ(std::vector<std::string>(wetDays.begin(), wetDays.begin() + 3),
            (std::vector<std::string>{"Count     24", "Frequency in total days  0.5", "Mean      2.25"}));
  EXPECT_EQ(std::vector<std::string>(wetHours.begin(), wetHours.begin() + 4),
            (std::vector<std::string>{"Count     24", "Frequency in total days  0.5",
                                      "Frequency in wet days  1", "Mean      2.25"}));
  for (const auto* section : {&all, &wetDays, &wetHours})
    EXPECT_EQ((*section)[section->size() - 11], "Autoc.0  1");
  EXPECT_EQ(S().WetDayStatsOriginal.Count, 5);
}

}  // namespace
}  // namespace nimbra
