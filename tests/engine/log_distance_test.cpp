#include <cmath>
#include <limits>
#include <vector>

#include "engine_fixture.h"

namespace nimbra {
namespace {

// The distance by its definition: the running maximum of |log| over the days, where a
// NaN ratio counts for nothing.
double DayByDayDistance(const std::vector<double>& original, const std::vector<double>& synthetic) {
  double distance = 0;
  for (std::size_t k = 0; k < original.size(); ++k) {
    distance = std::max(distance, std::fabs(std::log((original[k] + 0.1) / (synthetic[k] + 0.1))));
  }
  return distance;
}

class LogDistanceTest : public EngineTest {
 protected:
  double Distance(const std::vector<double>& original, const std::vector<double>& synthetic) {
    SetTarget(original);
    S().SyntheticDaily.Count = static_cast<int>(synthetic.size());
    for (std::size_t k = 0; k < synthetic.size(); ++k)
      S().SyntheticDaily[static_cast<int>(k) + 1] = synthetic[k];
    return engine.LogDistance(1, static_cast<int>(original.size()));
  }
};

TEST_F(LogDistanceTest, IsTheDayByDayMaximumToTheLastBit) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double justAbove = std::nextafter(2.9, 3.0);
  struct Case {
    std::vector<double> original, synthetic;
  };
  std::vector<Case> cases = {
      {{1.0, 5.0, 2.0}, {1.0, 50.0, 2.5}},            // the smallest ratio is the worst day
      {{40.0, 5.0, 2.0}, {1.0, 4.0, 2.5}},            // the largest ratio is
      {{2.9, justAbove, 2.9}, {0.0, 0.0, 0.0}},       // ties one step apart
      {{0.0, 0.0}, {2.9, std::nextafter(2.9, 0.0)}},  // and below 1
      {{nan, 4.0}, {1.0, 1.0}},                       // a NaN day
      {{3.0}, {3.0}},                                 // ratio 1
  };
  RandomGenerator g;
  g.SetRandomSeed(8);
  for (int n = 0; n < 300; ++n) {
    Case c;
    const int days = 1 + g.RandomInteger(30);
    for (int k = 0; k < days; ++k) {
      c.original.push_back(60 * g.RandomUniform() * g.RandomUniform());
      c.synthetic.push_back(60 * g.RandomUniform() * g.RandomUniform());
    }
    cases.push_back(c);
  }
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(Distance(cases[i].original, cases[i].synthetic),
              DayByDayDistance(cases[i].original, cases[i].synthetic))
        << "case " << i;
  }
}

}  // namespace
}  // namespace nimbra
