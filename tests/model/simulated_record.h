#pragma once
// A gauge record simulated by the engine's own storm generator, run continuously (not
// in test mode, whose sequences are conditioned on their wet runs). The one place where
// model tests and benchmarks reach the engine's storm stages.

#include <cstdint>

#include "hourly_record.h"
#include "model_parameters.h"

namespace nimbra {

// Storms arrive from 30 days before the record on, so that it starts in the model's
// stationary state.
HourlyRecord SimulateRecord(const ModelParameters& parameters, std::int64_t firstDay, std::int64_t days,
                            int seed);

}  // namespace nimbra
