#pragma once
// The one boundary of every command of nimbra-cli: whatever its work throws ends the
// command with "nimbra-cli NAME: why" on the error stream and a status the README lists,
// after the stack has unwound, so that the outputs not yet committed are removed.

#include <CLI/CLI.hpp>
#include <functional>
#include <ostream>
#include <string>

namespace nimbra {

// Runs work and returns its status; an exception of any kind gives failureStatus (1 for a
// run that had started, 2 for one that could not start).
int AtCommandBoundary(const std::string& name, std::ostream& err, int failureStatus,
                      const std::function<int()>& work);

// A subcommand's options parsed and its work done: 0 on success or help, the work's own
// status (1 when part of it could not be done), 2 for a bad option or an error of the work.
int ParseAndRun(CLI::App& app, const std::string& name, int argc, const char* const* argv,
                const std::function<int()>& work, std::ostream& out, std::ostream& err);

}  // namespace nimbra
