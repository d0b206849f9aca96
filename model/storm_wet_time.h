#pragma once
// How long a storm keeps some cell raining, and how often all its cells stop while it
// can still start new ones. Both are in units of the mean cell duration 1/eta and
// depend only on Kappa and Phi: a storm is an M/M/infinity queue of cells, one
// present at the start, arrivals at rate Kappa eta until the storm ends at rate Phi eta.

namespace nimbra {

struct StormWetTime {
  double WetDuration = 0;  // E[time with at least one cell raining] * eta
  double Emptyings = 0;    // E[times the storm falls dry while still active]
};

StormWetTime ComputeStormWetTime(double kappa, double phi);

}  // namespace nimbra
