#include "parameter_checks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "errors.h"

namespace nimbra {
namespace {

// The Berlin-Tempelhof July fit, with gamma intensities.
constexpr ModelParameters kJuly{0.454678781, 0.07465552635, 0.02588573071, 3.9419622, 0.02895838123, 143.28,
                                100};

struct Refusal {
  double ModelParameters::*field;
  double value;
  std::string message;
};

TEST(ParameterChecks, ValuesTheGeneratorCannotDrawWithAreRefusedNamingTheWorkingRange) {
  const std::string lambdaRange =
      "The model parameter Lambda must lie between 1E-6 and 50 storms per day: below, the first storm's day "
      "is beyond "
      "any day number; above, one day needs more storms than an attempt holds; it is ";
  const std::string sigmaRange =
      "The model parameter SigmaX must lie between 1E-6 and 100 times MuX (0.0001433 to 14330 mm/day here) "
      "for the "
      "gamma distribution of cell intensities to be drawn; it is ";
  const std::vector<Refusal> cases{
      {&ModelParameters::Lambda, 1e-300, lambdaRange + "1E-300"},
      {&ModelParameters::Lambda, 60, lambdaRange + "60"},
      {&ModelParameters::Kappa, -1, "The model parameter Kappa must be a positive finite number; it is -1"},
      {&ModelParameters::Kappa, 1e6,
       "The model parameters Kappa and Phi give storms of 38630000 cells on average (1 + Kappa/Phi), and one "
       "storm "
       "in a hundred would need more than the 1000 cells a storm holds: Kappa/Phi must stay below 216; it is "
       "38630000"},
      {&ModelParameters::Alpha, 1e-3,
       "The model parameter Alpha must be at least 0.05: below, the draws of eta from its gamma distribution "
       "underflow to 0; it is 0.001"},
      {&ModelParameters::Nu, 1e-300,
       "The model parameter Nu makes cells end at 3.942E300 per day on average, faster than the tenth of a "
       "second a run can place: Nu must be at least 3.942E-6"},
      {&ModelParameters::Phi, 1e4,
       "The model parameter Phi makes storms end at 1361000 per day on average, faster than the tenth of a "
       "second a run can place: Phi must be at most 7346"},
      {&ModelParameters::SigmaX, 1e-155, sigmaRange + "1E-155"},
      {&ModelParameters::SigmaX, 1e300, sigmaRange + "1E300"},
  };
  for (const Refusal& c : cases) {
    ModelParameters p = kJuly;
    p.*c.field = c.value;
    try {
      RefuseUnworkableParameters(p, true);
      ADD_FAILURE() << "no error for " << c.value;
    } catch (const InvalidArgument& e) {
      EXPECT_EQ(e.what(), c.message);
    }
  }
}

TEST(ParameterChecks, FixedEtaIsBoundedFromAbove) {
  ModelParameters p = kJuly;
  p.Alpha = 100;
  p.Nu = 2e6;
  EXPECT_THROW(RefuseUnworkableParameters(p, false), InvalidArgument);
  p.Nu = 5e5;
  EXPECT_NO_THROW(RefuseUnworkableParameters(p, false));
}

TEST(ParameterChecks, FittedParametersPassWithoutWarning) {
  EXPECT_NO_THROW(RefuseUnworkableParameters(kJuly, true));
  EXPECT_TRUE(ParameterWarnings(kJuly).empty());
  ModelParameters exponential = kJuly;
  exponential.SigmaX = 0;
  EXPECT_NO_THROW(RefuseUnworkableParameters(exponential, false));
}

TEST(ParameterChecks, SlowSearchesAreForeseen) {
  ModelParameters manyStorms = kJuly;
  manyStorms.Lambda = 30;
  ModelParameters manyCells = kJuly;
  manyCells.Kappa = 60 * manyCells.Phi;
  ModelParameters longStorms = kJuly;
  longStorms.Nu = 2;
  const struct {
    ModelParameters p;
    std::string start;
  } cases[] = {
      {manyStorms,
       "Lambda 30 puts 900 storms in a 30-day sequence on average, more than the 50 an attempt holds"},
      {manyCells,
       "The model parameters Kappa and Phi give storms of 61 cells on average (1 + Kappa/Phi): a run is "
       "likely to "
       "meet a storm that needs more than the 1000 cells a storm holds"},
      {longStorms, "Phi and eta (from Alpha and Nu) make a storm rain for 20.11 days on average"}};
  for (const auto& c : cases) {
    const std::vector<std::string> warnings = ParameterWarnings(c.p);
    ASSERT_FALSE(warnings.empty()) << c.start;
    EXPECT_EQ(warnings.front().rfind(c.start, 0), 0u) << warnings.front();
  }
}

}  // namespace
}  // namespace nimbra
