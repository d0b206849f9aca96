#pragma once
// What a calibration turns: the cell duration, the spread of cell intensities, the storm
// frequency, the level-1 repetition settings and the storm duration, as changes to a
// fitted parameter set.

#include <compare>

#include "model_parameters.h"
#include "run_options.h"

namespace nimbra {

struct Knobs {
  // Factor on the mean cell duration. The cell and storm rates (beta, gamma) stay, so a
  // storm keeps its length and its number of cells, and the mean intensity falls by the
  // same factor, so the mean depth stays.
  double CellDuration = 1;
  // Factor on the standard deviation of cell intensities, the mean intensity held.
  double IntensitySpread = 1;
  // Factor on the storm arrival rate, with the cell intensities divided by it, so the mean
  // depth stays: more and lighter storms wet more hours of a wet day.
  double StormFrequency = 1;
  int RepFactor = 20;
  int RepMin = 50;
  // Factor on the mean storm duration with the same cells per storm, which arrive that much
  // more slowly: the cells of a storm overlap less, so the hours lose persistence and wet
  // spells break up, while the variance and the mean depth barely move (the latter not at
  // all). Last, so that a list of the first five knobs keeps its meaning.
  double StormDuration = 1;

  auto operator<=>(const Knobs&) const = default;
};

// The same knobs with the repetition minimum that behaves alike: the level-1 repetitions
// allowed are max(factor * attempts, minimum), and a search that found its sequence has
// counted at least two attempts, so any minimum up to twice the factor changes nothing
// and is written 1. Equivalent candidates are then one candidate, disaggregated once.
Knobs Canonical(Knobs knobs);

ModelParameters ApplyKnobs(const ModelParameters& fitted, const Knobs& knobs);
RunOptions ApplyKnobs(RunOptions options, const Knobs& knobs);

}  // namespace nimbra
