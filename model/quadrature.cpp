#include "quadrature.h"

#include <array>
#include <cmath>

namespace nimbra {

namespace {

// The 7-point Gauss rule and its 15-point Kronrod extension on [-1, 1].
constexpr std::array<double, 8> kKronrodNodes = {
    0.991455371120812639206854697526329, 0.949107912342758524526189684047851,
    0.864864423359769072789712788640926, 0.741531185599394439863864773280788,
    0.586087235467691130294144845693013, 0.405845151377397166906606412076961,
    0.207784955007898467600689403773245, 0.000000000000000000000000000000000};
constexpr std::array<double, 8> kKronrodWeights = {
    0.022935322010529224963732008058970, 0.063092092629978553290700663189204,
    0.104790010322250183839876322541518, 0.140653259715525918745189590510238,
    0.169004726639267902826583426598550, 0.190350578064785409913256402421014,
    0.204432940075298892414161999234649, 0.209482141084727828012999174891714};
constexpr std::array<double, 4> kGaussWeights = {
    0.129484966168869693270611432679082, 0.279705391489276667901467771423780,
    0.381830050505118944950369775488975, 0.417959183673469387755102040816327};

struct Estimate {
  double kronrod;
  double error;
};

Estimate Rule(const std::function<double(double)>& f, double a, double b) {
  const double centre = (a + b) / 2;
  const double half = (b - a) / 2;
  double kronrod = kKronrodWeights[7] * f(centre);
  double gauss = kGaussWeights[3] * f(centre);
  for (std::size_t i = 0; i < 7; ++i) {
    const double sum = f(centre - half * kKronrodNodes[i]) + f(centre + half * kKronrodNodes[i]);
    kronrod += kKronrodWeights[i] * sum;
    if (i % 2 == 1) gauss += kGaussWeights[i / 2] * sum;
  }
  return {kronrod * half, std::fabs((kronrod - gauss) * half)};
}

double Refine(const std::function<double(double)>& f, double a, double b, const Estimate& whole,
              double tolerance, int depth) {
  // A non-finite estimate never meets the tolerance: halving on would take 2^depth rules.
  if (!std::isfinite(whole.kronrod) || !std::isfinite(whole.error)) return whole.kronrod;
  if (whole.error <= tolerance || depth == 0) return whole.kronrod;
  const double middle = (a + b) / 2;
  const Estimate left = Rule(f, a, middle);
  const Estimate right = Rule(f, middle, b);
  return Refine(f, a, middle, left, tolerance / 2, depth - 1) +
         Refine(f, middle, b, right, tolerance / 2, depth - 1);
}

}  // namespace

double IntegrateAdaptive(const std::function<double(double)>& f, double a, double b,
                         double relativeTolerance) {
  const Estimate whole = Rule(f, a, b);
  const double tolerance = relativeTolerance * std::max(std::fabs(whole.kronrod), 1e-300);
  return Refine(f, a, b, whole, tolerance, 40);
}

}  // namespace nimbra
