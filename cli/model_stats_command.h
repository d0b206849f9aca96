#pragma once
// nimbra-cli model-stats --params "LAMBDA KAPPA PHI ALPHA NU MUX SIGMAX" [--scales 1,3,6,24]:
// the model's own statistics, one CSV row per aggregation scale in hours.

#include <iosfwd>
#include <vector>

#include "model_parameters.h"

namespace nimbra {

// Writes the header and one row per scale; depths in mm per interval.
void WriteModelStatistics(const ModelParameters& parameters, const std::vector<int>& scaleHours,
                          std::ostream& out);

// argv[0] is the subcommand's name. Returns 0, or 2 after an error on err.
int RunModelStatsCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace nimbra
