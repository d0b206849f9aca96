#include "random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "errors.h"
#include "lcg.h"

namespace nimbra {
namespace {

TEST(RandomGenerator, SeedZeroReferenceValues) {
  RandomGenerator g;
  g.SetRandomSeed(0);
  EXPECT_EQ(g.RandomUniform(), 0x1p-32);
  EXPECT_EQ(g.RandomUniform(), 134775814.0 * 0x1p-32);
  EXPECT_EQ(g.State(), 134775814u);
  for (int i = 2; i < 10000; ++i) g.RandomUniform();
  EXPECT_EQ(g.State(), 554857712u);  // validation value: the 10000th state from seed 0
}

TEST(RandomGenerator, NegativeSeedKeepsItsThirtyTwoBits) {
  RandomGenerator g;
  g.SetRandomSeed(-1);
  EXPECT_EQ(g.State(), 0xFFFFFFFFu);
  EXPECT_EQ(g.RandomUniform(), static_cast<double>(0xFFFFFFFFu * 134775813u + 1u) * 0x1p-32);
}

TEST(RandomGenerator, RandomIntegerTakesHighWordOfProduct) {
  RandomGenerator g;
  g.SetRandomSeed(1);  // next state 134775814
  EXPECT_EQ(g.RandomInteger(100), static_cast<int>((134775814ull * 100) >> 32));
  for (int i = 0; i < 1000; ++i) {
    const int r = g.RandomInteger(7);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 7);
  }
}

TEST(RandomGenerator, ClockSeedIsMillisecondsOfTheDay) {
  RandomGenerator g;
  g.RandomizeFromClock();
  EXPECT_LT(g.State(), 24u * 60 * 60 * 1000);
}

// Values computed independently to 60 digits and rounded to double.
TEST(ExponentialRandom, ExactValuesFromSeedZero) {
  RandomGenerator g;
  g.SetRandomSeed(0);
  EXPECT_EQ(g.ExponentialRandom(1.0), 0x1.62e42fefa39efp+4);
  EXPECT_EQ(g.ExponentialRandom(1.0), 0x1.bb1543dcb5856p+1);
  EXPECT_EQ(g.ExponentialRandom(1.0), 0x1.3263d5fd2b992p-3);
}

// A uniform of 0 that would reach a logarithm is passed over. The state after 0 is 1,
// the first state from seed 0, so from there on each variate draws what it draws from
// seed 0; with threads the passed-over uniform is passed over in the same way.
TEST(Variates, UniformOfZeroBeforeALogarithmIsPassedOver) {
  struct Case {
    const char* name;
    std::int32_t seedBeforeZero;  // the state 0 comes at the first or second draw
    std::function<double(RandomGenerator&)> draw;
  };
  constexpr std::int32_t kZeroNext = 649090867;
  constexpr std::int32_t kZeroSecond = -19094774;  // the state before 649090867
  const std::vector<Case> cases = {
      {"exponential", kZeroNext, [](RandomGenerator& g) { return g.ExponentialRandom(1.0); }},
      {"normal", kZeroNext, [](RandomGenerator& g) { return g.NormalRandom(1.0, 2.0); }},
      {"Erlang 1", kZeroNext, [](RandomGenerator& g) { return g.GammaRandom(1.5, 1.0); }},
      {"Erlang 3", kZeroNext, [](RandomGenerator& g) { return g.GammaRandom(1.5, 3.0); }},
      {"Cheng-Feast", kZeroSecond, [](RandomGenerator& g) { return g.GammaRandomLargeShape(1.5, 2.0); }},
  };
  for (const Case& c : cases) {
    for (int threads : {1, 2}) {
      SCOPED_TRACE(std::string(c.name) + ", threads " + std::to_string(threads));
      RandomGenerator fromZero;
      fromZero.SetThreads(threads);
      fromZero.SetRandomSeed(0);
      const double expected = c.draw(fromZero);
      RandomGenerator g;
      g.SetThreads(threads);
      g.SetRandomSeed(c.seedBeforeZero);
      EXPECT_EQ(c.draw(g), expected);
      EXPECT_EQ(g.State(), fromZero.State());
    }
  }
}

TEST(ExponentialRandom, NonPositiveRateWritesTheWarningFirst) {
  RandomGenerator g;
  g.SetRandomSeed(0);
  testing::internal::CaptureStdout();
  EXPECT_THROW(g.ExponentialRandom(0.0), FloatingPointError);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Παράμετρος εκθετικής κατανομής  <=0 \n");
  EXPECT_EQ(g.State(), 1u);  // the uniform was drawn after the warning

  testing::internal::CaptureStdout();
  EXPECT_LT(g.ExponentialRandom(-2.0), 0.0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Παράμετρος εκθετικής κατανομής  <=0 \n");
}

TEST(NormalRandom, TwoCallsUseTwoUniformsAndTheSecondIsTheKeptValue) {
  RandomGenerator g;
  g.SetRandomSeed(42);
  const double first = g.NormalRandom(0.0, 1.0);
  const double second = g.NormalRandom(10.0, 2.0);

  RandomGenerator u;
  u.SetRandomSeed(42);
  const long double r = sqrtl(-2 * logl(u.RandomUniform()));
  const double theta = static_cast<double>(6.283185307179586L * u.RandomUniform());
  EXPECT_EQ(g.State(), u.State());
  EXPECT_DOUBLE_EQ(first, static_cast<double>(r * cosl(theta)));
  EXPECT_DOUBLE_EQ(second, 10.0 + 2.0 * static_cast<double>(r * sinl(theta)));
}

TEST(NormalRandom, KeptValueSurvivesReseeding) {
  RandomGenerator g;
  g.SetRandomSeed(7);
  g.NormalRandom(0.0, 1.0);
  const double kept = [] {
    RandomGenerator h;
    h.SetRandomSeed(7);
    h.NormalRandom(0.0, 1.0);
    return h.NormalRandom(0.0, 1.0);
  }();
  g.SetRandomSeed(7);
  EXPECT_EQ(g.NormalRandom(0.0, 1.0), kept);
  EXPECT_EQ(g.State(), 7u);  // the kept value consumed no uniform
}

// Runs one draw on a generator seeded with seed and returns the value and final state.
struct Draw {
  double value;
  std::uint32_t state;
  bool operator==(const Draw&) const = default;
};

Draw DrawWith(int seed, const std::function<double(RandomGenerator&)>& draw) {
  RandomGenerator g;
  g.SetRandomSeed(seed);
  const double value = draw(g);
  return {value, g.State()};
}

TEST(GammaRandom, DispatcherChoosesMethodByShape) {
  const double rate = 1.5;
  auto gamma = [rate](double shape) {
    return [=](RandomGenerator& g) { return g.GammaRandom(rate, shape); };
  };
  for (int seed : {1, 2, 3, 99}) {
    EXPECT_EQ(DrawWith(seed, gamma(3.000004)),
              DrawWith(seed, [&](RandomGenerator& g) { return g.ErlangRandom(3, rate); }));
    EXPECT_EQ(DrawWith(seed, gamma(0.999999)),
              DrawWith(seed, [&](RandomGenerator& g) { return g.ErlangRandom(1, rate); }));
    EXPECT_EQ(DrawWith(seed, gamma(3.00002)),
              DrawWith(seed, [&](RandomGenerator& g) { return g.GammaRandomLargeShape(rate, 3.00002); }));
    EXPECT_EQ(DrawWith(seed, gamma(25.0)),
              DrawWith(seed, [&](RandomGenerator& g) { return g.GammaRandomLargeShape(rate, 25.0); }));
    EXPECT_EQ(DrawWith(seed, gamma(400.0)),
              DrawWith(seed, [&](RandomGenerator& g) { return g.GammaRandomLargeShape(rate, 400.0); }));
    EXPECT_EQ(DrawWith(seed, gamma(400.5)), DrawWith(seed, [&](RandomGenerator& g) {
                return g.NormalRandom(400.5 / rate, std::sqrt(400.5) / rate);
              }));
    EXPECT_EQ(DrawWith(seed, gamma(0.5)),
              DrawWith(seed, [&](RandomGenerator& g) { return g.GammaRandomSmallShape(rate, 0.5); }));
    EXPECT_EQ(DrawWith(seed, gamma(2.69569)),
              DrawWith(seed, [&](RandomGenerator& g) { return g.GammaRandomLargeShape(rate, 2.69569); }));
  }
}

TEST(GammaRandom, ErlangOfTinyShapeIsZero) {
  RandomGenerator g;
  g.SetRandomSeed(5);
  EXPECT_EQ(g.GammaRandom(1.0, 4e-6), 0.0);
  EXPECT_EQ(g.State(), 5u);
}

void ExpectAssertion(const std::function<void()>& call, int line) {
  try {
    call();
    ADD_FAILURE() << "no assertion failure";
  } catch (const AssertionFailure& e) {
    EXPECT_EQ(e.message(), "Assertion failure");
    EXPECT_EQ(e.unit(), "rnd");
    EXPECT_EQ(e.line(), line);
  }
}

TEST(GammaRandom, ShapeOutsideEachMethodIsAnAssertionFailure) {
  RandomGenerator g;
  ExpectAssertion([&] { g.GammaRandom(1.0, 0.0); }, 269);
  ExpectAssertion([&] { g.GammaRandom(1.0, -1.0); }, 269);
  ExpectAssertion([&] { g.GammaRandom(1.0, std::nan("")); }, 269);
  ExpectAssertion([&] { g.GammaRandomSmallShape(1.0, 1.5); }, 217);
  ExpectAssertion([&] { g.GammaRandomSmallShape(1.0, 0.0); }, 217);
  ExpectAssertion([&] { g.GammaRandomLargeShape(1.0, 1.0); }, 242);
}

// Sample mean and variance over n draws, compared with the exact moments within
// five standard errors (variance of the sample variance from the fourth moment).
struct Moments {
  double mean;
  double variance;
  double fourthCentral;
};

void ExpectMoments(const std::function<double()>& draw, const Moments& exact, int n = 200000) {
  std::vector<double> x(n);
  std::generate(x.begin(), x.end(), draw);
  double sum = 0;
  for (double v : x) sum += v;
  const double mean = sum / n;
  double squares = 0;
  for (double v : x) squares += (v - mean) * (v - mean);
  const double variance = squares / (n - 1);
  const double meanError = std::sqrt(exact.variance / n);
  const double varianceError = std::sqrt((exact.fourthCentral - exact.variance * exact.variance) / n);
  EXPECT_NEAR(mean, exact.mean, 5 * meanError);
  EXPECT_NEAR(variance, exact.variance, 5 * varianceError);
}

Moments GammaMoments(double rate, double shape) {
  const double var = shape / (rate * rate);
  return {shape / rate, var, 3 * shape * (shape + 2) / std::pow(rate, 4)};
}

TEST(Variates, SampleMomentsMatchTheDistributions) {
  RandomGenerator g;
  g.SetRandomSeed(12345);
  ExpectMoments([&] { return g.ExponentialRandom(2.0); }, GammaMoments(2.0, 1.0));
  ExpectMoments([&] { return g.NormalRandom(3.0, 2.0); }, {3.0, 4.0, 3 * 16.0});
  for (double shape : {0.1, 0.5, 1.0, 2.69569, 3.0, 7.5, 25.0, 400.5}) {
    SCOPED_TRACE(shape);
    ExpectMoments([&] { return g.GammaRandom(0.7, shape); }, GammaMoments(0.7, shape));
  }
}

TEST(Variates, ExponentialPassesKolmogorovSmirnov) {
  RandomGenerator g;
  g.SetRandomSeed(2024);
  const int n = 20000;
  std::vector<double> x(n);
  for (double& v : x) v = g.ExponentialRandom(1.0);
  std::sort(x.begin(), x.end());
  double distance = 0;
  for (int i = 0; i < n; ++i) {
    const double cdf = 1 - std::exp(-x[i]);
    distance = std::max({distance, std::fabs(cdf - static_cast<double>(i) / n),
                         std::fabs(cdf - static_cast<double>(i + 1) / n)});
  }
  EXPECT_LT(distance, 1.63 / std::sqrt(n));  // the 1% critical value
}

TEST(Variates, SameSeedSameNumbersToTheLastBit) {
  RandomGenerator a;
  RandomGenerator b;
  a.SetRandomSeed(77);
  b.SetRandomSeed(77);
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(a.GammaRandom(1.0, 0.3 + i * 0.01), b.GammaRandom(1.0, 0.3 + i * 0.01));
  }
}

// Logarithms computed ahead on other threads are the ones computed on the spot: a long
// mixed stream, re-seeded and switched between thread counts on the way, is drawn
// with one thread and again with two and three. It passes the state 0 early on.
std::vector<double> MixedStream(int threads) {
  RandomGenerator g;
  g.SetThreads(threads);
  g.SetRandomSeed(static_cast<std::int32_t>(LcgJump(0, (std::uint64_t{1} << 32) - 20000)));
  std::vector<double> drawn;
  for (int i = 0; i < 300000; ++i) {
    if (i == 100000) g.SetRandomSeed(-5);
    if (i == 200000) g.SetThreads(threads == 1 ? 1 : 5 - threads);
    switch (i % 7) {
      case 0:
        drawn.push_back(g.NormalRandom(0.0, 1.0));
        break;
      case 1:
        drawn.push_back(g.GammaRandom(0.7, 0.4));
        break;
      case 2:
        drawn.push_back(g.GammaRandom(0.7, 2.69569));
        break;
      case 3:
        drawn.push_back(g.GammaRandom(0.7, 1.0));
        break;
      case 4:
        drawn.push_back(g.RandomUniform());
        break;
      default:
        drawn.push_back(g.ExponentialRandom(0.45));
    }
  }
  drawn.push_back(g.State());
  return drawn;
}

TEST(Variates, ThreadsDoNotChangeANumber) {
  const std::vector<double> single = MixedStream(1);
  EXPECT_EQ(MixedStream(2), single);
  EXPECT_EQ(MixedStream(3), single);
}

}  // namespace
}  // namespace nimbra
