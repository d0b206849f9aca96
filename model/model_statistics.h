#pragma once
// The statistics of the randomised Bartlett-Lewis model as the engine simulates it,
// in closed form: depths in mm per interval of h days, for a stationary process.
// eta ~ Gamma(Alpha, Nu) per storm (or eta = Nu when Alpha >= kFixedEtaShape),
// beta = Kappa eta, gamma = Phi eta, cells exponential or gamma in intensity.

#include "eta_averages.h"
#include "model_parameters.h"
#include "storm_wet_time.h"

namespace nimbra {

class ModelStatistics {
 public:
  // Throws InvalidArgument naming the parameter when a rate is not a positive finite
  // number, or when Alpha <= 1 (no finite mean).
  explicit ModelStatistics(const ModelParameters& parameters);

  double Mean(double h) const;
  double Variance(double h) const;
  double Covariance(double h, int lag) const;
  double Autocorrelation(double h, int lag) const;
  // The probability that an interval is dry; exact for the simulated model.
  double DryProbability(double h) const;
  // The widely used series approximation of Rodriguez-Iturbe, Cox and Isham (1988),
  // which overestimates the exact value at the hourly scale.
  double DryProbabilityApproximation(double h) const;
  // Third central moment (mm^3) and the skewness it gives with the variance.
  double ThirdMoment(double h) const;
  double Skewness(double h) const;

 private:
  template <class Kernel>
  double CellPairs(Kernel kernel, double h) const;

  ModelParameters p_;
  EtaAverages eta_;
  double cellsPerStorm_;
  double intensitySquare_;  // E[X^2]
  StormWetTime wet_;
};

}  // namespace nimbra
