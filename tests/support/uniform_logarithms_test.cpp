#include "uniform_logarithms.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>

#include "lcg.h"

namespace nimbra {
namespace {

TEST(LcgJump, LandsWhereSingleStepsLand) {
  for (std::uint32_t start : {0u, 1u, 649090867u, 0xFFFFFFFFu}) {
    std::uint32_t stepped = start;
    for (std::uint64_t n = 0; n <= 5000; ++n) {
      ASSERT_EQ(LcgJump(start, n), stepped) << "start " << start << ", " << n << " steps";
      stepped = LcgNext(stepped);
    }
  }
}

// Multiplier 1 mod 4 and an odd increment give the full period: 2^32 and no divisor of it.
TEST(LcgJump, PeriodIsTwoToTheThirtyTwo) {
  for (std::uint32_t start : {0u, 12345u, 0xFFFFFFFFu}) {
    EXPECT_EQ(LcgJump(start, std::uint64_t{1} << 32), start);
    EXPECT_NE(LcgJump(start, std::uint64_t{1} << 31), start);
  }
  EXPECT_EQ(LcgNext(LcgJump(0, (std::uint64_t{1} << 32) - 1)), 0u);
  EXPECT_EQ(LcgJump(0, (std::uint64_t{1} << 32) - 1), 649090867u);  // the state before 0
}

// Follows a stream as a generator does, taking a logarithm at the draws the pattern
// picks, and checks each against the logarithm computed on the spot. pause slows the
// drawing thread at each block's start so that workers run ahead.
std::int64_t ExpectLogsOfStream(std::uint32_t start, int workers, int blocks, int skipEvery,
                                std::chrono::microseconds pause) {
  UniformLogarithms logs(start, workers);
  std::uint32_t state = start;
  const long long draws = static_cast<long long>(blocks) * UniformLogarithms::kBlockSize;
  for (long long i = 1; i <= draws; ++i) {
    state = LcgNext(state);
    logs.Step();
    if (i % UniformLogarithms::kBlockSize == 1 && pause.count() > 0) std::this_thread::sleep_for(pause);
    if (i % skipEvery == 0) continue;
    const long double log = logs.LogOfCurrent(state);
    if (log != LogOfUniform(state)) {
      ADD_FAILURE() << "draw " << i << " from " << start << " with " << workers << " workers";
      break;
    }
  }
  return logs.LogarithmsReadAhead();
}

TEST(UniformLogarithms, EveryLogarithmIsTheOneComputedOnTheSpot) {
  using std::chrono::microseconds;
  struct Case {
    std::uint32_t start;
    int workers;
    int blocks;
    int skipEvery;
    microseconds pause;
  };
  for (const Case& c : {Case{7, 1, 300, 3, microseconds{0}}, Case{7, 1, 60, 5, microseconds{300}},
                        Case{649090000, 2, 200, 7, microseconds{0}},
                        Case{0xFFFFF000u, 3, 60, 2, microseconds{200}}, Case{0, 0, 20, 4, microseconds{0}}}) {
    const std::int64_t readAhead = ExpectLogsOfStream(c.start, c.workers, c.blocks, c.skipEvery, c.pause);
    if (c.workers == 0) {
      EXPECT_EQ(readAhead, 0);
    }
    // A drawing thread that pauses at every block finds the workers ahead of it.
    if (c.pause.count() > 0) {
      EXPECT_GT(readAhead, c.blocks / 4 * UniformLogarithms::kBlockSize) << "start " << c.start;
    }
  }
}

}  // namespace
}  // namespace nimbra
