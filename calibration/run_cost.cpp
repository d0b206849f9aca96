#include "run_cost.h"

#include <cmath>

#include "storm_types.h"

namespace nimbra {

namespace {

// Measured on the Berlin-Tempelhof Julys of 2000-2019 (one thread, bench/set_cost.py and
// a least-squares split of the time between storms generated and drawn again): a storm
// generated costs 11.7 units besides its cells (its cell rates come from a gamma draw,
// its timing and durations from exponential ones, and the search checks its wet days);
// a gamma intensity adds 3.4 units per cell for a shape below one (a rejection method
// with powers and exponentials) and 1.5 above it.
constexpr double kStormGenerated = 11.7;
constexpr double kGammaSmallShape = 3.4;
constexpr double kGammaLargeShape = 1.5;

}  // namespace

double IntensityCost(const ModelParameters& p) {
  if (!p.GammaIntensity()) return 1;
  const double shape = (p.MuX / p.SigmaX) * (p.MuX / p.SigmaX);
  return 1 + (shape < 1 ? kGammaSmallShape : kGammaLargeShape);
}

double RunCost(const StormsDrawn& drawn, const ModelParameters& parameters) {
  // A storm's cells: its first, and those that arrive at rate beta = kappa eta before it
  // ends at rate gamma = phi eta.
  const double cells = 1 + parameters.Kappa / parameters.Phi;
  const double perStorm = cells * IntensityCost(parameters);
  return static_cast<double>(drawn.Generated) * (kStormGenerated + perStorm) +
         static_cast<double>(drawn.Redrawn) * perStorm;
}

// The search draws the first origin on [0, 1) (an exponential truncated at one day, whose
// mean is 1 / lambda - exp(-lambda) / (1 - exp(-lambda))), then a Poisson process of rate
// lambda up to the sequence's last day: 1 + lambda (days - mean first origin) storms.
double ExpectedStormsPerAttempt(const ModelParameters& parameters, int days) {
  const double lambda = parameters.Lambda;
  const double firstOrigin = 1 / lambda - std::exp(-lambda) / -std::expm1(-lambda);
  return 1 + lambda * (days - firstOrigin);
}

bool BeyondStormCapacity(const ModelParameters& parameters) {
  return ExpectedStormsPerAttempt(parameters, DailySeries::kCapacity) > StormSet::kCapacity;
}

}  // namespace nimbra
