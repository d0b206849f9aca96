#include "statrec.h"

#include <cmath>

#include "checked.h"
#include "stat2.h"

namespace nimbra {

namespace {

constexpr const char* kUnit = "statrec";
constexpr const char* kInsufficientSpace = "In AppendRecords: Insufficient space";
constexpr const char* kTooMuchLength = "In RecordsAutocorrelation: too much length of data";
// An assertion report carries a source line; fixed numbers keep the text of a report
// the same when this file is edited.
constexpr int kInsufficientSpaceLine = 76;
constexpr int kTooMuchLengthLine = 283;

// One series as every operation sees it: the array, the slots it may use, the separator.
struct Records {
  std::span<const double> data;
  long long length;
  double separator;
};

long long SlotCount(std::span<const double> data) { return static_cast<long long>(data.size()); }

// The end pair may close on the slot just past length, as long as it lies in the
// array; a position past the array holds nothing and so is never a separator.
bool IsSeparatorAt(std::span<const double> data, long long i, double separator) {
  return i < SlotCount(data) && SameReal(At(data, i), separator);
}

// Stricter than SameReal: the system writes separators as exact values, so two values
// merely close to the separator never end the data. At the last slot of the array
// there is no second slot, so the data do not end there.
bool AtRecordsEnd(std::span<const double> data, long long i, double separator) {
  return At(data, i) == separator && i + 1 < SlotCount(data) && At(data, i + 1) == separator;
}

// Position of the second separator of the end pair, or 0 when there is none. A pair
// closing on slot length counts: taking it for "no end" would make the next append
// overwrite the series from position 0 instead of reporting the lack of space.
long long FindRecordsEnd(std::span<const double> dst, long long length, double separator) {
  for (long long i = 1; i <= length; ++i) {
    if (SameReal(At(dst, i - 1), separator) && IsSeparatorAt(dst, i, separator)) return i;
  }
  return 0;
}

bool IsZero(double x) { return SameReal(x, 0.0); }

bool IsTaken(double x, double separator, RecordZeros zeros) {
  return !SameReal(x, separator) && !(zeros == RecordZeros::Skipped && IsZero(x));
}

template <class Visit>
void ForEachTakenValue(const Records& records, RecordZeros zeros, Visit visit) {
  const auto& [data, length, separator] = records;
  for (long long i = 0; i < length && !AtRecordsEnd(data, i, separator); ++i) {
    const double x = At(data, i);
    if (IsTaken(x, separator, zeros)) visit(x);
  }
}

struct TermSum {
  long double sum = 0.0L;
  long long count = 0;
};

template <class Term>
TermSum SumOfTerms(const Records& records, RecordZeros zeros, Term term) {
  TermSum result;
  ForEachTakenValue(records, zeros, [&](double x) {
    result.sum += term(x);
    ++result.count;
  });
  return result;
}

double DivideToDouble(long double numerator, long long denominator) {
  return static_cast<double>(Divide(numerator, static_cast<long double>(denominator)));
}

int Count(RecordZeros zeros, const Records& records) {
  return static_cast<int>(SumOfTerms(records, zeros, [](double) { return 0.0L; }).count);
}

double Mean(RecordZeros zeros, const Records& records) {
  const TermSum s = SumOfTerms(records, zeros, [](double x) { return static_cast<long double>(x); });
  return DivideToDouble(s.sum, s.count);
}

double Variance(RecordZeros zeros, const Records& records) {
  const long double mean = Mean(zeros, records);
  const TermSum s = SumOfTerms(records, zeros, [mean](double x) {
    const long double deviation = x - mean;
    return deviation * deviation;
  });
  return DivideToDouble(s.sum, s.count - 1);
}

double CentralMoment(RecordZeros zeros, int k, const Records& records) {
  const double mean = Mean(zeros, records);
  const TermSum s = SumOfTerms(
      records, zeros, [mean, k](double x) { return static_cast<long double>(DeviationPower(x, mean, k)); });
  return DivideToDouble(s.sum, s.count);
}

double Variation(RecordZeros zeros, const Records& records) {
  const double mean = Mean(zeros, records);
  const double stDev = CheckedSqrt(Variance(zeros, records));
  if (mean != 0) return static_cast<double>(static_cast<long double>(stDev) / mean);
  return stDev != 0 ? 1e100 : 0.0;
}

double Skewness(RecordZeros zeros, const Records& records) {
  const double m2 = CentralMoment(zeros, 2, records);
  const double m3 = CentralMoment(zeros, 3, records);
  return SkewnessCoefficient(m2, m3, records.length);
}

// Sums of the pairs (x, y) = (value, value lag positions later in the same record).
class PairSums {
 public:
  void Add(double x, double y) {
    sx_ += x;
    sy_ += y;
    sxx_ += static_cast<long double>(x) * x;
    syy_ += static_cast<long double>(y) * y;
    sxy_ += static_cast<long double>(x) * y;
    ++pairs_;
  }

