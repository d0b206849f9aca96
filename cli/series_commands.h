#pragma once
// The subcommands of nimbra-cli for dated series: `disaggregate` (daily CSV in, hourly CSV
// out) and `convert` (classic files to CSV and back). Plain `nimbra-cli` with the classic
// options never reaches them.

#include <ostream>

namespace nimbra {

// True when the first argument names one of the subcommands.
bool IsSeriesCommand(int argc, const char* const* argv);

// Runs the subcommand: output and log lines to out, errors and counts to err. Returns the
// exit status: 0, 1 when a sequence failed, 2 when the command could not start.
int RunSeriesCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace nimbra
