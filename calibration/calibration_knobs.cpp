#include "calibration_knobs.h"

namespace nimbra {

Knobs Canonical(Knobs knobs) {
  if (knobs.RepFactor >= 1 && knobs.RepMin <= 2 * knobs.RepFactor) knobs.RepMin = 1;
  return knobs;
}

ModelParameters ApplyKnobs(const ModelParameters& fitted, const Knobs& knobs) {
  const double s = knobs.CellDuration;
  const double f = knobs.StormFrequency;
  const double d = knobs.StormDuration;
  ModelParameters p = fitted;
  p.Lambda = fitted.Lambda * f;
  // eta, the cell end rate, falls by s: its gamma rate grows by s, or eta itself shrinks.
  p.Nu = fitted.FixedEta() ? fitted.Nu / s : fitted.Nu * s;
  // beta = kappa eta and gamma = phi eta fall by d, kappa / phi stays.
  p.Kappa = fitted.Kappa * s / d;
  p.Phi = fitted.Phi * s / d;
  p.MuX = fitted.MuX / (s * f);
  p.SigmaX = fitted.SigmaX / (s * f) * knobs.IntensitySpread;
  return p;
}

RunOptions ApplyKnobs(RunOptions options, const Knobs& knobs) {
  options.RepLevel1Factor = knobs.RepFactor;
  options.RepLevel1Min = knobs.RepMin;
  return options;
}

}  // namespace nimbra
