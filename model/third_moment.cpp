#include "third_moment.h"

#include <array>
#include <cmath>

#include "quadrature.h"

namespace nimbra {

namespace {

double Square(double x) { return x * x; }

// Exponential terms C exp(-eta (first a + second b)), in units where eta = 1.
struct Decay {
  double weight, first, second;
};

// Two cells, one of them raining at two of the instants: the pair of cells' origins
// is e^-(phi |d|) apart, each cell lasts Exp(1), so the single cell's part is
// (e^-(phi D) - phi e^-D) / (1 - phi^2) at a lag D from the double cell's first instant.
std::array<Decay, 6> TwoCellDecays(double phi) {
  const double q = 1 / (1 - phi * phi);
  return {{{q, 1 + phi, phi},  // cell over t1, t2; other at t3
           {-phi * q, 2, 1},
           {q, 1 + phi, 1},  // cell over t1, t3; other at t2
           {-phi * q, 2, 1},
           {q, phi, 1},  // cell over t2, t3; other at t1
           {-phi * q, 1, 1}}};
}

// Three cells, one at each instant: E[exp(-phi spread)] of their origins.
std::array<Decay, 5> ThreeCellDecays(double phi) {
  const double q = 1 / ((1 - phi * phi) * (4 - phi * phi));
  return {{{2 * phi * phi * q, 2, 1},
           {(phi * phi - 2 * phi) * q, 1 + phi, phi},
           {(phi * phi - 2 * phi) * q, 1 + phi, 1},
           {(4 - phi * phi) * q, phi, phi},
           {-(phi * phi + 2 * phi) * q, phi, 1}}};
}

class CumulantDensity {
 public:
  CumulantDensity(const ModelParameters& p, const EtaAverages& eta, double phi)
      : eta_(eta),
        scale_(p.Lambda * (1 + p.Kappa / p.Phi)),
        oneCell_(IntensityThirdMoment(p)),
        twoCells_(p.Kappa * (Square(p.MuX) + Square(IntensitySigma(p))) * p.MuX),
        threeCells_(Square(p.Kappa) * p.MuX * p.MuX * p.MuX),
        two_(TwoCellDecays(phi)),
        three_(ThreeCellDecays(phi)) {}

  double operator()(double a, double b) const {
    double sum = oneCell_ * eta_.InverseExp(a + b);
    for (const Decay& d : two_) sum += twoCells_ * d.weight * eta_.InverseExp(d.first * a + d.second * b);
    for (const Decay& d : three_) sum += threeCells_ * d.weight * eta_.InverseExp(d.first * a + d.second * b);
    return scale_ * sum;
  }

  static double IntensitySigma(const ModelParameters& p) {
    return std::fabs(p.MuX - p.SigmaX) > 1e-6 ? p.SigmaX : p.MuX;
  }

 private:
  const EtaAverages& eta_;
  double scale_, oneCell_, twoCells_, threeCells_;
  std::array<Decay, 6> two_;
  std::array<Decay, 5> three_;
};

double IntegrateOverTriples(const CumulantDensity& density, double h) {
  return 6 * IntegrateAdaptive(
                 [&](double a) {
                   return IntegrateAdaptive([&](double b) { return (h - a - b) * density(a, b); }, 0, h - a,
                                            1e-10);
                 },
                 0, h, 1e-9);
}

// Interpolates across a removable singularity of the decay weights at phi = pole
// from points on either side where the weights do not cancel.
double AcrossPole(const ModelParameters& p, const EtaAverages& eta, double h, double pole) {
  constexpr std::array<double, 6> offsets = {-6e-3, -4e-3, -2e-3, 2e-3, 4e-3, 6e-3};
  double sum = 0;
  for (std::size_t i = 0; i < offsets.size(); ++i) {
    double weight = 1;
    for (std::size_t j = 0; j < offsets.size(); ++j) {
      if (j != i) weight *= (p.Phi - pole - offsets[j]) / (offsets[i] - offsets[j]);
    }
    sum += weight * IntegrateOverTriples(CumulantDensity(p, eta, pole + offsets[i]), h);
  }
  return sum;
}

}  // namespace

double IntensityThirdMoment(const ModelParameters& p) {
  const double sigma = CumulantDensity::IntensitySigma(p);
  const double theta = sigma * sigma / p.MuX;
  return p.MuX * (p.MuX + theta) * (p.MuX + 2 * theta);
}

double ThirdCentralMoment(const ModelParameters& p, const EtaAverages& eta, double h) {
  for (const double pole : {1.0, 2.0}) {
    if (std::fabs(p.Phi - pole) < 1e-3) return AcrossPole(p, eta, h, pole);
  }
  return IntegrateOverTriples(CumulantDensity(p, eta, p.Phi), h);
}

}  // namespace nimbra
