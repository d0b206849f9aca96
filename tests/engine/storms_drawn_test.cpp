// The storms a station run reports drawing: the measure of its work that the calibration
// keeps slow parameter sets out with.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "berlin_july_set.h"
#include "civil_date.h"
#include "station_run.h"

namespace nimbra {
namespace {

const StationSeries kDays{
    DaysFromCivil({2003, 7, 1}), {0, 4.2, 11.5, 0.8, 0, 0, 17.3, 0, 2.1, 6.4, 9.0, 0}, {}};

StormsDrawn Drawn(const ModelParameters& parameters, RunOptions options) {
  ParametersByMonth months;
  months.fill(parameters);
  return DisaggregateStation(kDays, months, options).Drawn;
}

// With a distance every storm set meets, each sequence keeps its first match: no
// intensities are drawn again, and every storm generated is one the log numbers.
TEST(StormsDrawn, CountsEveryStormTheSearchesGenerate) {
  RunOptions options;
  options.RandomSeed = 3;
  options.DetailLevel = 2;
  options.RepDistanceAllowed = 1e9;
  ParametersByMonth months;
  months.fill(kBerlinJulySet);
  const StationResult run = DisaggregateStation(kDays, months, options);
  const auto numbered = std::count_if(run.Log.begin(), run.Log.end(), [](const std::string& line) {
    return line.starts_with("@ Storm No. ");
  });
  EXPECT_GT(numbered, 0);
  EXPECT_EQ(run.Drawn.Generated, numbered);
  EXPECT_EQ(run.Drawn.Redrawn, 0);
}

TEST(StormsDrawn, AreTheSameForTheSameSeedOnAnyNumberOfThreads) {
  RunOptions one;
  one.RandomSeed = 5;
  RunOptions two = one;
  two.Threads = 2;
  RunOptions otherSeed = one;
  otherSeed.RandomSeed = 6;
  const StormsDrawn drawn = Drawn(kBerlinJulySet, one);
  EXPECT_GT(drawn.Redrawn, drawn.Generated)
      << "the repetitions redraw intensities far more often than storms";
  EXPECT_EQ(Drawn(kBerlinJulySet, two), drawn);
  EXPECT_EQ(Drawn(kBerlinJulySet, one), drawn);
  EXPECT_NE(Drawn(kBerlinJulySet, otherSeed), drawn);
}

// More storms per day, or a new storm set at every attempts-th repetition, cost more.
TEST(StormsDrawn, GrowWithTheStormRateAndWithFewerRedrawsPerSet) {
  RunOptions options;
  options.RandomSeed = 2;
  ModelParameters moreStorms = kBerlinJulySet;
  moreStorms.Lambda *= 3;
  moreStorms.MuX /= 3;
  moreStorms.SigmaX /= 3;
  const StormsDrawn fitted = Drawn(kBerlinJulySet, options);
  const StormsDrawn many = Drawn(moreStorms, options);
  EXPECT_GT(many.Generated + many.Redrawn, 2 * (fitted.Generated + fitted.Redrawn));
  RunOptions everyAttempt = options;
  everyAttempt.RepLevel1Factor = 1;
  everyAttempt.RepLevel1Min = 1;
  EXPECT_GT(Drawn(kBerlinJulySet, everyAttempt).Generated, 5 * fitted.Generated);
}

}  // namespace
}  // namespace nimbra
