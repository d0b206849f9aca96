#pragma once
// A fit as one call: the model's parameters per season from an hourly CSV record, written
// as the parameters file (and the report when asked), season after season, with progress
// between seasons; a cancel ends the season's search within a few evaluations.

#include <string>
#include <vector>

#include "fit_output.h"
#include "job_control.h"

namespace nimbra {

// The settings of `nimbra-cli fit`, as their texts.
struct FitRequest {
  std::string Input, Output, Report;
  std::string Seasons = "monthly";  // monthly, all, or a CSV file of season,months
  std::string Statistics;           // mean@24,variance@1,...; wins over Scales
  std::vector<int> Scales;
  std::vector<std::string> Fixed, Bounds;  // NAME=VALUE, NAME=LOW:HIGH
  std::string Intensity = "exponential";
  std::string Weights = "equal";
  unsigned Seed = 1;
  FitSettings Search;  // its seed and stop flag are the request's and the job's
};

struct FitOutcome {
  std::vector<SeasonFit> Fits;
  FitSpace Space;
};

// Writes Output (and Report) only when every season is fitted. Raises InputError,
// InvalidArgument or InOutError naming the file, and Stopped.
FitOutcome RunFitJob(const FitRequest& request, const JobControl& control);

}  // namespace nimbra
