#pragma once
// `nimbra-cli calibrate`: the fitted parameter sets turned, season by season, until the
// disaggregated hours of a period with both daily and hourly records have the observed
// hourly statistics; writes the calibrated parameters file and the report.

#include <ostream>

namespace nimbra {

int RunCalibrateCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace nimbra
