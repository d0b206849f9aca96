#pragma once
// What a parameter set costs to disaggregate with: the processor time of a run from the
// storms it drew, and whether the set's wet/dry searches can fit in a storm set at all.
// Both keep the calibration away from sets that would be slow for their user.

#include "model_parameters.h"
#include "storms_drawn.h"

namespace nimbra {

// The processor time of a run, in units of one cell intensity drawn again from an
// exponential distribution (about 0.1 µs on the development machine): a generated storm
// costs its rates and timing plus its cells, a storm drawn again its cells only, and a
// gamma intensity costs more than an exponential one.
double RunCost(const StormsDrawn& drawn, const ModelParameters& parameters);

// What one cell intensity costs to draw, relative to an exponential one.
double IntensityCost(const ModelParameters& parameters);

// The storms one attempt of the wet/dry search of a days-long sequence generates, expected.
double ExpectedStormsPerAttempt(const ModelParameters& parameters, int days);

// True when an attempt for the longest sequence a run takes expects more storms than a
// storm set holds: most attempts would be cut short and searched again.
bool BeyondStormCapacity(const ModelParameters& parameters);

}  // namespace nimbra
