#include "random.h"

#include <chrono>
#include <cmath>
#include <cstdio>

#include "checked.h"
#include "lcg.h"
#include "power.h"

namespace nimbra {

namespace {

constexpr const char* kUnit = "rnd";
constexpr const char* kAssertion = "Assertion failure";
constexpr long double kTwoPi = 6.283185307179586L;
// Ahrens and Dieter's method is defined with this ten-digit value of e.
constexpr long double kE = 2.718281828L;

void WriteNonPositiveRateWarning() {
  static constexpr const char* kLine = "Παράμετρος εκθετικής κατανομής  <=0 \n";
  if (std::fputs(kLine, stdout) < 0 || std::fflush(stdout) != 0) {
    throw InOutError("I/O error writing to standard output");
  }
}

double DividedByRate(long double x, double rate) {
  return static_cast<double>(Divide(x, static_cast<long double>(rate)));
}

}  // namespace

void RandomGenerator::SetRandomSeed(std::int32_t seed) {
  state_ = static_cast<std::uint32_t>(seed);
  RestartLogarithms();
}

void RandomGenerator::Resume(const Position& position) {
  state_ = position.State;
  HaveSpare = position.HaveSpare;
  Spare = position.Spare;
  RestartLogarithms();
}

void RandomGenerator::RandomizeFromClock() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const auto sinceMidnight = now - floor<days>(now);
  state_ = static_cast<std::uint32_t>(duration_cast<milliseconds>(sinceMidnight).count());
  RestartLogarithms();
}

void RandomGenerator::SetThreads(int threads) {
  if (threads == threads_) return;
  threads_ = threads;
  RestartLogarithms();
}

void RandomGenerator::RestartLogarithms() {
  logarithms_.reset();
  if (threads_ > 1) logarithms_ = std::make_unique<UniformLogarithms>(state_, threads_ - 1);
}

void RandomGenerator::Advance() {
  state_ = LcgNext(state_);
  if (logarithms_) logarithms_->Step();
}

long double RandomGenerator::NonZeroUniform() {
  Advance();
  if (state_ == 0) Advance();  // the state after 0 is 1
  return static_cast<double>(state_) * 0x1p-32;
}

// Inlined: the exponential draw is the run's most frequent call, and a call more in it
// would cost one thread a few per cent.
[[gnu::always_inline]] inline long double RandomGenerator::LogOfNonZeroUniform() {
  Advance();
  if (state_ == 0) Advance();  // the state after 0 is 1
  return logarithms_ ? logarithms_->LogOfCurrent(state_) : LogOfUniform(state_);
}

double RandomGenerator::RandomUniform() {
  Advance();
  return static_cast<double>(state_) * 0x1p-32;
}

std::int32_t RandomGenerator::RandomInteger(std::int32_t n) {
  Advance();
  const std::uint64_t product = std::uint64_t{state_} * static_cast<std::uint32_t>(n);
  return static_cast<std::int32_t>(product >> 32);
}

double RandomGenerator::ExponentialRandom(double rate) {
  if (!(rate > 0)) WriteNonPositiveRateWarning();
  return DividedByRate(-LogOfNonZeroUniform(), rate);
}

double RandomGenerator::NormalRandom(double mean, double sd) {
  double result;
  if (HaveSpare) {
    result = static_cast<double>(mean + static_cast<long double>(sd) * Spare);
  } else {
    const long double r = sqrtl(-2 * LogOfNonZeroUniform());
    const double theta = static_cast<double>(kTwoPi * RandomUniform());
    result = static_cast<double>(mean + sd * r * cosl(theta));
    Spare = static_cast<double>(r * sinl(theta));
  }
  HaveSpare = !HaveSpare;
  return result;
}

double RandomGenerator::GammaRandom(double rate, double shape) {
  if (!(shape > 0)) throw AssertionFailure(kAssertion, kUnit, 269);
  if (shape > 400) {
    const double mean = static_cast<double>(static_cast<long double>(shape) / rate);
    const double sd = static_cast<double>(sqrtl(shape) / rate);
    return NormalRandom(mean, sd);
  }
  const double nearest = std::nearbyint(shape);  // ties to even
  if (shape < 25 && fabsl(static_cast<long double>(shape) - nearest) < 1e-5L) {
    return ErlangRandom(static_cast<int>(nearest), rate);
  }
  if (shape > 1) return GammaRandomLargeShape(rate, shape);
  return GammaRandomSmallShape(rate, shape);
}

double RandomGenerator::ErlangRandom(int n, double rate) {
  if (n == 1) return DividedByRate(-LogOfNonZeroUniform(), rate);
  long double product = 1.0L;
  for (int i = 0; i < n; ++i) product *= NonZeroUniform();
  return DividedByRate(-CheckedLog(product), rate);
}

double RandomGenerator::GammaRandomSmallShape(double rate, double shape) {
  if (!(shape > 0 && shape <= 1)) throw AssertionFailure(kAssertion, kUnit, 217);
  const long double a = shape;
  double x;
  double q;
  long double u2;
  do {
    const long double u1 = RandomUniform();
    u2 = RandomUniform();
    if (u1 <= kE / (kE + a)) {
      x = static_cast<double>(RuntimePower((kE + a) * u1 / kE, 1 / a));
      q = static_cast<double>(expl(-static_cast<long double>(x)));
    } else {
      x = static_cast<double>(-CheckedLog((kE + a) * (1 - u1) / (kE * a)));
      q = static_cast<double>(RuntimePower(x, a - 1));
    }
  } while (!(u2 <= q));
  return static_cast<double>(Divide(static_cast<long double>(x), static_cast<long double>(rate)));
}

double RandomGenerator::GammaRandomLargeShape(double rate, double shape) {
  if (!(shape > 1)) throw AssertionFailure(kAssertion, kUnit, 242);
  const long double a = shape;
  const long double a1 = a - 1;
  const long double b = (a - (1.0L / 6) / a) / a1;
  const long double m = 2 / a1;
  const long double d = m + 2;
  const long double c = 1 / sqrtl(a);
  for (;;) {
    long double u1 = RandomUniform();
    const long double u2 = RandomUniform();
    if (a > 2.5L) u1 = u2 + c * (1 - 1.86L * u1);
    // u2 = 0 would make w = 0, which has neither an inverse nor a logarithm.
    if (u1 <= 0 || u1 >= 1 || u2 == 0) continue;
    const double w = static_cast<double>(b * u2 / u1);
    const long double inverseW = Divide(1.0L, static_cast<long double>(w));
    const bool accepted = m * u1 + w + inverseW <= d || m * CheckedLog(u1) - CheckedLog(w) + w <= 1;
    if (accepted) return static_cast<double>(Divide(a1 * w, static_cast<long double>(rate)));
  }
}

}  // namespace nimbra
