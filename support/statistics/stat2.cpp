#include "stat2.h"

#include <cmath>

#include "checked.h"
#include "power.h"

namespace nimbra {

namespace {

constexpr int kBlockSize = 100;
constexpr const char* kMean1PositionError = "Mean1: Error in Array position";
constexpr const char* kCentralMoment1PositionError = "CentralMoment1: Error in Array position";

// Each term is added to a double block sum; a full block moves into the double total.
class BlockedSum {
 public:
  void Add(long double term) {
    block_ = static_cast<double>(block_ + term);
    if (++termsInBlock_ == kBlockSize) {
      total_ += block_;
      block_ = 0.0;
      termsInBlock_ = 0;
    }
  }
  double Total() const { return total_ + block_; }

 private:
  double total_ = 0.0;
  double block_ = 0.0;
  int termsInBlock_ = 0;
};

template <class TermAt>
double SumOfTerms(long long begin, long long count, TermAt termAt) {
  BlockedSum sum;
  for (long long i = begin; i < begin + count; ++i) sum.Add(termAt(i));
  return sum.Total();
}

double DivideByCount(double sum, long long count) {
  return static_cast<double>(Divide<long double>(sum, static_cast<long double>(count)));
}

// Zero-based stretch data[begin .. begin + count - 1].
double StretchMean(std::span<const double> data, long long begin, long long count) {
  const double sum = SumOfTerms(begin, count, [&](long long i) { return At(data, i); });
  return DivideByCount(sum, count);
}

double StretchCentralMoment(int k, std::span<const double> data, long long begin, long long count) {
  const double mean = StretchMean(data, begin, count);
  const double sum =
      SumOfTerms(begin, count, [&](long long i) { return DeviationPower(At(data, i), mean, k); });
  return DivideByCount(sum, count);
}

// Positions are kept in long long so that n - lag and lag + 1 cannot overflow.
void CheckPositions(const char* message, long long n, long long first, long long last) {
  if (first < 1 || last < first || n < last) throw InvalidArgument(message);
}

double Mean1Stretch(std::span<const double> data, long long n, long long first, long long last) {
  CheckPositions(kMean1PositionError, n, first, last);
  return StretchMean(data, first - 1, last - first + 1);
}

double CentralMoment1Stretch(int k, std::span<const double> data, long long n, long long first,
                             long long last) {
  CheckPositions(kCentralMoment1PositionError, n, first, last);
  return StretchCentralMoment(k, data, first - 1, last - first + 1);
}

double PopulationStDev(std::span<const double> data, long long n, long long first, long long last) {
  return CheckedSqrt(CentralMoment1Stretch(2, data, n, first, last));
}

}  // namespace

double DeviationPower(double x, double mean, int k) { return IntegerPower(x - mean, k); }

double SkewnessCoefficient(double m2, double m3, long long sizeForCorrection) {
  if (m2 != 0) {
    const long double size = static_cast<long double>(sizeForCorrection);
    const long double ratio = Divide<long double>(m3, RealPower(m2, 1.5));
    return static_cast<double>(ratio * Divide(size, size - 1) * Divide(size, size - 2));
  }
  return m3 != 0 ? 1e100 : 0.0;
}

double ArrayMean(std::span<const double> data, int n) { return StretchMean(data, 0, n); }

double ArrayVariance(std::span<const double> data, int n) {
  const double mean = ArrayMean(data, n);
  const double sum = SumOfTerms(0, n, [&](long long i) {
    const long double deviation = At(data, i) - static_cast<long double>(mean);
    return deviation * deviation;
  });
  return DivideByCount(sum, n - 1LL);
}

double ArrayCentralMoment(int k, std::span<const double> data, int n) {
  return StretchCentralMoment(k, data, 0, n);
}

double ArrayVariation(std::span<const double> data, int n) {
  const double stDev = CheckedSqrt(ArrayVariance(data, n));
  const double mean = ArrayMean(data, n);
  return static_cast<double>(Divide<long double>(stDev, mean));
}

double ArraySkewness(std::span<const double> data, int n) {
  const double m2 = ArrayCentralMoment(2, data, n);
  const double m3 = ArrayCentralMoment(3, data, n);
  return SkewnessCoefficient(m2, m3, n);
}

double Mean1(std::span<const double> data, int n, int first, int last) {
  return Mean1Stretch(data, n, first, last);
}

double CentralMoment1(int k, std::span<const double> data, int n, int first, int last) {
  return CentralMoment1Stretch(k, data, n, first, last);
}

double ArrayLagCovariance(int lag, std::span<const double> data, int n) {
  const long long pairs = static_cast<long long>(n) - lag;
  const double leadingMean = Mean1Stretch(data, n, 1, pairs);
  const double trailingMean = Mean1Stretch(data, n, lag + 1LL, n);
  const double sum = SumOfTerms(0, pairs, [&](long long i) {
    const long double leading = At(data, i) - static_cast<long double>(leadingMean);
    const long double trailing = At(data, i + lag) - static_cast<long double>(trailingMean);
    return leading * trailing;
  });
  return DivideByCount(sum, pairs);
}

double ArrayAutocorrelation(int lag, std::span<const double> data, int n) {
  const double leadingStDev = PopulationStDev(data, n, 1, static_cast<long long>(n) - lag);
  const double trailingStDev = PopulationStDev(data, n, lag + 1LL, n);
  // A series without spread, or one whose quotient leaves the double range, has no
  // meaningful correlation; the report shows 0 for it rather than stopping the run.
  try {
    const long double covariance = ArrayLagCovariance(lag, data, n);
    const double r = static_cast<double>(
        Divide<long double>(Divide<long double>(covariance, leadingStDev), trailingStDev));
    return std::isfinite(r) ? r : 0.0;
  } catch (const NimbraError&) {
    return 0.0;
  }
}

}  // namespace nimbra
