#include <benchmark/benchmark.h>

#include "bench_outlets.h"
#include "engine_core.h"

namespace {

using nimbra::CountingLog;
using nimbra::NullUserInterface;

struct BenchEngine {
  CountingLog log;
  NullUserInterface ui;
  nimbra::EngineCore engine{log, ui};

  BenchEngine(int days, int threads) {
    engine.SetDefaults();
    engine.Random().SetThreads(threads);
    engine.InitialiseRun();
    auto& target = engine.State().OriginalDaily;
    target.Count = days;
    for (int k = 1; k <= days; ++k) target[k] = 2.0 + 7.0 * (k % 3);
  }
};

// One sequence disaggregated as every run does it, on fixed targets; the second
// argument is the number of threads.
void BM_DisaggregateSequence(benchmark::State& state) {
  BenchEngine b(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const nimbra::DailySeries target = b.engine.State().OriginalDaily;
  for (auto _ : state) b.engine.DisaggregateSequence(target);
  state.counters["repetitions/s"] =
      benchmark::Counter(static_cast<double>(b.log.repetitions), benchmark::Counter::kIsRate);
  state.SetLabel(std::to_string(state.range(0)) + " wet days, " + std::to_string(state.range(1)) +
                 " threads");
}
BENCHMARK(BM_DisaggregateSequence)
    ->ArgsProduct({{1, 3, 10}, {1, 2}})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

void BM_SeekWetDrySequence(benchmark::State& state) {
  BenchEngine b(static_cast<int>(state.range(0)), 1);
  long long attempts = 0;
  for (auto _ : state) {
    int n = static_cast<int>(state.range(0));
    b.engine.SeekWetDrySequence(n, false);
    attempts += b.engine.State().Attempts - 1;
  }
  state.counters["attempts/s"] =
      benchmark::Counter(static_cast<double>(attempts), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SeekWetDrySequence)->Arg(1)->Arg(3)->Arg(10)->Unit(benchmark::kMicrosecond);

}  // namespace
