// CSV input and output without the model: 100 stations x 100 years of daily rows read,
// and the matching hourly rows (24 per day) written. Throughput in MB/s of CSV text.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <streambuf>
#include <string>
#include <vector>

#include "daily_csv_reader.h"
#include "date_time_text.h"
#include "hourly_csv_writer.h"

namespace {

constexpr int kDays = 36524;   // 1901-01-01 to 2000-12-31
constexpr int kTemplates = 4;  // distinct hourly series, repeated over the stations

// A stream buffer that only counts what it is given.
class CountingBuffer : public std::streambuf {
 public:
  std::int64_t Bytes() const { return bytes_; }

 protected:
  std::streamsize xsputn(const char*, std::streamsize count) override {
    bytes_ += count;
    return count;
  }
  int_type overflow(int_type c) override {
    ++bytes_;
    return c;
  }

 private:
  std::int64_t bytes_ = 0;
};

std::string StationName(int s) {
  char name[16];
  std::snprintf(name, sizeof name, "S%03d", s);
  return name;
}

// Rain on 40% of days, at the 0.1 mm of a gauge.
std::vector<double> DailyDepths(std::mt19937& random) {
  std::uniform_real_distribution<double> u(0, 1);
  std::vector<double> daily(kDays);
  for (double& d : daily) d = u(random) < 0.6 ? 0.0 : std::round(-std::log(u(random)) * 40) / 10;
  return daily;
}

std::string DailyFile(int stations) {
  const auto path =
      std::filesystem::temp_directory_path() /
      ("nimbra_series_io_" + std::to_string(::getpid()) + "_" + std::to_string(stations) + ".csv");
  std::ofstream out(path, std::ios::binary);
  out << "station,date,precip_mm\n";
  std::mt19937 random(5);
  const std::int64_t first = *nimbra::ParseDate("1901-01-01");
  char row[64];
  for (int s = 0; s < stations; ++s) {
    const std::string name = StationName(s);
    const std::vector<double> daily = DailyDepths(random);
    for (int d = 0; d < kDays; ++d) {
      const int length = std::snprintf(row, sizeof row, "%s,%s,%.1f\n", name.c_str(),
                                       nimbra::FormatDate(first + d).c_str(), daily[d]);
      out.write(row, length);
    }
  }
  return path.string();
}

// Each day's depth spread over a few hours, as disaggregated hours would be.
std::vector<double> HourlyDepths(std::mt19937& random) {
  std::uniform_real_distribution<double> u(0, 1);
  std::vector<double> hours(static_cast<std::size_t>(kDays) * 24, 0.0);
  const std::vector<double> daily = DailyDepths(random);
  for (int d = 0; d < kDays; ++d) {
    double weights[24] = {}, sum = 0;
    for (double& w : weights) sum += w = u(random) < 0.7 ? 0 : u(random);
    for (int h = 0; h < 24 && sum > 0; ++h) hours[d * 24 + h] = daily[d] * weights[h] / sum;
  }
  return hours;
}

void BM_ReadDailyCsv(benchmark::State& state) {
  const std::string path = DailyFile(static_cast<int>(state.range(0)));
  const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
  for (auto _ : state) benchmark::DoNotOptimize(nimbra::ReadDailyCsv(path, {}));
  std::filesystem::remove(path);
  state.SetBytesProcessed(bytes * state.iterations());
  state.counters["rows"] = static_cast<double>(state.range(0)) * kDays;
}
BENCHMARK(BM_ReadDailyCsv)->Arg(100)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// The stations' hours as CSV into out.
void WriteStations(std::ostream& out, int stations, const std::vector<std::vector<double>>& templates) {
  const std::int64_t first = *nimbra::ParseDate("1901-01-01");
  nimbra::HourlyCsvWriter writer(out, {});
  for (int s = 0; s < stations; ++s) writer.WriteStation(StationName(s), first, templates[s % kTemplates]);
  writer.Flush();
}

std::vector<std::vector<double>> HourlyTemplates() {
  std::mt19937 random(9);
  std::vector<std::vector<double>> templates;
  for (int t = 0; t < kTemplates; ++t) templates.push_back(HourlyDepths(random));
  return templates;
}

// Formatting alone: the text goes to a stream that only counts it.
void BM_WriteHourlyCsv(benchmark::State& state) {
  const auto templates = HourlyTemplates();
  std::int64_t bytes = 0;
  for (auto _ : state) {
    CountingBuffer counter;
    std::ostream out(&counter);
    WriteStations(out, static_cast<int>(state.range(0)), templates);
    bytes += counter.Bytes();
  }
  state.SetBytesProcessed(bytes);
  state.counters["rows"] = static_cast<double>(state.range(0)) * kDays * 24;
}
BENCHMARK(BM_WriteHourlyCsv)->Arg(100)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// The same into a real file (fewer stations, to spare the shared disk).
void BM_WriteHourlyCsvFile(benchmark::State& state) {
  const auto templates = HourlyTemplates();
  const auto path = std::filesystem::temp_directory_path() /
                    ("nimbra_series_io_" + std::to_string(::getpid()) + "_hourly.csv");
  for (auto _ : state) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    WriteStations(out, static_cast<int>(state.range(0)), templates);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(std::filesystem::file_size(path)) * state.iterations());
  std::filesystem::remove(path);
}
BENCHMARK(BM_WriteHourlyCsvFile)->Arg(10)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
