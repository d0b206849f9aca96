#pragma once
// The subcommands of nimbra-cli (disaggregate, convert, merge, model-stats, fit), each
// with options of its own. The
// plain command line without a subcommand stays the classic run.

#include <iosfwd>
#include <optional>

namespace nimbra {

// Runs the subcommand that argv[1] names and returns its exit status; returns nothing
// when argv[1] names no subcommand.
std::optional<int> RunSubcommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace nimbra
