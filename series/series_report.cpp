#include "series_report.h"

#include <cmath>
#include <cstdio>

#include "civil_date.h"
#include "csv_row.h"
#include "errors.h"
#include "format.h"
#include "model_statistics.h"

namespace nimbra {

namespace {

constexpr int kHours = 24;
constexpr int kMaxLag = 10;

void CloseRecord(RecordSeries& records) {
  if (records.back() != kRecordSeparator) records.push_back(kRecordSeparator);
}

bool DayTaken(const StationSeries& series, std::size_t day, const Season& season, ReportView view) {
  const double depth = series.Daily[day];
  if (std::isnan(depth)) return false;
  if (view != ReportView::kAllValues && depth < kWetDayDepth) return false;
  return season.Covers(CivilFromDays(series.FirstDay + static_cast<std::int64_t>(day)).Month);
}

void WriteRow(std::ostream& out, const std::string& prefix, const char* view, const StatisticsSummary& s) {
  out << prefix << ',' << view << ',' << s.Count;
  if (s.Count < 2) {
    out << std::string(4 + kMaxLag, ',') << '\n';
    return;
  }
  out << ',' << FormatSignificant(s.Mean, 10) << ',' << FormatSignificant(s.StDev, 10) << ','
      << FormatSignificant(s.Variation, 10) << ',' << FormatSignificant(s.Skewness, 10);
  for (int lag = 1; lag <= kMaxLag; ++lag) out << ',' << FormatSignificant(s.Autoc[lag], 10);
  out << '\n';
}

// The model's statistics of all values at one scale; a set without finite moments
// (Alpha <= 1) leaves the row blank.
void WriteModelRow(std::ostream& out, const std::string& prefix, const ModelParameters& parameters,
                   double days) {
  out << prefix << ",all,";
  try {
    const ModelStatistics model(parameters);
    const double mean = model.Mean(days);
    const double stdev = std::sqrt(model.Variance(days));
    out << ',' << FormatSignificant(mean, 10) << ',' << FormatSignificant(stdev, 10) << ','
        << FormatSignificant(stdev / mean, 10) << ',' << FormatSignificant(model.Skewness(days), 10);
    for (int lag = 1; lag <= kMaxLag; ++lag)
      out << ',' << FormatSignificant(model.Autocorrelation(days, lag), 10);
  } catch (const InvalidArgument&) {
    out << std::string(4 + kMaxLag, ',');
  }
  out << '\n';
}

void WriteSeries(std::ostream& out, const ReportStation& station, const Season& season, const char* name,
                 std::span<const double> values, int perDay) {
  const std::string prefix = CsvField(station.Station) + ',' + CsvField(season.Name) + ',' + name;
  const auto views =
      perDay == 1 ? std::vector<std::pair<ReportView, const char*>>{{ReportView::kAllValues, "all"},
                                                                    {ReportView::kWetDays, "wet_days"}}
                  : std::vector<std::pair<ReportView, const char*>>{{ReportView::kAllValues, "all"},
                                                                    {ReportView::kWetDays, "wet_days"},
                                                                    {ReportView::kWetHours, "wet_hours"}};
  for (const auto& [view, label] : views) {
    WriteRow(out, prefix, label,
             SummariseView(ViewRecords(*station.Series, values, perDay, season, view), view));
  }
}

}  // namespace

RecordSeries ViewRecords(const StationSeries& series, std::span<const double> values, int perDay,
                         const Season& season, ReportView view) {
  RecordSeries records{kRecordSeparator};
  for (std::size_t day = 0; day < series.Daily.size(); ++day) {
    if (!DayTaken(series, day, season, view)) {
      CloseRecord(records);
      continue;
    }
    for (const double value : values.subspan(day * perDay, perDay)) {
      if (std::isnan(value)) {
        CloseRecord(records);
      } else {
        records.push_back(value);
      }
    }
  }
  CloseRecord(records);
  records.push_back(kRecordSeparator);
  return records;
}

StatisticsSummary SummariseView(const RecordSeries& records, ReportView view) {
  StatisticsSummary summary;
  const RecordZeros zeros = view == ReportView::kWetHours ? RecordZeros::Skipped : RecordZeros::Taken;
  SummariseRecords(records, static_cast<int>(records.size()), kRecordSeparator, zeros, summary);
  return summary;
}

void WriteReportHeader(std::ostream& out) {
  out << "station,season,series,view,count,mean,stdev,variation,skewness";
  for (int lag = 1; lag <= kMaxLag; ++lag) out << ",autoc_" << lag;
  out << '\n';
}

void WriteStationReport(std::ostream& out, const ReportStation& station) {
  for (const auto& [season, parameters] : station.Seasons) {
    WriteSeries(out, station, season, "observed_daily", station.Series->Daily, 1);
    WriteSeries(out, station, season, "disaggregated_hourly", station.Disaggregated, kHours);
    if (!station.ObservedHours.empty())
      WriteSeries(out, station, season, "observed_hourly", station.ObservedHours, kHours);
    if (!parameters) continue;
    const std::string prefix = CsvField(station.Station) + ',' + CsvField(season.Name) + ',';
    WriteModelRow(out, prefix + "model_daily", *parameters, 1.0);
    WriteModelRow(out, prefix + "model_hourly", *parameters, 1.0 / kHours);
  }
}

}  // namespace nimbra
