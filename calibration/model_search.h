#pragma once
// The calibration's search after its first stage: a trust region on local linear models of
// the statistics, fitted to every candidate scored so far.

#include "candidate_scorer.h"

namespace nimbra {

// Scores up to evaluations more candidates from the knobs from.
void ModelSearch(Scorer& scorer, const Knobs& from, int evaluations, const ModelParameters& fitted);

}  // namespace nimbra
