#include "years_jackknife.h"

#include <cmath>

#include "civil_date.h"
#include "errors.h"

namespace nimbra {

namespace {

// A tenth: the bar a calibrated variance is held to on other years.
constexpr double kPrecisionSought = 0.1;

}  // namespace

void YearsJackknife::Add(std::span<const double> hours, const std::vector<bool>& daysTaken,
                         std::int64_t firstDay) {
  std::map<int, std::vector<bool>> byYear;
  for (std::size_t day = 0; day < daysTaken.size(); ++day) {
    if (!daysTaken[day]) continue;
    std::vector<bool>& taken = byYear[CivilFromDays(firstDay + static_cast<std::int64_t>(day)).Year];
    taken.resize(daysTaken.size());
    taken[day] = true;
  }
  for (const auto& [year, taken] : byYear) years_[year].Add(hours, taken, firstDay);
}

HourlyValues YearsJackknife::RelativeErrors() const {
  HourlyValues errors{};
  const auto n = static_cast<double>(years_.size());
  if (years_.size() < 2) return errors;
  HourlySums all;
  std::vector<HourlyValues> leftOut;
  try {
    for (const auto& [year, sums] : years_) {
      all.Add(sums);
      HourlySums others;
      for (const auto& [other, otherSums] : years_) {
        if (other != year) others.Add(otherSums);
      }
      leftOut.push_back(others.Values());
    }
  } catch (const InvalidArgument&) {
    return errors;  // a year left out leaves no wet hour: nothing to say
  }
  const HourlyValues whole = all.Values();
  for (std::size_t i = 0; i < errors.size(); ++i) {
    // A dry fraction near one is pinned as well as the wet hours are: its error is the wet fraction's.
    const auto value = [&](const HourlyValues& v) {
      return i == static_cast<std::size_t>(HourlyStatistic::DryFraction) ? 1 - v[i] : v[i];
    };
    double mean = 0;
    for (const HourlyValues& v : leftOut) mean += value(v) / n;
    double squares = 0;
    for (const HourlyValues& v : leftOut) squares += (value(v) - mean) * (value(v) - mean);
    if (value(whole) != 0) errors[i] = std::sqrt((n - 1) / n * squares) / std::abs(value(whole));
  }
  return errors;
}

HourlyValues TemperedWeights(const HourlyValues& weights, const HourlyValues& relativeErrors) {
  HourlyValues tempered;
  const double sought = kPrecisionSought * kPrecisionSought;
  for (std::size_t i = 0; i < weights.size(); ++i) {
    tempered[i] = weights[i] * sought / (sought + relativeErrors[i] * relativeErrors[i]);
  }
  return tempered;
}

}  // namespace nimbra
