#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "bench_outlets.h"

#ifndef NIMBRA_EXAMPLES_DIR
#error "NIMBRA_EXAMPLES_DIR must name the examples folder"
#endif

namespace {

struct RunEngine {
  nimbra::CountingLog log;
  nimbra::NullUserInterface ui;
  nimbra::Engine engine{log, ui};

  RunEngine() {
    engine.SetDefaults();
    engine.InitialiseRun();
    engine.State().OriginalHourlyAvailable = true;
  }
};

// Test mode with the defaults at level 0: 1000 steps per iteration.
void BM_TestModeRun(benchmark::State& state) {
  for (auto _ : state) {
    RunEngine r;
    for (int i = 0; i < 1000; ++i) r.engine.NextSequence();
  }
  state.counters["sequences/s"] =
      benchmark::Counter(1000.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TestModeRun)->Unit(benchmark::kMillisecond);

// File mode over the July example, every sequence to the end of the input.
void BM_FileModeRun(benchmark::State& state) {
  std::ifstream file(NIMBRA_EXAMPLES_DIR "/berlin_tempelhof_july_hourly.txt", std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  long long sequences = 0;
  for (auto _ : state) {
    std::istringstream input(text.str());
    RunEngine r;
    auto& s = r.engine.State();
    s.InputFile = &input;
    s.ReadFromFile = true;
    r.engine.InitialiseRun();
    r.engine.ReadInputHeader();
    while (!s.EndOfInput) r.engine.NextSequence();
    sequences += s.SequenceNumber - 1;
  }
  state.counters["sequences/s"] =
      benchmark::Counter(static_cast<double>(sequences), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FileModeRun)->Unit(benchmark::kMillisecond);

}  // namespace
