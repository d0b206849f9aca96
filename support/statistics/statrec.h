#pragma once
// Statistics of data kept as a series of records: runs of consecutive values that
// belong together (the hourly depths of one wet-day sequence each), appended one after
// another into one fixed array.
//
// Layout of a series: a separator, the values of record 1, a separator, the values of
// record 2, ..., a separator closing the last record and one more separator. The end
// of the data is the first place where two separators stand side by side; an empty
// series holds the separator at positions 0 and 1. Slots after the end pair are never
// read by the scans.
//
// Means, variances, moments, variation and skewness are taken over all values of all
// records; an autocorrelation pairs only values of the same record.
// Sums are kept in long double and every result is rounded to double.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace nimbra {

using RecordSeries = std::vector<double>;

// Depths are never negative, so -1 cannot be mistaken for a value.
inline constexpr double kRecordSeparator = -1.0;
// Slots of each series the run statistics keep.
inline constexpr int kRecordSeriesSlots = 50000;

struct StatisticsSummary {
  std::int32_t Count = 0;
  double Mean = 0.0;
  double StDev = 0.0;      // denominator Count - 1
  double Variation = 0.0;  // coefficient of variation
  double Skewness = 0.0;
  std::array<double, 11> Autoc{};  // lags 0 to 10; lag 0 is 1 whenever the others are set
};

// True when a and b differ by at most 1e-20: how a value is recognised as the
// separator or as zero.
bool SameReal(double a, double b);

// Empties the series: the separator at positions 0 and 1.
void InitialiseRecords(std::span<double> series, double separator);

// Appends src[0 .. count - 1] as one more record within the first length slots of dst.
// When the values and the two closing separators would not fit, raises
// AssertionFailure "In AppendRecords: Insufficient space" and leaves dst unchanged.
void AppendRecords(std::span<const double> src, int count, std::span<double> dst, int length,
                   double separator);

// Whether a statistic takes the values equal to zero or skips them (and, in an
// autocorrelation, the pairs with a zero member).
enum class RecordZeros { Taken, Skipped };

// Every operation below scans at most the first length slots of data.
int RecordsCount(std::span<const double> data, int length, double separator,
                 RecordZeros zeros = RecordZeros::Taken);
double RecordsMean(std::span<const double> data, int length, double separator,
                   RecordZeros zeros = RecordZeros::Taken);
double RecordsVariance(std::span<const double> data, int length, double separator,
                       RecordZeros zeros = RecordZeros::Taken);
double RecordsCentralMoment(int k, std::span<const double> data, int length, double separator,
                            RecordZeros zeros = RecordZeros::Taken);
double RecordsVariation(std::span<const double> data, int length, double separator,
                        RecordZeros zeros = RecordZeros::Taken);
// The small-sample correction uses length, not the number of values.
double RecordsSkewness(std::span<const double> data, int length, double separator,
                       RecordZeros zeros = RecordZeros::Taken);
// Raises AssertionFailure "In RecordsAutocorrelation: too much length of data" when
// the data run up to slot length without their end pair.
double RecordsAutocorrelation(int lag, std::span<const double> data, int length, double separator,
                              RecordZeros zeros = RecordZeros::Taken);

// Count, and with two values or more the mean, standard deviation, variation,
// skewness and the autocorrelations of lags 0 to 10; with fewer, the other fields keep
// the values they had.
void SummariseRecords(std::span<const double> data, int length, double separator, RecordZeros zeros,
                      StatisticsSummary& summary);

}  // namespace nimbra
