#include <benchmark/benchmark.h>

#include "random.h"

namespace {

void BM_RandomUniform(benchmark::State& state) {
  nimbra::RandomGenerator g;
  g.SetRandomSeed(1);
  for (auto _ : state) benchmark::DoNotOptimize(g.RandomUniform());
}
BENCHMARK(BM_RandomUniform);

// The argument is the number of threads.
void BM_ExponentialRandom(benchmark::State& state) {
  nimbra::RandomGenerator g;
  g.SetThreads(static_cast<int>(state.range(0)));
  g.SetRandomSeed(1);
  for (auto _ : state) benchmark::DoNotOptimize(g.ExponentialRandom(0.454679));
}
BENCHMARK(BM_ExponentialRandom)->Arg(1)->Arg(2)->UseRealTime();

// Shapes: 0.5 (Ahrens-Dieter), 2.69569 (Cheng-Feast), 3 (Erlang).
void BM_GammaRandom(benchmark::State& state) {
  const double shape = static_cast<double>(state.range(0)) / 100000;
  nimbra::RandomGenerator g;
  g.SetRandomSeed(1);
  for (auto _ : state) benchmark::DoNotOptimize(g.GammaRandom(0.0289584, shape));
  state.SetLabel("shape " + std::to_string(shape));
}
BENCHMARK(BM_GammaRandom)->Arg(50000)->Arg(269569)->Arg(300000);

}  // namespace
