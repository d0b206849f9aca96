#include "hourly_statistics.h"

#include <algorithm>
#include <numeric>
#include <optional>

#include "civil_date.h"
#include "errors.h"

namespace nimbra {

namespace {

constexpr std::size_t kHours = 24;

// Linear between the order statistics around q (n - 1), as numpy's default.
double Percentile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  const double position = q * static_cast<double>(values.size() - 1);
  const auto below = static_cast<std::size_t>(position);
  const std::size_t above = std::min(below + 1, values.size() - 1);
  return values[below] + (position - static_cast<double>(below)) * (values[above] - values[below]);
}

}  // namespace

const char* StatisticName(HourlyStatistic statistic) {
  static constexpr std::array<const char*, kHourlyStatisticCount> kNames = {
      "variance@1",         "autocorrelation_lag1@1", "dry_fraction@1", "wet_spell_hours",
      "wettest_hour_share", "yearly_largest_hour",    "wet_hour_p99.9"};
  return kNames[static_cast<std::size_t>(statistic)];
}

void HourlySums::Add(std::span<const double> hours, const std::vector<bool>& daysTaken,
                     std::int64_t firstDay) {
  bool previousTaken = false;
  double previous = 0;
  std::optional<int> year;
  double largest = 0;
  const auto closeYear = [&] {
    if (year) years_ += 1, yearlyLargest_ += largest;
  };
  for (std::size_t day = 0; day < daysTaken.size(); ++day) {
    if (!daysTaken[day]) {
      previousTaken = false;
      continue;
    }
    const std::span<const double> dayHours = hours.subspan(day * kHours, kHours);
    const int dayYear = CivilFromDays(firstDay + static_cast<std::int64_t>(day)).Year;
    if (year != dayYear) {
      closeYear();
      year = dayYear;
      largest = 0;
    }
    largest = std::max(largest, *std::max_element(dayHours.begin(), dayHours.end()));
    for (const double x : dayHours) {
      count_ += 1;
      sum_ += x;
      sumSquares_ += x * x;
      const bool wet = x >= kWetHourDepth;
      dryHours_ += wet ? 0 : 1;
      if (wet) wetHours_.push_back(x);
      spellHours_ += wet ? 1 : 0;
      if (wet && !(previousTaken && previous >= kWetHourDepth)) spells_ += 1;
      if (previousTaken) {
        pairs_ += 1;
        pairFirst_ += previous;
        pairSecond_ += x;
        pairProducts_ += previous * x;
      }
      previous = x;
      previousTaken = true;
    }
    const double total = std::accumulate(dayHours.begin(), dayHours.end(), 0.0);
    if (total >= kWetHourDepth) {
      wetDays_ += 1;
      wettestShares_ += *std::max_element(dayHours.begin(), dayHours.end()) / total;
    }
  }
  closeYear();
}

void HourlySums::Add(const HourlySums& o) {
  count_ += o.count_, sum_ += o.sum_, sumSquares_ += o.sumSquares_;
  pairs_ += o.pairs_, pairFirst_ += o.pairFirst_, pairSecond_ += o.pairSecond_;
  pairProducts_ += o.pairProducts_;
  dryHours_ += o.dryHours_, spells_ += o.spells_, spellHours_ += o.spellHours_;
  wetDays_ += o.wetDays_, wettestShares_ += o.wettestShares_;
  years_ += o.years_, yearlyLargest_ += o.yearlyLargest_;
  wetHours_.insert(wetHours_.end(), o.wetHours_.begin(), o.wetHours_.end());
}

HourlyValues HourlySums::Values() const {
  // A wet hour makes a wet day, so every statistic below has a divisor.
  if (pairs_ < 1 || spells_ < 1) {
    throw InvalidArgument("expected at least two consecutive hours and one of at least 0.05 mm, found " +
                          std::to_string(static_cast<long>(count_)) + " hours and " +
                          std::to_string(static_cast<long>(spellHours_)) + " wet ones");
  }
  const double mean = sum_ / count_;
  const double variance = (sumSquares_ - count_ * mean * mean) / (count_ - 1);
  // Lag-1 covariance about the mean of all hours, as the autocorrelation of one long series.
  const double covariance = (pairProducts_ - mean * (pairFirst_ + pairSecond_)) / pairs_ + mean * mean;
  return {variance,
          covariance / (variance * (count_ - 1) / count_),
          dryHours_ / count_,
          spellHours_ / spells_,
          wettestShares_ / wetDays_,
          yearlyLargest_ / years_,
          Percentile(wetHours_, 0.999)};
}

}  // namespace nimbra
