#include <cmath>

#include "engine_fixture.h"

namespace nimbra {
namespace {

// Daily targets of a given length, deterministic per seed, between 0.1 and 60 mm.
std::vector<double> Targets(int days, int seed) {
  RandomGenerator g;
  g.SetRandomSeed(seed);
  std::vector<double> target(static_cast<std::size_t>(days));
  for (double& v : target) v = 0.1 + 60 * g.RandomUniform() * g.RandomUniform();
  return target;
}

double DaySum(const HourlySeries& hours, int day) {
  double sum = 0;
  for (int h = (day - 1) * 24 + 1; h <= day * 24; ++h) sum += hours[h];
  return sum;
}

// The parameter base comes first: behind the engine's megabytes its offset would be
// too large for the sanitizer's check of dynamic types.
class DisaggregationInvariants : public testing::WithParamInterface<std::tuple<int, int>>,
                                 public EngineTest {};

void ExpectDisaggregated(const EngineState& s, int days) {
  ASSERT_EQ(s.SyntheticHourly.Count, 24 * days);
  for (int h = 1; h <= 24 * days; ++h) ASSERT_GE(s.SyntheticHourly[h], 0.0) << "hour " << h;
  for (int k = 1; k <= days; ++k) {
    EXPECT_NEAR(DaySum(s.SyntheticHourly, k), s.OriginalDaily[k], 1e-9 * s.OriginalDaily[k]) << "day " << k;
  }
  for (int storm = 1; storm <= s.Storms.Count; ++storm) ASSERT_GE(s.Storms[storm].Count, 1);
}

TEST_P(DisaggregationInvariants, DailyTotalsAreReproducedAndDepthsNonNegative) {
  const auto [days, seed] = GetParam();
  S().Options.RandomSeed = seed;
  engine.InitialiseRun();
  SetTarget(Targets(days, seed));
  Disaggregate();
  ExpectDisaggregated(S(), days);
  // The searches always succeed here; a day beyond the model's reach may keep its
  // nearest storm set, and says so.
  for (const std::string& message : ui.messages) EXPECT_EQ(message, kNearestStormsKept);
}

INSTANTIATE_TEST_SUITE_P(LengthsAndSeeds, DisaggregationInvariants,
                         testing::Combine(testing::Values(1, 2, 3, 7, 15), testing::Values(1, 2, 3)));

// Thirty wet days in a row are beyond the search: it gives up with its message and
// the sequence is split until every part fits. (With other seeds the joined parts can
// hold more than 50 storms, a range error the step driver retries once.)
TEST_F(EngineTest, ThirtyWetDaysAreDisaggregatedBySplitting) {
  S().Options.RepAllowed = 100;
  S().Options.RandomSeed = 3;
  engine.InitialiseRun();
  SetTarget(Targets(30, 4));
  Disaggregate();
  ExpectDisaggregated(S(), 30);
  EXPECT_FALSE(ui.messages.empty());
}

TEST_F(EngineTest, SameSeedGivesTheSameStormsLogAndDepths) {
  auto run = [this] {
    S().Options.RandomSeed = 99;
    S().PrintProgress = S().PrintStormNumbers = S().PrintCellDetails = true;
    engine.InitialiseRun();
    SetTarget({4.0, 17.0, 0.3});
    Disaggregate();
    std::vector<double> hours(S().SyntheticHourly.Count);
    for (int h = 1; h <= S().SyntheticHourly.Count; ++h)
      hours[static_cast<std::size_t>(h - 1)] = S().SyntheticHourly[h];
    return std::make_tuple(log.Text(), hours, S().Storms.Count, S().Storms[1][1].origin,
                           engine.Random().State());
  };
  const auto first = run();
  const auto second = run();
  EXPECT_EQ(first, second);
  EXPECT_GT(std::get<0>(first).size(), 1000u);
}

TEST_F(EngineTest, DifferentSeedsGiveDifferentHours) {
  std::vector<double> firstHours;
  for (int seed : {5, 6}) {
    S().Options.RandomSeed = seed;
    engine.InitialiseRun();
    SetTarget({4.0, 17.0});
    Disaggregate();
    if (firstHours.empty()) {
      for (int h = 1; h <= 48; ++h) firstHours.push_back(S().SyntheticHourly[h]);
    } else {
      int same = 0;
      for (int h = 1; h <= 48; ++h)
        same += firstHours[static_cast<std::size_t>(h - 1)] == S().SyntheticHourly[h];
      EXPECT_LT(same, 48);
    }
  }
}

}  // namespace
}  // namespace nimbra
