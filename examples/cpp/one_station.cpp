// One station disaggregated through the library: a week of daily depths with a missing
// day, the default parameter set for every month, seed 7.

#include <cmath>
#include <cstdio>

#include "civil_date.h"
#include "station_run.h"

int main() {
  nimbra::StationSeries series;
  series.FirstDay = nimbra::DaysFromCivil({2010, 7, 1});
  series.Daily = {0.0, 12.5, 3.1, NAN, 0.4, 0.0, 22.0};

  nimbra::ParametersByMonth parameters;
  parameters.fill({0.9396, 1.05819, 0.0586, 2.69569, 0.15079 / 24, 24.33408, 24.33408});
  nimbra::RunOptions options;
  options.RandomSeed = 7;

  const nimbra::StationResult result = nimbra::DisaggregateStation(series, parameters, options);
  for (std::size_t hour = 0; hour < result.Hourly.size(); ++hour) {
    if (result.Hourly[hour] > 0)
      std::printf("day %zu hour %2zu: %.2f mm\n", hour / 24, hour % 24, result.Hourly[hour]);
  }
  std::printf("%d sequences, %zu failed\n", result.Sequences, result.Failed.size());
}
