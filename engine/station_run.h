#pragma once
// One station's daily series disaggregated in one call. The call owns its engine and
// its random stream and shares no state with any other call, so stations run on
// threads, in processes or on other machines and give the same hours.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model_parameters.h"
#include "run_options.h"
#include "storms_drawn.h"

namespace nimbra {

struct StationSeries {
  std::int64_t FirstDay = 0;          // serial day (days since 1970-01-01) of Daily[0]
  std::vector<double> Daily;          // mm per day; NaN marks a missing day
  std::vector<double> ObservedHours;  // 24 per day when observed hours exist, else empty
};

// The parameter set of each calendar month, January first. A wet sequence uses the set
// of its first day's month.
using ParametersByMonth = std::array<ModelParameters, 12>;

struct FailedSequence {
  std::int64_t FirstDay = 0;
  int Days = 0;
  std::string Message;
};

struct StationResult {
  std::vector<double> Hourly;         // 24 per day of the series; NaN on missing days and failed sequences
  std::vector<std::string> Log;       // the lines the log window would show
  std::vector<std::string> Messages;  // what the desktop program would show in message boxes
  int Sequences = 0;                  // wet sequences disaggregated or tried
  std::vector<FailedSequence> Failed;
  // Sequences whose hours were kept although no storm set matched their wet and dry days;
  // the message says what was done instead, as does the one in Messages.
  std::vector<FailedSequence> Warnings;
  // The storms the run drew, failed sequences included: what its time follows.
  StormsDrawn Drawn;
};

// Wet sequences never cross a missing day; runs longer than a series holds are split.
// The random stream starts from options.RandomSeed, and is drawn in the order a run of
// the classic file with the same wet days draws it, so both give the same hours. Throws
// InvalidArgument when ObservedHours has neither no hours nor 24 per day, and Stopped soon
// after options.Stop is set.
StationResult DisaggregateStation(const StationSeries& series, const ParametersByMonth& parameters,
                                  const RunOptions& options);

}  // namespace nimbra