  double Correlation() const {
    if (pairs_ == 0) return 0.0;
    const long double m = static_cast<long double>(pairs_);
    const double num = static_cast<double>(sxy_ - sx_ * sy_ / m);
    const double den = static_cast<double>((sxx_ - sx_ * sx_ / m) * (syy_ - sy_ * sy_ / m));
    if (den != 0) return static_cast<double>(num / static_cast<long double>(CheckedSqrt(den)));
    return num != 0 ? 1e100 : 0.0;
  }

 private:
  long double sx_ = 0.0L, sy_ = 0.0L, sxx_ = 0.0L, syy_ = 0.0L, sxy_ = 0.0L;
  long long pairs_ = 0;
};

// Reaching slot length means the end pair is missing: the data ran over the slots.
double SlotWithinLength(const Records& records, long long i) {
  if (i >= records.length) throw AssertionFailure(kTooMuchLength, kUnit, kTooMuchLengthLine);
  return At(records.data, i);
}

// The partner of position i: i + lag, or the first separator after i when the record
// ends earlier.
long long LookAhead(const Records& records, long long i, int lag) {
  for (long long j = i + 1;; ++j) {
    const double y = SlotWithinLength(records, j);
    if (j == i + lag || SameReal(y, records.separator)) return j;
  }
}

bool TakesPair(RecordZeros zeros, double x, double y) {
  return zeros == RecordZeros::Taken || (!IsZero(x) && !IsZero(y));
}

double Autocorrelation(RecordZeros zeros, int lag, const Records& records) {
  const std::span<const double> data = records.data;
  const double separator = records.separator;
  PairSums sums;
  long long i = 0;
  for (;;) {
    const double x = SlotWithinLength(records, i);
    if (SameReal(x, separator)) {
      // An end pair where a record should begin means there are no records at all.
      if (IsSeparatorAt(data, i + 1, separator)) break;
      ++i;
      continue;
    }
    const long long j = LookAhead(records, i, lag);
    const double y = At(data, j);
    if (!SameReal(y, separator)) {
      if (TakesPair(zeros, x, y)) sums.Add(x, y);
      ++i;
    } else if (IsSeparatorAt(data, j + 1, separator)) {
      break;
    } else {
      i = j + 1;  // the record is too short for another pair from i on
    }
  }
  return sums.Correlation();
}

// Touching the last slot of the source and of the target raises the range error of a
// bad count before anything is written.
void CheckSlots(std::span<const double> src, int count, std::span<double> dst, long long lastSlot) {
  if (count != 0) static_cast<void>(At(src, count - 1LL));
  static_cast<void>(At(dst, lastSlot));
}

}  // namespace

bool SameReal(double a, double b) { return std::fabs(b - a) <= 1e-20; }

void InitialiseRecords(std::span<double> series, double separator) {
  At(series, 0) = separator;
  At(series, 1) = separator;
}

void AppendRecords(std::span<const double> src, int count, std::span<double> dst, int length,
                   double separator) {
  const long long start = FindRecordsEnd(dst, length, separator);
  const long long lastSlot = start + count + 1;
  if (lastSlot >= length) throw AssertionFailure(kInsufficientSpace, kUnit, kInsufficientSpaceLine);
  CheckSlots(src, count, dst, lastSlot);
  for (long long k = 0; k < count; ++k) At(dst, start + k) = At(src, k);
  At(dst, lastSlot - 1) = separator;
  At(dst, lastSlot) = separator;
}

int RecordsCount(std::span<const double> data, int length, double separator, RecordZeros zeros) {
  return Count(zeros, {data, length, separator});
}
double RecordsMean(std::span<const double> data, int length, double separator, RecordZeros zeros) {
  return Mean(zeros, {data, length, separator});
}
double RecordsVariance(std::span<const double> data, int length, double separator, RecordZeros zeros) {
  return Variance(zeros, {data, length, separator});
}
double RecordsCentralMoment(int k, std::span<const double> data, int length, double separator,
                            RecordZeros zeros) {
  return CentralMoment(zeros, k, {data, length, separator});
}
double RecordsVariation(std::span<const double> data, int length, double separator, RecordZeros zeros) {
  return Variation(zeros, {data, length, separator});
}
double RecordsSkewness(std::span<const double> data, int length, double separator, RecordZeros zeros) {
  return Skewness(zeros, {data, length, separator});
}
double RecordsAutocorrelation(int lag, std::span<const double> data, int length, double separator,
                              RecordZeros zeros) {
  return Autocorrelation(zeros, lag, {data, length, separator});
}

void SummariseRecords(std::span<const double> data, int length, double separator, RecordZeros zeros,
                      StatisticsSummary& summary) {
  summary.Count = RecordsCount(data, length, separator, zeros);
  if (summary.Count < 2) return;
  summary.Mean = RecordsMean(data, length, separator, zeros);
  summary.StDev = CheckedSqrt(RecordsVariance(data, length, separator, zeros));
  summary.Variation = RecordsVariation(data, length, separator, zeros);
  summary.Skewness = RecordsSkewness(data, length, separator, zeros);
  summary.Autoc[0] = 1.0;
  for (std::size_t lag = 1; lag < summary.Autoc.size(); ++lag) {
    summary.Autoc[lag] = RecordsAutocorrelation(static_cast<int>(lag), data, length, separator, zeros);
  }
}

}  // namespace nimbra
