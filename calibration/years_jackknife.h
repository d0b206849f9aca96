#pragma once
// How well the calibration's own years pin each observed statistic. A statistic that rests
// on a few heavy days or on few years (the variance and the extremes of a short record) is
// uncertain; fitting it closely fits those years' chance, which other years do not repeat.
// The jackknife over calendar years (each year left out in turn) gives its standard error.

#include <cstdint>
#include <map>
#include <span>
#include <vector>

#include "hourly_statistics.h"

namespace nimbra {

class YearsJackknife {
 public:
  // As HourlySums::Add, each calendar year's days gathered apart.
  void Add(std::span<const double> hours, const std::vector<bool>& daysTaken, std::int64_t firstDay);
  // Each statistic's standard error relative to its value on every year; zero with fewer
  // than two years, or where a year left out leaves no value.
  HourlyValues RelativeErrors() const;

 private:
  std::map<int, HourlySums> years_;
};

// The weights with each statistic's tempered by its relative error r: w tau^2 / (tau^2 + r^2),
// tau being the precision a calibration seeks. A statistic known better than that keeps
// nearly its weight; one known worse counts by its error in standard errors, so the pull
// toward the fitted set wins over fitting it.
HourlyValues TemperedWeights(const HourlyValues& weights, const HourlyValues& relativeErrors);

}  // namespace nimbra
