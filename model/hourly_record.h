#pragma once
// One gauge's hourly depths laid out day by day: 24 values per day from the day's
// start, NaN for a missing hour.

#include <cstdint>
#include <vector>

namespace nimbra {

struct HourlyRecord {
  std::int64_t FirstDay = 0;  // serial day (support/civil_date.h) of Hours[0 .. 23]
  std::vector<double> Hours;  // 24 per day

  std::int64_t Days() const { return static_cast<std::int64_t>(Hours.size()) / 24; }
};

}  // namespace nimbra
