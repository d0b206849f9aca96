#pragma once
// The statistics report of a CSV run: per station and season, the statistics of the
// classic report (count, mean, standard deviation, variation, skewness, lag 1 to 10
// autocorrelations) of all values, of the wet days and of the wet hours, for the observed
// daily depths, the disaggregated hours and the observed hours. Series of any length.
// Beside them, the model's own values of all values at 24 h and 1 h from its closed forms
// (series model_daily and model_hourly, no count).
//
// A record is a run of consecutive values: a missing value, a day outside the season (or,
// for the wet views, a dry day) ends it, and autocorrelations pair values of one record only.
// Wet days are those whose observed depth is at least 1e-5 mm, for every series.

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "model_parameters.h"
#include "season.h"
#include "station_run.h"
#include "statrec.h"

namespace nimbra {

// A season and, when one set serves it, the model parameters whose closed-form
// statistics the report shows beside the series' own.
struct ReportSeason {
  nimbra::Season Season;
  std::optional<ModelParameters> Parameters;
};

struct ReportStation {
  std::string Station;
  const StationSeries* Series = nullptr;
  std::span<const double> Disaggregated;  // 24 per day of the series
  std::span<const double> ObservedHours;  // 24 per day of the series, or empty
  std::vector<ReportSeason> Seasons;
};

enum class ReportView { kAllValues, kWetDays, kWetHours };

// The record series of one view: the values of the days in the season, perDay values each.
RecordSeries ViewRecords(const StationSeries& series, std::span<const double> values, int perDay,
                         const Season& season, ReportView view);

// The summary of a record series as the classic report gives it; only Count when fewer than
// two values; wet hours skip the zero values.
StatisticsSummary SummariseView(const RecordSeries& records, ReportView view);

void WriteReportHeader(std::ostream& out);
void WriteStationReport(std::ostream& out, const ReportStation& station);

}  // namespace nimbra
