#pragma once
// Averages over the cell duration rate eta of the kernels that the model's statistics
// are built from. eta is drawn per storm from Gamma(shape Alpha, rate Nu), or is Nu
// itself when Alpha >= kFixedEtaShape, as the engine draws it.

#include "model_parameters.h"

namespace nimbra {

class EtaAverages {
 public:
  // Throws InvalidArgument for Alpha <= 1: the mean depth would be infinite.
  explicit EtaAverages(const ModelParameters& parameters);

  // E[1 / eta].
  double InverseMean() const;
  // E[(1 - exp(-c eta)) / eta], for c >= 0.
  double InverseDecayed(double c) const;
  // E[exp(-c eta) / eta], for c >= 0.
  double InverseExp(double c) const;
  // E[eta^-3 (exp(-x eta) - 1 + x eta)]: half the variance kernel of an interval x.
  double Psi(double x) const;
  // E[eta^-3 exp(-(k - 1) x eta) (1 - exp(-x eta))^2]: the lag-k covariance kernel.
  double PsiLag(double x, int k) const;

 private:
  double alpha_;
  double nu_;
  bool fixed_;
};

}  // namespace nimbra
