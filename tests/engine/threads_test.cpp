#include <string>
#include <vector>

#include "engine_fixture.h"
#include "engine_test_seam.h"

namespace nimbra {
namespace {

// Test-mode steps at the storm-number level: every storm, attempt, repetition count
// and distance is in the log, so a single logarithm taken out of turn shows.
struct StepsRun {
  std::string log;
  std::vector<double> hours;
  std::uint32_t state = 0;
  bool operator==(const StepsRun&) const = default;
};

StepsRun RunSteps(int threads) {
  MemoryLog log;
  RecordingUserInterface ui;
  Engine engine(log, ui);
  RunOptions options = engine.View().Options;
  options.RandomSeed = 21;
  options.Threads = threads;
  options.DetailLevel = 2;
  engine.SetOptions(options);
  engine.RestartRun();
  for (int step = 0; step < 6; ++step) engine.Step();
  StepsRun run{log.Text(), {}, EngineTestSeam::Core(engine).Random().State()};
  const HourlySeries& hourly = engine.View().SyntheticHourly;
  for (int h = 1; h <= hourly.Count; ++h) run.hours.push_back(hourly[h]);
  return run;
}

TEST(EngineThreads, StepsAreTheSameWithOneTwoOrThreeThreads) {
  const StepsRun single = RunSteps(1);
  EXPECT_GT(single.log.size(), 10000u);
  EXPECT_EQ(RunSteps(2), single);
  EXPECT_EQ(RunSteps(3), single);
}

}  // namespace
}  // namespace nimbra
