#pragma once

#include <ostream>

#include "cli_options.h"

namespace nimbra {

// Runs the engine as the command line asks: log lines to out, messages, errors and
// progress to err. Returns the exit status: 0, 1 when a step failed, 2 when the run
// could not start.
int RunCli(const CliOptions& options, std::ostream& out, std::ostream& err, bool showProgress);

}  // namespace nimbra
