#include "storm_wet_time.h"

#include <cmath>

#include "quadrature.h"

namespace nimbra {

namespace {

// Sum over n of kappa^n / n! * f(n), for positive f that falls with n.
template <class Term>
double PoissonWeightedSeries(double kappa, Term f) {
  double weight = 1;
  double sum = f(0);
  for (int n = 1; n < 2000; ++n) {
    weight *= kappa / n;
    const double term = weight * f(n);
    sum += term;
    if (n > kappa && term < 1e-17 * sum) break;
  }
  return sum;
}

// E1(x) for x > 1 by its continued fraction (modified Lentz).
double ExponentialIntegralE1(double x) {
  double b = x + 1;
  double c = 1e300;
  double d = 1 / b;
  double h = d;
  for (int i = 1; i < 500; ++i) {
    const double a = -static_cast<double>(i) * i;
    b += 2;
    d = 1 / (a * d + b);
    c = b + a / c;
    const double delta = c * d;
    h *= delta;
    if (std::fabs(delta - 1) < 1e-16) break;
  }
  return h * std::exp(-x);
}

// Ein(x): the integral over [0, x] of (1 - exp(-t)) / t.
double EntireExponentialIntegral(double x) {
  constexpr double kEulerGamma = 0.57721566490153286060651209;
  if (x > 2) return ExponentialIntegralE1(x) + std::log(x) + kEulerGamma;
  double term = x;
  double sum = x;
  for (int k = 2; std::fabs(term) > 1e-18 * sum; ++k) {
    term *= -x * (k - 1) / (static_cast<double>(k) * k);
    sum += term;
  }
  return sum;
}

// Expected time until the last of the cells present when the storm stops has ended,
// given the fraction q = 1 - exp(-eta D) of cells started by then that are gone.
double TimeToLastCellEnd(double kappa, double q) {
  const double x = kappa * q;
  const double lastArrivals = x > 1e-12 ? -std::expm1(-x) / x : 1 - x / 2;
  return EntireExponentialIntegral(x) + (1 - q) * lastArrivals;
}

double ActiveWetDuration(double kappa, double phi) {
  const double series =
      PoissonWeightedSeries(kappa, [phi](int n) { return 1 / ((phi + n) * (phi + n + 1)); });
  return 1 / phi - std::exp(-kappa) * series;
}

// The storm stops at eta D ~ Exp(phi); with w = exp(-phi eta D) uniform on [0, 1].
double RemainingWetDuration(double kappa, double phi) {
  return IntegrateAdaptive(
      [kappa, phi](double w) { return TimeToLastCellEnd(kappa, -std::expm1(std::log(w) / phi)); }, 0, 1);
}

double ActiveEmptyings(double kappa, double phi) {
  const double first = PoissonWeightedSeries(kappa, [phi](int n) { return 1 / (phi + n + 1); });
  const double rest =
      PoissonWeightedSeries(kappa, [phi](int n) { return 2 / ((phi + n) * (phi + n + 1) * (phi + n + 2)); });
  return std::exp(-kappa) * (first + kappa * rest);
}

}  // namespace

StormWetTime ComputeStormWetTime(double kappa, double phi) {
  return {ActiveWetDuration(kappa, phi) + RemainingWetDuration(kappa, phi), ActiveEmptyings(kappa, phi)};
}

}  // namespace nimbra
