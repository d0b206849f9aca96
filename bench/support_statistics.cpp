// Cost of the statistics a run report computes: all values of an hourly series, and the
// wet-day records of it in both families, over 50000 and 200000 values.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "stat2.h"
#include "statrec.h"

namespace nimbra {
namespace {

constexpr int kMaxLag = 10;

// Hourly depths: about seven hours in ten dry, the wet ones skewed towards small
// depths. A fixed congruential sequence keeps every run on the same data.
class HourlyRain {
 public:
  double Next() {
    state_ = state_ * 1664525u + 1013904223u;
    const std::uint32_t u = state_ >> 8;
    if (u % 10 < 7) return 0.0;
    const double fraction = (u % 1000) / 1000.0;
    return 0.1 + 8.0 * fraction * fraction * fraction;
  }
  int NextRecordLength() {  // whole wet days: 1 to 30 days of 24 hours
    state_ = state_ * 1664525u + 1013904223u;
    return 24 * (1 + static_cast<int>((state_ >> 8) % 30));
  }

 private:
  std::uint32_t state_ = 12345u;
};

std::vector<double> HourlySeries(int n) {
  HourlyRain rain;
  std::vector<double> values(n);
  for (double& value : values) value = rain.Next();
  return values;
}

std::vector<std::vector<double>> WetDaySequences(int slots) {
  HourlyRain rain;
  std::vector<std::vector<double>> records;
  // Each record takes its values and one separator; the end pair needs one more slot.
  for (int used = 2;;) {
    std::vector<double> record(rain.NextRecordLength());
    for (double& value : record) value = rain.Next();
    used += static_cast<int>(record.size()) + 1;
    if (used >= slots) return records;
    records.push_back(std::move(record));
  }
}

void AppendAll(const std::vector<std::vector<double>>& records, RecordSeries& series) {
  InitialiseRecords(series, kRecordSeparator);
  const int length = static_cast<int>(series.size());
  for (const auto& record : records) {
    AppendRecords(record, static_cast<int>(record.size()), series, length, kRecordSeparator);
  }
}

void BM_ArrayStatistics(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::vector<double> values = HourlySeries(n);
  for (auto _ : state) {
    StatisticsSummary summary;
    summary.Count = n;
    summary.Mean = ArrayMean(values, n);
    summary.StDev = std::sqrt(ArrayVariance(values, n));
    summary.Variation = ArrayVariation(values, n);
    summary.Skewness = ArraySkewness(values, n);
    summary.Autoc[0] = 1.0;
    for (int lag = 1; lag <= kMaxLag; ++lag) summary.Autoc[lag] = ArrayAutocorrelation(lag, values, n);
    benchmark::DoNotOptimize(summary);
  }
  state.SetItemsProcessed(state.iterations() * n);
}

using Data = std::span<const double>;

StatisticsSummary RecordsSummary(RecordZeros zeros, Data series, int length) {
  constexpr double sep = kRecordSeparator;
  StatisticsSummary summary;
  summary.Count = RecordsCount(series, length, sep, zeros);
  summary.Mean = RecordsMean(series, length, sep, zeros);
  summary.StDev = std::sqrt(RecordsVariance(series, length, sep, zeros));
  summary.Variation = RecordsVariation(series, length, sep, zeros);
  summary.Skewness = RecordsSkewness(series, length, sep, zeros);
  summary.Autoc[0] = 1.0;
  for (int lag = 1; lag <= kMaxLag; ++lag) {
    summary.Autoc[lag] = RecordsAutocorrelation(lag, series, length, sep, zeros);
  }
  return summary;
}

void BM_RecordStatistics(benchmark::State& state) {
  const int length = static_cast<int>(state.range(0));
  RecordSeries series(length);
  AppendAll(WetDaySequences(length), series);
  for (auto _ : state) {
    benchmark::DoNotOptimize(RecordsSummary(RecordZeros::Taken, series, length));
    benchmark::DoNotOptimize(RecordsSummary(RecordZeros::Skipped, series, length));
  }
  state.SetItemsProcessed(state.iterations() * length);
}

// Every append looks for the end of the data from the start of the series.
void BM_AppendRecords(benchmark::State& state) {
  const int length = static_cast<int>(state.range(0));
  const auto records = WetDaySequences(length);
  RecordSeries series(length);
  for (auto _ : state) {
    AppendAll(records, series);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * length);
}

BENCHMARK(BM_ArrayStatistics)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordStatistics)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendRecords)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nimbra
