#pragma once
// The third central moment of the model's depth over an interval, from the third-order
// cumulant density of its rain intensity. For three instants a and a + b apart, the
// density sums what one cell, two cells and three cells of one storm contribute:
// their exponential decays averaged over eta in closed form. The interval's moment is
// the density integrated over the interval's ordered triples of instants.

#include "eta_averages.h"
#include "model_parameters.h"

namespace nimbra {

// E[X^3] of a cell intensity as the engine draws it.
double IntensityThirdMoment(const ModelParameters& parameters);

// Third central moment of the depth over h days, in mm^3.
double ThirdCentralMoment(const ModelParameters& parameters, const EtaAverages& eta, double h);

}  // namespace nimbra
