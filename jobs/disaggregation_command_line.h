#pragma once
// The nimbra-cli command that repeats a disaggregation a front end made: what its sidecar
// records, so that a run made in a window can be made again in a shell, byte for byte.

#include <string>
#include <vector>

#include "disaggregation_job.h"

namespace nimbra {

// "nimbra-cli disaggregate -i ... -p ... -o ..." with the options that differ from their
// defaults, and --seed and --threads always.
std::vector<std::string> DisaggregationCommandLine(const DisaggregationRequest& request);

}  // namespace nimbra
