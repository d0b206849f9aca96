#pragma once
// What a user set for the runs, kept from one session of the program to the next: the
// model parameters, the run options (seed, repetition options, days per month,
// adjustment, detail level, constant length), the count of sequences of a run, and the
// input files opened last.

#include <QStringList>
#include <optional>

#include "model_parameters.h"
#include "run_options.h"

namespace nimbra {

struct RememberedRun {
  ModelParameters Parameters;
  RunOptions Options;
  int Count = 0;
};

void RememberRun(const RememberedRun& run);
// What was remembered, over the options given (those not remembered stay as given);
// nothing when nothing was, or when it no longer makes a valid parameter set.
std::optional<RememberedRun> RecallRun(const RunOptions& options);

// The input files opened last, the latest first.
QStringList RecentFiles();
void AddRecentFile(const QString& path);

}  // namespace nimbra
