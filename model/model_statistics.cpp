#include "model_statistics.h"

#include <array>
#include <cmath>
#include <string>

#include "errors.h"
#include "format.h"
#include "third_moment.h"

namespace nimbra {

namespace {

void RequirePositive(const char* name, double value) {
  if (!(value > 0) || std::isinf(value)) {
    throw InvalidArgument("The model parameter " + std::string(name) +
                          " must be a positive finite number; it is " + FormatGeneral(value, "."));
  }
}

const ModelParameters& Checked(const ModelParameters& p) {
  RequirePositive("Lambda", p.Lambda);
  RequirePositive("Kappa", p.Kappa);
  RequirePositive("Phi", p.Phi);
  RequirePositive("Alpha", p.Alpha);
  RequirePositive("Nu", p.Nu);
  RequirePositive("MuX", p.MuX);
  RequirePositive("SigmaX", p.SigmaX);
  return p;
}

// The engine draws exponential intensities, ignoring SigmaX, when it is within 1e-6 of MuX.
double IntensitySquare(const ModelParameters& p) {
  const double sigma = std::fabs(p.MuX - p.SigmaX) > 1e-6 ? p.SigmaX : p.MuX;
  return p.MuX * p.MuX + sigma * sigma;
}

// [k(phi)/phi^2 - phi k(1)] / (1 - phi^2): the covariance of two different cells of a
// storm, whose terms decay at rates phi eta and eta. Within kNearOne of phi = 1 the
// quotient cancels; it is then interpolated from points where it does not.
constexpr double kNearOne = 1e-3;

template <class Kernel>
double PairQuotient(Kernel kernel, double phi) {
  return (kernel(phi) / (phi * phi) - phi * kernel(1.0)) / (1 - phi * phi);
}

template <class Kernel>
double PairQuotientNearOne(Kernel kernel, double phi) {
  constexpr std::array<double, 6> offsets = {-6e-3, -4e-3, -2e-3, 2e-3, 4e-3, 6e-3};
  double sum = 0;
  for (std::size_t i = 0; i < offsets.size(); ++i) {
    double weight = 1;
    for (std::size_t j = 0; j < offsets.size(); ++j) {
      if (j != i) weight *= (phi - 1 - offsets[j]) / (offsets[i] - offsets[j]);
    }
    sum += weight * PairQuotient(kernel, 1 + offsets[i]);
  }
  return sum;
}

}  // namespace

ModelStatistics::ModelStatistics(const ModelParameters& parameters)
    : p_(Checked(parameters)),
      eta_(parameters),
      cellsPerStorm_(1 + parameters.Kappa / parameters.Phi),
      intensitySquare_(IntensitySquare(parameters)),
      wet_(ComputeStormWetTime(parameters.Kappa, parameters.Phi)) {}

template <class Kernel>
double ModelStatistics::CellPairs(Kernel kernel, double h) const {
  auto scaled = [&](double c) { return kernel(c * h); };
  const double pairs =
      std::fabs(p_.Phi - 1) < kNearOne ? PairQuotientNearOne(scaled, p_.Phi) : PairQuotient(scaled, p_.Phi);
  return p_.Lambda * cellsPerStorm_ * (intensitySquare_ * kernel(h) + p_.Kappa * p_.MuX * p_.MuX * pairs);
}

double ModelStatistics::Mean(double h) const {
  return p_.Lambda * h * p_.MuX * cellsPerStorm_ * eta_.InverseMean();
}

double ModelStatistics::Variance(double h) const {
  return 2 * CellPairs([this](double x) { return eta_.Psi(x); }, h);
}

double ModelStatistics::Covariance(double h, int lag) const {
  if (lag == 0) return Variance(h);
  return CellPairs([this, lag](double x) { return eta_.PsiLag(x, lag); }, h);
}

double ModelStatistics::Autocorrelation(double h, int lag) const { return Covariance(h, lag) / Variance(h); }

double ModelStatistics::DryProbability(double h) const {
  const double rate = p_.Kappa + p_.Phi;
  const double gaps = wet_.Emptyings * p_.Kappa / (rate * rate);
  const double wetStormTime = wet_.WetDuration * eta_.InverseMean() + gaps * eta_.InverseDecayed(rate * h);
  return std::exp(-p_.Lambda * (h + wetStormTime));
}

double ModelStatistics::DryProbabilityApproximation(double h) const {
  const double k = p_.Kappa;
  const double f = p_.Phi;
  const double whole = 1 + f * (k + f) - f * (k + f) * (k + 4 * f) / 4 +
                       f * (k + f) * (4 * k * k + 27 * k * f + 72 * f * f) / 72;
  const double partial = 1 - k - f + 1.5 * k * f + f * f + k * k / 2;
  const double inverse = eta_.InverseMean();
  const double lastCells = inverse - k / (k + f) * eta_.InverseDecayed((k + f) * h);
  return std::exp(-p_.Lambda * h - p_.Lambda / f * (whole * inverse - partial * lastCells));
}

double ModelStatistics::ThirdMoment(double h) const { return ThirdCentralMoment(p_, eta_, h); }

double ModelStatistics::Skewness(double h) const { return ThirdMoment(h) / std::pow(Variance(h), 1.5); }

}  // namespace nimbra
