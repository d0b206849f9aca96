#pragma once
// What nimbra-cli fit writes: the parameters file the disaggregation reads
// (`season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x`, days and millimetres, with a
// `months` column after the season for named seasons) and the report of each season's
// statistics and parameters.

#include <iosfwd>
#include <vector>

#include "fit_seasons.h"
#include "fit_space.h"
#include "parameter_fit.h"

namespace nimbra {

struct SeasonFit {
  FitSeason Season;
  FitResult Result;
};

void WriteFittedParameters(const std::vector<SeasonFit>& fits, bool named, std::ostream& out);

// One row per season and statistic (observed, fitted, weight, relative error), then one
// per season and coordinate (value, bounds, and whether it ended on a bound or was fixed),
// then the spread of the search's starts: the objective reached (best, median, worst), the
// number of starts and how many of them ended within 2 % of the best.
void WriteFitReport(const std::vector<SeasonFit>& fits, const FitSpace& space, std::ostream& out);

}  // namespace nimbra
