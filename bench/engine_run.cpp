#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "bench_outlets.h"
#include "engine.h"

#ifndef NIMBRA_EXAMPLES_DIR
#error "NIMBRA_EXAMPLES_DIR must name the examples folder"
#endif
#ifndef NIMBRA_TEST_DATA_DIR
#error "NIMBRA_TEST_DATA_DIR must name the test data folder"
#endif

namespace {

struct RunEngine {
  nimbra::CountingLog log;
  nimbra::NullUserInterface ui;
  nimbra::Engine engine{log, ui};

  explicit RunEngine(int threads) {
    nimbra::RunOptions options = engine.View().Options;
    options.Threads = threads;
    engine.SetOptions(options);
    engine.RestartRun();
  }
};

// Test mode with the defaults at level 0: 100 steps per iteration. The argument of
// every run is the number of threads.
void BM_TestModeRun(benchmark::State& state) {
  for (auto _ : state) {
    RunEngine r(static_cast<int>(state.range(0)));
    for (int i = 0; i < 100; ++i) r.engine.Step();
  }
  state.counters["sequences/s"] =
      benchmark::Counter(100.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TestModeRun)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

std::string ReadWhole(const char* path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// File mode, every sequence to the end of the input.
void RunFile(benchmark::State& state, const std::string& text) {
  long long sequences = 0;
  for (auto _ : state) {
    std::istringstream input(text);
    RunEngine r(static_cast<int>(state.range(0)));
    r.engine.OpenInput(input, "input");
    while (!r.engine.View().EndOfInput) r.engine.Step();
    sequences += r.engine.View().SequenceNumber - 1;
  }
  state.counters["sequences/s"] =
      benchmark::Counter(static_cast<double>(sequences), benchmark::Counter::kIsRate);
}

void BM_FileModeRun(benchmark::State& state) {
  RunFile(state, ReadWhole(NIMBRA_EXAMPLES_DIR "/berlin_tempelhof_july_hourly.txt"));
}
BENCHMARK(BM_FileModeRun)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// Berlin-Tempelhof 2010-2014, daily depths only.
void BM_YearsFileRun(benchmark::State& state) {
  RunFile(state, ReadWhole(NIMBRA_TEST_DATA_DIR "/berlin_tempelhof_years_2010_2014.txt"));
}
BENCHMARK(BM_YearsFileRun)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
