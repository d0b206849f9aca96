#include "calibration_output.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>

#include "csv_row.h"
#include "errors.h"
#include "format.h"
#include "model_statistics.h"

namespace nimbra {

namespace {

constexpr double kHour = 1.0 / 24;

// "12 1 2", as the months column is read.
std::string MonthList(MonthSet months) {
  std::string text;
  for (int month = 1; month <= 12; ++month) {
    if ((months & MonthBit(month)) == 0) continue;
    if (!text.empty()) text += ' ';
    text += std::to_string(month);
  }
  return text;
}

std::string Number(double value) { return FormatSignificant(value, 10); }

std::string Optional(const std::optional<int>& value) {
  return value ? std::to_string(*value) : std::string();
}

// The model's value of the statistic, empty where the model has no closed form or no finite mean.
std::string ModelValue(const ModelParameters& parameters, HourlyStatistic statistic) {
  try {
    const ModelStatistics model(parameters);
    switch (statistic) {
      case HourlyStatistic::Variance:
        return Number(model.Variance(kHour));
      case HourlyStatistic::Autocorrelation:
        return Number(model.Autocorrelation(kHour, 1));
      case HourlyStatistic::DryFraction:
        return Number(model.DryProbability(kHour));
      default:
        return {};
    }
  } catch (const InvalidArgument&) {
    return {};
  }
}

// A season given by name has its months in a column of their own.
bool Named(const Season& season) {
  return season.Name != "all" && !(season.Name.size() <= 2 && ParseMonthList(season.Name));
}

void WriteParametersRow(const RowCalibration& entry, bool stations, bool months, std::ostream& out) {
  const SeasonParameters& row = entry.Row;
  if (stations) out << CsvField(row.Station) << ',';
  out << CsvField(row.Season.Name) << ',';
  if (months) out << (Named(row.Season) ? MonthList(row.Season.Months) : "") << ',';
  const ModelParameters& p = entry.Result ? entry.Result->Parameters : row.Parameters;
  for (const double v : {p.Lambda, p.Kappa, p.Phi, p.Alpha, p.Nu, p.MuX, p.SigmaX}) out << Number(v) << ',';
  if (entry.Result) {
    out << "yes," << entry.Result->Best.RepFactor << ',' << entry.Result->Best.RepMin << '\n';
  } else {
    out << (row.Calibrated ? "yes," : "no,") << Optional(row.RepFactor) << ',' << Optional(row.RepMin)
        << '\n';
  }
}

void WriteSeasonReport(const SeasonParameters& row, const CalibrationResult& r, std::ostream& out) {
  const std::string season =
      CsvField(row.Station.empty() ? row.Season.Name : row.Station + ' ' + row.Season.Name);
  for (std::size_t i = 0; i < kHourlyStatisticCount; ++i) {
    const auto statistic = static_cast<HourlyStatistic>(i);
    out << season << ',' << StatisticName(statistic) << ',' << Number(r.Observed[i]) << ','
        << Number(r.Before[i]) << ',' << Number(r.After[i]) << ',' << ModelValue(row.Parameters, statistic)
        << ',' << ModelValue(r.Parameters, statistic) << ',' << Number(r.Weights[i]) << '\n';
  }
  const auto knob = [&](const char* name, double before, double after) {
    out << season << ',' << name << ",," << Number(before) << ',' << Number(after) << ",,,\n";
  };
  knob("cell_duration_factor", r.Start.CellDuration, r.Best.CellDuration);
  knob("intensity_spread_factor", r.Start.IntensitySpread, r.Best.IntensitySpread);
  knob("storm_frequency_factor", r.Start.StormFrequency, r.Best.StormFrequency);
  knob("storm_duration_factor", r.Start.StormDuration, r.Best.StormDuration);
  knob("rep_factor", r.Start.RepFactor, r.Best.RepFactor);
  knob("rep_min", r.Start.RepMin, r.Best.RepMin);
  knob("objective", r.ObjectiveBefore, r.ObjectiveAfter);
  knob("run_work", r.WorkBefore, r.WorkAfter);
  knob("evaluations", 0, r.Evaluations);
}

}  // namespace

void WriteCalibratedParameters(const std::vector<RowCalibration>& rows, std::ostream& out) {
  const auto has = [&](auto test) { return std::any_of(rows.begin(), rows.end(), test); };
  const bool stations = has([](const RowCalibration& r) { return !r.Row.Station.empty(); });
  const bool months = has([](const RowCalibration& r) { return Named(r.Row.Season); });
  out << (stations ? "station," : "") << "season," << (months ? "months," : "")
      << "lambda,kappa,phi,alpha,nu,mu_x,sigma_x,calibrated,rep_factor,rep_min\n";
  for (const RowCalibration& entry : rows) WriteParametersRow(entry, stations, months, out);
}

void WriteCalibrationReport(const std::vector<RowCalibration>& rows, std::ostream& out) {
  out << "season,item,observed,before,after,model_before,model_after,weight\n";
  for (const RowCalibration& entry : rows) {
    if (entry.Result) WriteSeasonReport(entry.Row, *entry.Result, out);
  }
}

}  // namespace nimbra
