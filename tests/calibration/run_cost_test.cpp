// The cost of a parameter set: its runs' time from the storms drawn, and the storms one
// search attempt expects against what a storm set holds.

#include "run_cost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "berlin_july_set.h"
#include "station_run.h"

namespace nimbra {
namespace {

ModelParameters StormsTimes(double factor) {
  ModelParameters p = kBerlinJulySet;
  p.Lambda *= factor;
  return p;
}

TEST(RunCost, StormsPerAttemptAndTheStormCapacityAsWorkedOutByHand) {
  // 1 + lambda (30 - (1 / lambda - exp(-lambda) / (1 - exp(-lambda))))
  EXPECT_NEAR(ExpectedStormsPerAttempt(kBerlinJulySet, 30), 14.430193, 1e-6);
  EXPECT_NEAR(ExpectedStormsPerAttempt(StormsTimes(4), 30), 54.913649, 1e-6);
  EXPECT_NEAR(ExpectedStormsPerAttempt(StormsTimes(3.5), 30), 48.148221, 1e-6);
  EXPECT_FALSE(BeyondStormCapacity(kBerlinJulySet));
  EXPECT_FALSE(BeyondStormCapacity(StormsTimes(3.5)));
  EXPECT_TRUE(BeyondStormCapacity(StormsTimes(4)));
}

// Every attempt generates all storms up to the sequence's end before it is checked, so the
// storms generated over the attempts of many searches average the closed form. With a
// distance every set meets, each sequence takes one search and no redraw.
TEST(RunCost, TheSearchesGenerateTheExpectedStormsPerAttempt) {
  const ModelParameters p = StormsTimes(3);
  for (const int days : {1, 3}) {
    StationSeries series;
    for (int block = 0; block < 400; ++block) {
      series.Daily.insert(series.Daily.end(), static_cast<std::size_t>(days), 5.0);
      series.Daily.push_back(0);
    }
    ParametersByMonth months;
    months.fill(p);
    RunOptions options;
    options.RandomSeed = 7;
    options.RepDistanceAllowed = 1e9;
    const StationResult run = DisaggregateStation(series, months, options);
    const std::string found = "@ Found W/D sequence at attempt No. ";
    double attempts = 0;
    for (const std::string& line : run.Log) {
      if (line.starts_with(found)) attempts += std::stod(line.substr(found.size()));
    }
    ASSERT_GT(attempts, 400);
    EXPECT_EQ(run.Drawn.Redrawn, 0);
    const double expected = ExpectedStormsPerAttempt(p, days);
    // The count is 1 + Poisson(lambda (days - first origin)): its variance is below lambda days.
    const double standardError = std::sqrt(p.Lambda * days / attempts);
    EXPECT_NEAR(static_cast<double>(run.Drawn.Generated) / attempts, expected, 4 * standardError)
        << days << " days";
  }
}

// Gamma intensities (a spread other than the mean) cost several times the exponential
// ones for the same storms, and a storm generated costs more than one drawn again.
TEST(RunCost, GammaIntensitiesAndGeneratedStormsCostMore) {
  ModelParameters wider = kBerlinJulySet;
  wider.SigmaX *= 1.24;
  const StormsDrawn redrawn{0, 1000}, generated{1000, 0};
  EXPECT_GT(RunCost(redrawn, wider), 3 * RunCost(redrawn, kBerlinJulySet));
  EXPECT_GT(RunCost(generated, kBerlinJulySet), 3 * RunCost(redrawn, kBerlinJulySet));
}

}  // namespace
}  // namespace nimbra
