#include <string>
#include <vector>

#include "engine_fixture.h"

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
  engine.SetDefaults();
  engine.State().RandomSeed = 21;
  engine.Random().SetThreads(threads);
  engine.InitialiseRun();
  engine.SetDetailLevel(2);
  for (int step = 0; step < 6; ++step) engine.NextSequence();
  StepsRun run{log.Text(), {}, engine.Random().State()};
  const HourlySeries& hourly = engine.State().SyntheticHourly;
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
