#include "statrec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "errors.h"
#include "stat2.h"

namespace nimbra {
namespace {

constexpr double S = kRecordSeparator;

RecordSeries MakeSeries(const std::vector<std::vector<double>>& records, int slots = 64) {
  RecordSeries series(slots, 0.0);
  InitialiseRecords(series, S);
  for (const auto& record : records) {
    AppendRecords(record, static_cast<int>(record.size()), series, slots, S);
  }
  return series;
}

std::string AssertionText(const auto& call) {
  try {
    call();
  } catch (const AssertionFailure& e) {
    EXPECT_EQ(e.unit(), "statrec");
    return e.message();
  }
  return "no assertion failure";
}

TEST(AppendRecords, LayoutAfterAppends) {
  RecordSeries series = MakeSeries({}, 12);
  EXPECT_EQ(RecordsCount(series, 12, S), 0);
  EXPECT_EQ(RecordsCount(series, 12, S, RecordZeros::Skipped), 0);
  AppendRecords(std::vector<double>{1, 2, 3}, 3, series, 12, S);
  AppendRecords(std::vector<double>{4, 5}, 2, series, 12, S);
  EXPECT_EQ(series, (RecordSeries{S, 1, 2, 3, S, 4, 5, S, S, 0, 0, 0}));
  // An empty record rewrites the end pair and the slot after it, and adds nothing.
  AppendRecords(std::vector<double>{}, 0, series, 12, S);
  EXPECT_EQ(series, (RecordSeries{S, 1, 2, 3, S, 4, 5, S, S, S, 0, 0}));
  EXPECT_EQ(RecordsCount(series, 12, S), 5);
}

TEST(AppendRecords, InsufficientSpaceLeavesSeriesUnchanged) {
  RecordSeries series = MakeSeries({{1, 2, 3}}, 10);  // end pair at 4 and 5
  const RecordSeries before = series;
  const std::vector<double> four{6, 7, 8, 9};
  EXPECT_EQ(AssertionText([&] { AppendRecords(four, 4, series, 10, S); }),
            "In AppendRecords: Insufficient space");  // last separator would be slot 10
  EXPECT_EQ(series, before);
  EXPECT_THROW(AppendRecords(four, 5, series, 10, S), AssertionFailure);
  EXPECT_THROW(AppendRecords(four, 4, series, 12, S), RangeError);  // slot 10: beyond the array
  EXPECT_THROW(AppendRecords(four, 3, series, 9, S), AssertionFailure);
  EXPECT_EQ(series, before);
  AppendRecords(four, 3, series, 10, S);
  EXPECT_EQ(series, (RecordSeries{S, 1, 2, 3, S, 6, 7, 8, S, S}));
}

TEST(AppendRecords, SeriesWithoutEndPair) {
  RecordSeries fresh(6, 0.0);  // never initialised: written from position 0
  AppendRecords(std::vector<double>{1, 2}, 2, fresh, 6, S);
  EXPECT_EQ(fresh, (RecordSeries{1, 2, S, S, 0, 0}));
  EXPECT_EQ(RecordsCount(fresh, 6, S), 2);
  // A pair closing on slot Length still ends the data: no overwrite from position 0.
  RecordSeries full{S, 1, 2, 3, 4, S, S, 0};
  EXPECT_THROW(AppendRecords(std::vector<double>{}, 0, full, 6, S), AssertionFailure);
  EXPECT_EQ(full[1], 1.0);
}

TEST(RecordsScan, StopsAtLengthAndArrayEnd) {
  const RecordSeries open{S, 1, 2, 3, 4, 5, S, S};
  EXPECT_EQ(RecordsCount(open, 4, S), 3);  // positions 1..3
  const RecordSeries lastSlotSeparator{S, 1, 2, S};
  EXPECT_EQ(RecordsCount(lastSlotSeparator, 4, S), 2);
  EXPECT_THROW(RecordsCount(lastSlotSeparator, 5, S), RangeError);
}

TEST(RecordsScan, SeparatorZeroAndTinyValues) {
  // 1e-21 is taken for the separator 0.0, but two of them do not end the data.
  const RecordSeries series{0, 2, 1e-21, 1e-21, 3, 0, 0};
  EXPECT_EQ(RecordsCount(series, 7, 0.0), 2);
  EXPECT_EQ(RecordsMean(series, 7, 0.0), 2.5);
}

TEST(RecordsStatistics, OneRecordWithLength50000) {
  const RecordSeries series = MakeSeries({{1, 2, 3, 4, 10}}, kRecordSeriesSlots);
  const int L = kRecordSeriesSlots;
  EXPECT_EQ(RecordsCount(series, L, S), 5);
  EXPECT_EQ(RecordsMean(series, L, S), 4.0);
  EXPECT_EQ(RecordsVariance(series, L, S), 12.5);
  EXPECT_NEAR(RecordsVariation(series, L, S), 0.883883, 5e-7);  // sqrt(12.5) / 4
  EXPECT_EQ(RecordsCentralMoment(2, series, L, S), 10.0);
  EXPECT_EQ(RecordsCentralMoment(3, series, L, S), 36.0);
  // 36 / 10^1.5 * L/(L-1) * L/(L-2): the correction uses Length, not the count.
  EXPECT_NEAR(RecordsSkewness(series, L, S), 1.138488, 5e-7);
}

TEST(RecordsStatistics, ZerosCountOnlyInPlainFamily) {
  const RecordSeries series = MakeSeries({{0, 2, 0, 4}, {6, 0}});
  EXPECT_EQ(RecordsCount(series, 64, S), 6);
  EXPECT_EQ(RecordsMean(series, 64, S), 2.0);
  EXPECT_DOUBLE_EQ(RecordsVariance(series, 64, S), 6.4);  // 32 / 5
  EXPECT_EQ(RecordsCount(series, 64, S, RecordZeros::Skipped), 3);
  EXPECT_EQ(RecordsMean(series, 64, S, RecordZeros::Skipped), 4.0);
  EXPECT_EQ(RecordsVariance(series, 64, S, RecordZeros::Skipped), 4.0);
  EXPECT_DOUBLE_EQ(RecordsCentralMoment(2, series, 64, S, RecordZeros::Skipped), 8.0 / 3);
  EXPECT_EQ(RecordsSkewness(series, 64, S, RecordZeros::Skipped), 0.0);
  EXPECT_EQ(RecordsVariation(series, 64, S, RecordZeros::Skipped), 0.5);
}

TEST(RecordsStatistics, ConstantAndDegenerateData) {
  const RecordSeries twos = MakeSeries({{2, 2, 2}, {2, 2}});
  EXPECT_EQ(RecordsVariance(twos, 64, S), 0.0);
  EXPECT_EQ(RecordsVariation(twos, 64, S), 0.0);
  EXPECT_EQ(RecordsSkewness(twos, 64, S), 0.0);
  EXPECT_EQ(RecordsAutocorrelation(1, twos, 64, S), 0.0);
  const RecordSeries zeros = MakeSeries({{0, 0, 0}});
  EXPECT_EQ(RecordsVariation(zeros, 64, S), 0.0);
  EXPECT_THROW(RecordsMean(zeros, 64, S, RecordZeros::Skipped), FloatingPointError);
  EXPECT_EQ(RecordsVariation(MakeSeries({{-2, 2}}), 64, S), 1e100);  // zero mean, spread
  EXPECT_THROW(RecordsVariance(MakeSeries({{5}}), 64, S), FloatingPointError);
  EXPECT_EQ(RecordsAutocorrelation(1, MakeSeries({}), 64, S), 0.0);
}

TEST(RecordsAutocorrelation, PairsStayWithinRecords) {
  // Pairs (1,3) (3,2) (5,4): num = 29 - 81/3 = 2, den = (35 - 27)(29 - 27) = 16.
  EXPECT_EQ(RecordsAutocorrelation(1, MakeSeries({{1, 3, 2}, {5, 4}}), 64, S), 0.5);
  // A record no longer than the lag gives no pair.
  EXPECT_EQ(RecordsAutocorrelation(1, MakeSeries({{1, 3, 2}, {7}, {5, 4}}), 64, S), 0.5);
  EXPECT_EQ(RecordsAutocorrelation(3, MakeSeries({{1, 3, 2}, {5, 4}}), 64, S), 0.0);
  // One record agrees with the unbroken array statistics.
  const std::vector<double> values{1, 3, 2, 5, 4};
  EXPECT_NEAR(RecordsAutocorrelation(1, MakeSeries({values}), 64, S), ArrayAutocorrelation(1, values, 5),
              1e-15);
}

TEST(RecordsAutocorrelation, NonZeroDropsPairsButAdvancesByOne) {
  const RecordSeries series = MakeSeries({{0, 1, 3, 0, 2, 5, 4}});
  // Pairs (1,3) (2,5) (5,4): num = 33 - 8*12/3 = 1, den = (30 - 64/3)(50 - 48) = 52/3.
  EXPECT_NEAR(RecordsAutocorrelation(1, series, 64, S, RecordZeros::Skipped), 1 / std::sqrt(52.0 / 3), 1e-15);
  // All six pairs: num = 33 - 11*15/6 = 5.5, den = (39 - 121/6)(55 - 225/6).
  EXPECT_NEAR(RecordsAutocorrelation(1, series, 64, S), 5.5 / std::sqrt(113.0 / 6 * 17.5), 1e-15);
}

TEST(RecordsAutocorrelation, LookAheadReachingLength) {
  const RecordSeries series{S, 1, 2, 3, 4, 5, 6, S, S};
  EXPECT_EQ(AssertionText([&] { RecordsAutocorrelation(1, series, 5, S); }),
            "In RecordsAutocorrelation: too much length of data");
  EXPECT_EQ(AssertionText([&] { RecordsAutocorrelation(1, series, 5, S, RecordZeros::Skipped); }),
            "In RecordsAutocorrelation: too much length of data");
}

TEST(RecordsStatistics, SumsKeepExtendedPrecision) {
  if (std::numeric_limits<long double>::digits < 64) GTEST_SKIP() << "no extended precision";
  // 2^60 + 255 * 64 is exact in extended precision; a double sum would lose every 64.
  std::vector<double> record(256, 64.0);
  record[0] = 0x1p60;
  const RecordSeries series = MakeSeries({record}, 300);
  EXPECT_EQ(RecordsMean(series, 300, S), 0x1p52 + 64);  // 2^52 + 63.75 rounded
}

}  // namespace
}  // namespace nimbra
