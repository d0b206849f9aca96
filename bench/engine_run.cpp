#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "bench_outlets.h"
#include "engine.h"

#ifndef NIMBRA_EXAMPLES_DIR
#error "NIMBRA_EXAMPLES_DIR must name the examples folder"
#endif

namespace {

struct RunEngine {
  nimbra::CountingLog log;
  nimbra::NullUserInterface ui;
  nimbra::Engine engine{log, ui};
};

// Test mode with the defaults at level 0: 1000 steps per iteration.
void BM_TestModeRun(benchmark::State& state) {
  for (auto _ : state) {
    RunEngine r;
    for (int i = 0; i < 1000; ++i) r.engine.Step();
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
    const auto& s = r.engine.State();
    r.engine.OpenInput(input, "july");
    while (!s.EndOfInput) r.engine.Step();
    sequences += s.SequenceNumber - 1;
  }
  state.counters["sequences/s"] =
      benchmark::Counter(static_cast<double>(sequences), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FileModeRun)->Unit(benchmark::kMillisecond);

}  // namespace
