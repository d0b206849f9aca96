#pragma once
// The numbers of the comparison of one station and season: observed hours (when there
// are some), disaggregated hours and the model's own values, side by side. Variance and
// lag-1 autocorrelation are the report's (series_report.h); the dry-hour fraction, the
// mean wet-spell length and the wettest hour's share of its day are the calibration's
// (hourly_statistics.h), on the days in the season with a daily depth and all 24 hours.

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "hourly_statistics.h"
#include "model_parameters.h"
#include "parameter_table.h"
#include "season.h"
#include "station_run.h"

namespace nimbra {

enum class HourSource { Observed, Disaggregated, Model };
inline constexpr std::size_t kHourSourceCount = 3;

struct YearlyMaximum {
  int Year = 0;
  double Depth = 0;  // mm in the year's wettest hour of the season
};

struct SourceFigures {
  // NaN where the source has no value: the model has no spells nor shares, a source
  // without hours none at all.
  HourlyValues Values{};
  std::vector<YearlyMaximum> YearlyMaxima;  // years with a day in the season, by year
};

struct HourComparison {
  std::array<SourceFigures, kHourSourceCount> Sources{};
};

// observed and disaggregated hold 24 hours per day of the series (observed may be empty).
HourComparison CompareHours(const StationSeries& series, std::span<const double> observed,
                            std::span<const double> disaggregated, const Season& season,
                            const std::optional<ModelParameters>& parameters);

// The comparison of each of a station's season rows, in their order: all of a run's
// figures at once, so that a front end computes them away from its window.
std::vector<HourComparison> CompareSeasons(const StationSeries& series, std::span<const double> observed,
                                           std::span<const double> disaggregated,
                                           const std::vector<SeasonParameters>& rows);

// The yearly maxima sorted, each with its Gumbel reduced variate -ln(-ln(i / (n + 1))).
std::vector<std::array<double, 2>> GumbelPlot(const std::vector<YearlyMaximum>& maxima);

}  // namespace nimbra
