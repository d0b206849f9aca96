#pragma once
// `nimbra-cli disaggregate`: every station of a daily CSV file through the one-station
// call, the hours written to an hourly CSV file with its JSON sidecar and, when asked,
// the statistics report.

#include <ostream>

#include "disaggregation_job.h"

namespace nimbra {

struct DisaggregateOptions : DisaggregationRequest {
  bool Progress = false;  // progress lines on the error stream
  bool Terminal = false;  // the error stream is a terminal: the progress line is redrawn in place
};

int RunDisaggregate(const DisaggregateOptions& options, std::ostream& out, std::ostream& err);

}  // namespace nimbra
