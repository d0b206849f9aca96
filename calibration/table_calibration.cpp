#include "table_calibration.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "errors.h"
#include "indexed_work.h"
#include "station_batch.h"

namespace nimbra {

namespace {

void CheckSeasonNames(const TableCalibrationSettings& s, const ParameterTable& table) {
  for (const std::string& name : s.Seasons) {
    const auto& rows = table.Rows();
    if (std::none_of(rows.begin(), rows.end(),
                     [&](const SeasonParameters& r) { return r.Season.Name == name; })) {
      throw InvalidArgument("--seasons: " + table.Path() + " has no season '" + name + "'");
    }
  }
}

bool Chosen(const TableCalibrationSettings& s, const SeasonParameters& row) {
  return s.Seasons.empty() ||
         std::find(s.Seasons.begin(), s.Seasons.end(), row.Season.Name) != s.Seasons.end();
}

// The stations whose days in the row's months take their parameters from the row.
std::vector<NamedSeries> StationsOfRow(const std::vector<NamedSeries>& daily, const ParameterTable& table,
                                       const SeasonParameters& row) {
  std::vector<NamedSeries> served;
  for (const NamedSeries& station : daily) {
    for (const SeasonParameters& own : table.RowsFor(station.Station)) {
      const MonthSet months = own.Season.Months & MonthsWithValues(station.Series);
      if (own.Line == row.Line && months != 0) {
        served.push_back({station.Station, station.Series});
        served.back().Series = KeepMonths(station.Series, months);
      }
    }
  }
  return served;
}

CalibrationCase CaseOfRow(const TableCalibrationSettings& s, const ParameterTable& table,
                          const std::vector<NamedSeries>& stations, const std::vector<StationHours>& observed,
                          const SeasonParameters& row) {
  try {
    CalibrationCase problem = MakeCalibrationCase(stations, observed, row.Season);
    problem.Options = s.Run;
    problem.Options.RandomSeed = s.Seed;
    problem.Seeds = s.Seeds;
    problem.SlowdownAllowed = s.SlowdownAllowed;
    return problem;
  } catch (const InvalidArgument& e) {
    throw InputError(table.Path() + ", line " + std::to_string(row.Line) + ": " + e.what());
  }
}

CalibrationResult CalibrateRow(const TableCalibrationSettings& s, const CalibrationCase& problem,
                               const SeasonParameters& row, const TableCalibrationProgress& progress) {
  Knobs start;
  start.RepFactor = row.RepFactor.value_or(s.Run.RepLevel1Factor);
  start.RepMin = row.RepMin.value_or(s.Run.RepLevel1Min);
  CalibrationProgress seasonProgress;
  if (progress) seasonProgress = [&](const CalibrationEvaluation& e) { progress(row.Season.Name, e); };
  return CalibrateSeason(problem, row.Parameters, start, {s.Evaluations}, seasonProgress);
}

std::string LeftAsItWas(const ParameterTable& table, const SeasonParameters& row) {
  return table.Path() + ", line " + std::to_string(row.Line) + ": season '" + row.Season.Name +
         "': no candidate disaggregated every wet sequence of the period (see the set's warnings); "
         "the set is left as it was";
}

// Seasons are calibrated at once, a thread each; a season's runs take the threads that are
// free as they start, so the threads of seasons that have ended serve those still running.
// A season's result does not depend on its threads, nor on which seasons run beside it.
void CalibrateSeasons(const TableCalibrationSettings& s, const ParameterTable& table,
                      std::vector<std::pair<std::size_t, CalibrationCase>>& problems,
                      std::vector<RowCalibration>& rows, const TableCalibrationProgress& progress) {
  ThreadShare threads(s.Threads);
  for (auto& [row, problem] : problems) problem.Shared = &threads;
  std::mutex reporting;
  TableCalibrationProgress serialised;
  if (progress) {
    serialised = [&](const std::string& season, const CalibrationEvaluation& e) {
      std::lock_guard lock(reporting);
      progress(season, e);
    };
  }
  try {
    RunEachIndex(problems.size(), s.Threads, [&](std::size_t i) {
      const auto& [row, problem] = problems[i];
      threads.Begin();
      CalibrationResult result = CalibrateRow(s, problem, rows[row].Row, serialised);
      threads.End();
      if (!result.Failed) {
        rows[row].Result = std::move(result);
      } else {
        rows[row].Warning = LeftAsItWas(table, rows[row].Row);
      }
    });
  } catch (...) {
    // The optimiser turns an error of its objective into one of its own: a stop is told by
    // its flag.
    ThrowIfStopped(s.Run);
    throw;
  }
}

// The first few stations' names, quoted, and how many more there are.
template <class Stations>
std::string FewNames(const Stations& stations) {
  constexpr std::size_t kNamed = 3;
  std::string names;
  for (std::size_t i = 0; i < std::min(stations.size(), kNamed); ++i) {
    names += (i == 0 ? "'" : ", '") + stations[i].Station + "'";
  }
  if (stations.size() > kNamed) names += " and " + std::to_string(stations.size() - kNamed) + " more";
  return names;
}

// Hours kept under other station names than the days are the likeliest reason for a period
// without a day to calibrate on: said as such, rather than as a season without days.
void CheckStationsMeet(const CalibrationPeriod& period) {
  for (const NamedSeries& station : period.Daily) {
    if (std::any_of(period.Observed.begin(), period.Observed.end(),
                    [&](const StationHours& s) { return s.Station == station.Station; })) {
      return;
    }
  }
  throw InputError(period.ObservedName + ": has no hours of any station of " + period.DailyName +
                   ": its stations are " + FewNames(period.Observed) + ", those of " + period.DailyName +
                   " " + FewNames(period.Daily));
}

}  // namespace

std::vector<RowCalibration> CalibrateTable(const ParameterTable& table, const CalibrationPeriod& period,
                                           const TableCalibrationSettings& settings,
                                           const TableCalibrationProgress& progress) {
  CheckSeasonNames(settings, table);
  CheckStationsMeet(period);
  std::vector<RowCalibration> rows;
  std::vector<std::pair<std::size_t, CalibrationCase>> problems;  // row index, its case
  for (const SeasonParameters& row : table.Rows()) {
    rows.push_back({row, std::nullopt, {}});
    if (!Chosen(settings, row)) continue;
    try {
      problems.emplace_back(
          rows.size() - 1,
          CaseOfRow(settings, table, StationsOfRow(period.Daily, table, row), period.Observed, row));
    } catch (const InputError&) {
      if (!settings.Seasons.empty()) throw;  // a season asked for by name must have days
    }
  }
  if (problems.empty()) {
    throw InputError(table.Path() + ": no season has days with both a daily depth in " + period.DailyName +
                     " and observed hours in " + period.ObservedName);
  }
  CalibrateSeasons(settings, table, problems, rows, progress);
  return rows;
}

}  // namespace nimbra
