#pragma once
// nimbra-cli fit --input hourly.csv --output params.csv [--report fit.csv]
// [--seasons monthly|all|FILE] [--scales 1,6,24 | --statistics variance@1,...]
// [--fix NAME=VALUE ...] [--bounds NAME=LOW:HIGH ...] [--intensity exponential|gamma]
// [--weights equal|years] [--seed S]: the model's parameters per season by the method of
// moments.

#include <iosfwd>

namespace nimbra {

// argv[0] is the subcommand's name. Returns 0, or 2 after an error on err.
int RunFitCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace nimbra
