#include "hour_comparison.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "civil_date.h"
#include "errors.h"
#include "model_statistics.h"
#include "series_report.h"

namespace nimbra {

namespace {

constexpr int kHours = 24;
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr double kDay = 1.0;
constexpr double kHour = kDay / kHours;

int MonthOf(const StationSeries& series, std::size_t day) {
  return CivilFromDays(series.FirstDay + static_cast<std::int64_t>(day)).Month;
}

std::vector<bool> CompleteDaysInSeason(const StationSeries& series, std::span<const double> hours,
                                       const Season& season) {
  std::vector<bool> taken(series.Daily.size());
  for (std::size_t day = 0; day < taken.size(); ++day) {
    const auto dayHours = hours.subspan(day * kHours, kHours);
    taken[day] = !std::isnan(series.Daily[day]) && season.Covers(MonthOf(series, day)) &&
                 std::none_of(dayHours.begin(), dayHours.end(), [](double h) { return std::isnan(h); });
  }
  return taken;
}

std::vector<YearlyMaximum> YearlyMaxima(const StationSeries& series, std::span<const double> hours,
                                        const std::vector<bool>& taken) {
  std::map<int, double> maxima;
  for (std::size_t day = 0; day < taken.size(); ++day) {
    if (!taken[day]) continue;
    const auto dayHours = hours.subspan(day * kHours, kHours);
    const int year = CivilFromDays(series.FirstDay + static_cast<std::int64_t>(day)).Year;
    const double wettest = *std::max_element(dayHours.begin(), dayHours.end());
    auto [entry, added] = maxima.emplace(year, wettest);
    if (!added) entry->second = std::max(entry->second, wettest);
  }
  std::vector<YearlyMaximum> list;
  for (const auto& [year, depth] : maxima) list.push_back({year, depth});
  return list;
}

SourceFigures RecordFigures(const StationSeries& series, std::span<const double> hours,
                            const Season& season) {
  SourceFigures figures;
  figures.Values.fill(kNone);
  if (hours.empty()) return figures;
  const StatisticsSummary all = SummariseView(
      ViewRecords(series, hours, kHours, season, ReportView::kAllValues), ReportView::kAllValues);
  const std::vector<bool> taken = CompleteDaysInSeason(series, hours, season);
  HourlySums sums;
  sums.Add(hours, taken);
  try {
    figures.Values = sums.Values();
  } catch (const InvalidArgument&) {
    // Too few hours or none wet: only the report's figures stand.
  }
  if (all.Count >= 2) {
    figures.Values[static_cast<std::size_t>(HourlyStatistic::Variance)] = all.StDev * all.StDev;
    figures.Values[static_cast<std::size_t>(HourlyStatistic::Autocorrelation)] = all.Autoc[1];
  }
  figures.YearlyMaxima = YearlyMaxima(series, hours, taken);
  return figures;
}

SourceFigures ModelFigures(const std::optional<ModelParameters>& parameters) {
  SourceFigures figures;
  figures.Values.fill(kNone);
  if (!parameters) return figures;
  try {
    const ModelStatistics model(*parameters);
    figures.Values[static_cast<std::size_t>(HourlyStatistic::Variance)] = model.Variance(kHour);
    figures.Values[static_cast<std::size_t>(HourlyStatistic::Autocorrelation)] =
        model.Autocorrelation(kHour, 1);
    figures.Values[static_cast<std::size_t>(HourlyStatistic::DryFraction)] = model.DryProbability(kHour);
  } catch (const InvalidArgument&) {
    // A set without finite moments has no closed forms to show.
  }
  return figures;
}

}  // namespace

HourComparison CompareHours(const StationSeries& series, std::span<const double> observed,
                            std::span<const double> disaggregated, const Season& season,
                            const std::optional<ModelParameters>& parameters) {
  HourComparison comparison;
  comparison.Sources[static_cast<std::size_t>(HourSource::Observed)] =
      RecordFigures(series, observed, season);
  comparison.Sources[static_cast<std::size_t>(HourSource::Disaggregated)] =
      RecordFigures(series, disaggregated, season);
  comparison.Sources[static_cast<std::size_t>(HourSource::Model)] = ModelFigures(parameters);
  return comparison;
}

std::vector<HourComparison> CompareSeasons(const StationSeries& series, std::span<const double> observed,
                                           std::span<const double> disaggregated,
                                           const std::vector<SeasonParameters>& rows) {
  std::vector<HourComparison> comparisons;
  for (const SeasonParameters& row : rows)
    comparisons.push_back(CompareHours(series, observed, disaggregated, row.Season, row.Parameters));
  return comparisons;
}

std::vector<std::array<double, 2>> GumbelPlot(const std::vector<YearlyMaximum>& maxima) {
  std::vector<double> depths;
  for (const YearlyMaximum& m : maxima) depths.push_back(m.Depth);
  std::sort(depths.begin(), depths.end());
  std::vector<std::array<double, 2>> points;
  const double n = static_cast<double>(depths.size());
  for (std::size_t i = 0; i < depths.size(); ++i) {
    const double probability = static_cast<double>(i + 1) / (n + 1);
    points.push_back({-std::log(-std::log(probability)), depths[i]});
  }
  return points;
}

}  // namespace nimbra
