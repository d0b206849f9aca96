#include "power_kernels.h"

#include <cmath>

namespace nimbra {

namespace {

// Below this argument the power series converge quickly and avoid the cancellation
// of the closed forms.
constexpr double kSeriesLimit = 0.1;

// expm1(a x) / a, continuous at a = 0.
double Expm1Ratio(double a, double x) { return a == 0 ? x : std::expm1(a * x) / a; }

// Sum over n >= 2 of [(q - 2)(q - 3)...(q - n + 1) / n!] y^n: ((1 + y)^q - 1 - q y) / (q (q - 1)).
double BinomialTailSeries(double q, double y) {
  double term = y * y / 2;
  double sum = term;
  for (int n = 2; n < 400 && std::fabs(term) > 1e-18 * std::fabs(sum); ++n) {
    term *= (q - n) * y / (n + 1);
    sum += term;
  }
  return sum;
}

// Twice the sum over m >= 1 of [(q - 2)...(q - 2m + 1) / (2m)!] z^2m:
// ((1 - z)^q - 2 + (1 + z)^q) / (q (q - 1)).
double EvenBinomialSeries(double q, double z) {
  double term = z * z;
  double sum = term;
  for (int n = 2; n < 400 && std::fabs(term) > 1e-18 * std::fabs(sum); n += 2) {
    term *= (q - n) * (q - n - 1) * z * z / ((n + 1) * (n + 2));
    sum += term;
  }
  return sum;
}

// ((1 + y)^q - 1 - q y) / (q (q - 1)), taking the form regular at whichever of q = 0
// and q = 1 is near.
double BinomialTail(double q, double y) {
  if (y <= kSeriesLimit) return BinomialTailSeries(q, y);
  const double r = std::log1p(y);
  if (std::fabs(q - 1) < 0.5) return ((1 + y) * Expm1Ratio(q - 1, r) - y) / q;
  return (Expm1Ratio(q, r) - y) / (q - 1);
}

// ((1 - z)^q - 2 + (1 + z)^q) / (q (q - 1)) for 0 <= z < 1.
double EvenBinomial(double q, double z) {
  if (z <= kSeriesLimit) return EvenBinomialSeries(q, z);
  const double down = std::log1p(-z);
  const double up = std::log1p(z);
  if (std::fabs(q - 1) < 0.5) {
    return ((1 - z) * Expm1Ratio(q - 1, down) + (1 + z) * Expm1Ratio(q - 1, up)) / q;
  }
  return (Expm1Ratio(q, down) + Expm1Ratio(q, up)) / (q - 1);
}

}  // namespace

double TriangleIntegral(double p, double y) { return BinomialTail(2 - p, y); }

double TriangleSecondDifference(double p, double y, int k) {
  const double base = 1 + k * y;
  return std::pow(base, 2 - p) * EvenBinomial(2 - p, y / base);
}

}  // namespace nimbra
