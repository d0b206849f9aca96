#include "observed_statistics.h"

#include <cmath>

#include "civil_date.h"
#include "errors.h"

namespace nimbra {

namespace {

bool CompleteDay(const HourlyRecord& record, std::int64_t day) {
  for (int h = 0; h < 24; ++h) {
    if (std::isnan(record.Hours[static_cast<std::size_t>(day * 24 + h)])) return false;
  }
  return true;
}

// Interval sums of each run from its start; a trailing part interval is dropped.
std::vector<std::vector<double>> Aggregate(const std::vector<const std::vector<double>*>& runs, int hours) {
  std::vector<std::vector<double>> out;
  for (const auto* run : runs) {
    std::vector<double> sums;
    for (std::size_t start = 0; start + static_cast<std::size_t>(hours) <= run->size(); start += hours) {
      double sum = 0;
      for (int h = 0; h < hours; ++h) sum += (*run)[start + static_cast<std::size_t>(h)];
      sums.push_back(sum);
    }
    out.push_back(std::move(sums));
  }
  return out;
}

struct Moments {
  double n = 0, mean = 0, variance = 0, third = 0, dry = 0, lagPairs = 0, lagProduct = 0;
};

Moments Compute(const std::vector<std::vector<double>>& series) {
  Moments m;
  for (const auto& s : series) {
    for (const double x : s) {
      m.n += 1;
      m.mean += x;
      m.dry += x <= 0 ? 1 : 0;
    }
  }
  m.mean /= m.n;
  for (const auto& s : series) {
    for (std::size_t i = 0; i < s.size(); ++i) {
      const double d = s[i] - m.mean;
      m.variance += d * d;
      m.third += d * d * d;
      if (i + 1 < s.size()) {
        m.lagPairs += 1;
        m.lagProduct += d * (s[i + 1] - m.mean);
      }
    }
  }
  m.variance /= m.n;
  m.third /= m.n;
  m.dry /= m.n;
  m.lagProduct /= m.lagPairs;
  return m;
}

double Pick(const Moments& m, StatisticKind kind) {
  switch (kind) {
    case StatisticKind::Mean:
      return m.mean;
    case StatisticKind::Variance:
      return m.variance;
    case StatisticKind::Autocorrelation:
      return m.lagPairs > 0 ? m.lagProduct / m.variance : NAN;
    case StatisticKind::DryProbability:
      return m.dry;
    case StatisticKind::Skewness:
      return m.third / std::pow(m.variance, 1.5);
  }
  return NAN;
}

double ValueOf(const std::vector<const std::vector<double>*>& runs, const StatisticTarget& target) {
  const Moments m = Compute(Aggregate(runs, target.ScaleHours));
  return m.n > 0 ? Pick(m, target.Kind) : NAN;
}

}  // namespace

SeasonSample TakeSeason(const HourlyRecord& record, MonthMask months, const std::string& season) {
  SeasonSample sample{season, {}, {}};
  std::int64_t previous = -2;
  for (std::int64_t day = 0; day < record.Days(); ++day) {
    const CivilDate date = CivilFromDays(record.FirstDay + day);
    if ((months & (1u << (date.Month - 1))) == 0 || !CompleteDay(record, day)) continue;
    if (day != previous + 1 || sample.RunYears.back() != date.Year) {
      sample.Runs.emplace_back();
      sample.RunYears.push_back(date.Year);
    }
    const auto first = record.Hours.begin() + day * 24;
    sample.Runs.back().insert(sample.Runs.back().end(), first, first + 24);
    previous = day;
  }
  if (sample.Runs.empty()) {
    throw InvalidArgument("Season " + season + ": no complete day (a day with all 24 hours) in the input");
  }
  return sample;
}

double ObservedValue(const SeasonSample& sample, const StatisticTarget& target) {
  std::vector<const std::vector<double>*> runs;
  for (const auto& run : sample.Runs) runs.push_back(&run);
  const double value = ValueOf(runs, target);
  if (!std::isfinite(value) || value == 0) {
    throw InvalidArgument(
        "Season " + sample.Season + ": the observed " + TargetName(target) + " is " +
        (std::isfinite(value) ? "0" : "undefined") +
        " (a constant series, or too few consecutive complete days); it cannot be a target");
  }
  return value;
}

std::vector<double> YearlyValues(const SeasonSample& sample, const StatisticTarget& target) {
  std::vector<double> values;
  for (std::size_t i = 0; i < sample.Runs.size();) {
    std::vector<const std::vector<double>*> runs;
    const int year = sample.RunYears[i];
    for (; i < sample.Runs.size() && sample.RunYears[i] == year; ++i) runs.push_back(&sample.Runs[i]);
    const double value = ValueOf(runs, target);
    if (std::isfinite(value)) values.push_back(value);
  }
  return values;
}

double YearsWeight(const SeasonSample& sample, const StatisticTarget& target, double observed) {
  const std::vector<double> values = YearlyValues(sample, target);
  double mean = 0;
  for (const double v : values) mean += v / observed;
  mean /= static_cast<double>(values.size());
  double variance = 0;
  for (const double v : values) variance += (v / observed - mean) * (v / observed - mean);
  variance /= static_cast<double>(values.size()) - 1;
  if (values.size() < 2 || !(variance > 0)) {
    throw InvalidArgument("Season " + sample.Season + ": the " + TargetName(target) +
                          " does not vary across years; weights by years need two years or more that differ");
  }
  return 1 / variance;
}

}  // namespace nimbra
