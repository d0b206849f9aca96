// Independent items on a few threads, and threads shared among tasks that run at once.

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "indexed_work.h"
#include "thread_share.h"

namespace nimbra {
namespace {

TEST(RunEachIndex, RunsEveryItemOnceOnAnyNumberOfThreads) {
  for (const int threads : {0, 1, 2, 5}) {
    for (const std::size_t count : {0U, 1U, 7U}) {
      std::vector<std::atomic<int>> runs(count);
      RunEachIndex(count, threads, [&](std::size_t i) { ++runs[i]; });
      for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(runs[i], 1) << threads << " threads, item " << i;
    }
  }
}

TEST(RunEachIndex, RaisesTheErrorOfTheLowestItemThatFailedAndStartsNoMore) {
  std::atomic<int> started = 0;
  try {
    RunEachIndex(100, 1, [&](std::size_t i) {
      ++started;
      if (i >= 3) throw std::runtime_error("item " + std::to_string(i));
    });
    FAIL() << "no error raised";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "item 3");
  }
  EXPECT_EQ(started, 4);
}

// Three threads, two tasks running: one thread is free for the steps of either.
TEST(ThreadShare, LendsFreeThreadsToStepsAndTakesThemBackAfter) {
  ThreadShare share(3);
  share.Begin();
  share.Begin();
  {
    const ThreadShare::Lease first(share, 4);
    EXPECT_EQ(first.Threads(), 2);
    const ThreadShare::Lease second(share, 4);
    EXPECT_EQ(second.Threads(), 1) << "its own thread only";
  }
  EXPECT_EQ(ThreadShare::Lease(share, 1).Threads(), 1) << "a step of one job wants no other";
  share.End();  // a task ended: its thread is free too
  EXPECT_EQ(ThreadShare::Lease(share, 4).Threads(), 3);
}

}  // namespace
}  // namespace nimbra
