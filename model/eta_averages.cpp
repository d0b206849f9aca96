#include "eta_averages.h"

#include <cmath>

#include "errors.h"
#include "format.h"
#include "power_kernels.h"

namespace nimbra {

namespace {

// exp(-w) - 1 + w without cancellation for small w.
double ExpRemainder(double w) {
  if (w > 0.1) return std::expm1(-w) + w;
  double term = w * w / 2;
  double sum = term;
  for (int n = 3; std::fabs(term) > 1e-18 * sum; ++n) {
    term *= -w / n;
    sum += term;
  }
  return sum;
}

}  // namespace

EtaAverages::EtaAverages(const ModelParameters& parameters)
    : alpha_(parameters.Alpha), nu_(parameters.Nu), fixed_(parameters.FixedEta()) {
  if (!fixed_ && !(alpha_ > 1)) {
    throw InvalidArgument("Alpha must be greater than 1 for the model to have a finite mean; it is " +
                          FormatGeneral(alpha_, "."));
  }
  if (!(nu_ > 0) || std::isinf(nu_)) {
    throw InvalidArgument("Nu must be a positive finite number; it is " + FormatGeneral(nu_, "."));
  }
}

double EtaAverages::InverseMean() const { return fixed_ ? 1 / nu_ : nu_ / (alpha_ - 1); }

double EtaAverages::InverseDecayed(double c) const {
  if (fixed_) return -std::expm1(-c * nu_) / nu_;
  return -std::expm1(-(alpha_ - 1) * std::log1p(c / nu_)) * nu_ / (alpha_ - 1);
}

double EtaAverages::InverseExp(double c) const {
  if (fixed_) return std::exp(-c * nu_) / nu_;
  return std::exp(-(alpha_ - 1) * std::log1p(c / nu_)) * nu_ / (alpha_ - 1);
}

double EtaAverages::Psi(double x) const {
  if (fixed_) return ExpRemainder(x * nu_) / (nu_ * nu_ * nu_);
  return nu_ * nu_ * nu_ / (alpha_ - 1) * TriangleIntegral(alpha_ - 1, x / nu_);
}

double EtaAverages::PsiLag(double x, int k) const {
  if (fixed_) {
    const double decay = std::expm1(-x * nu_);
    return std::exp(-(k - 1) * x * nu_) * decay * decay / (nu_ * nu_ * nu_);
  }
  return nu_ * nu_ * nu_ / (alpha_ - 1) * TriangleSecondDifference(alpha_ - 1, x / nu_, k);
}

}  // namespace nimbra
