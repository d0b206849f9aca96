#include "calibration_job.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "atomic_file.h"
#include "format.h"
#include "station_batch.h"

namespace nimbra {

namespace {

constexpr int kFirstStageCandidates = 5;

void CheckSeasonNames(const CalibrationRequest& r, const ParameterTable& table) {
  for (const std::string& name : r.Seasons) {
    const auto& rows = table.Rows();
    if (std::none_of(rows.begin(), rows.end(),
                     [&](const SeasonParameters& row) { return row.Season.Name == name; })) {
      throw InvalidArgument("--seasons: " + table.Path() + " has no season '" + name + "'");
    }
  }
}

bool Chosen(const CalibrationRequest& r, const SeasonParameters& row) {
  return r.Seasons.empty() ||
         std::find(r.Seasons.begin(), r.Seasons.end(), row.Season.Name) != r.Seasons.end();
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

CalibrationCase CaseOfRow(const CalibrationRequest& r, const std::vector<NamedSeries>& stations,
                          const std::vector<StationHours>& observed, const SeasonParameters& row) {
  try {
    CalibrationCase problem = MakeCalibrationCase(stations, observed, row.Season);
    problem.Options = r.Run;
    problem.Options.RandomSeed = r.Seed;
    problem.Seeds = r.Seeds;
    problem.Threads = r.Threads;
    return problem;
  } catch (const InvalidArgument& e) {
    throw InputError(r.Parameters + ", line " + std::to_string(row.Line) + ": " + e.what());
  }
}

// The optimiser turns an error raised in a candidate into its own failure: a cancel is
// told by the flag.
CalibrationResult CalibrateRow(const CalibrationRequest& r, const CalibrationCase& problem,
                               const SeasonParameters& row, const JobControl& control,
                               const CalibrationSteps& steps, int seasonsBefore, int seasons) {
  Knobs start;
  start.RepFactor = row.RepFactor.value_or(r.Run.RepLevel1Factor);
  start.RepMin = row.RepMin.value_or(r.Run.RepLevel1Min);
  double best = std::numeric_limits<double>::infinity();
  const double perSeason = CandidatesPerSeason(r);
  const auto progress = [&](const CalibrationEvaluation& e) {
    best = std::min(best, e.Score);
    if (steps) steps({&row, e, best});
    const double done = (seasonsBefore + std::min(1.0, e.Number / perSeason)) / seasons;
    control.Report({"season " + row.Season.Name + ": candidate " + std::to_string(e.Number) + " of " +
                        std::to_string(CandidatesPerSeason(r)) + ", best objective so far " +
                        FormatSignificant(best, 5),
                    done});
    control.Check();
  };
  try {
    return CalibrateSeason(problem, row.Parameters, start, {r.Evaluations}, progress);
  } catch (const std::exception&) {
    control.Check();
    throw;
  }
}

void Write(const std::string& path, const std::vector<RowCalibration>& rows,
           void (*write)(const std::vector<RowCalibration>&, std::ostream&)) {
  AtomicFile file(path);
  write(rows, file.Stream());
  file.Commit();
}

}  // namespace

int CandidatesPerSeason(const CalibrationRequest& request) {
  return kFirstStageCandidates + request.Evaluations + 1 + CalibrationSettings{}.Confirmed;
}

std::vector<RowCalibration> RunCalibrationJob(const CalibrationRequest& r, const JobControl& control,
                                              const CalibrationSteps& steps) {
  const ParameterTable table = ParameterTable::Read(r.Parameters);
  CheckSeasonNames(r, table);
  const std::vector<NamedSeries> daily = ReadDailyCsv(r.Daily, DailyCsvOptions{});
  const std::vector<StationHours> observed = ReadHourlyCsv(r.Observed, HourlyCsvOptions{});
  const int seasons = static_cast<int>(std::count_if(table.Rows().begin(), table.Rows().end(),
                                                     [&](const auto& row) { return Chosen(r, row); }));
  std::vector<RowCalibration> rows;
  int seasonsBefore = 0;
  for (const SeasonParameters& row : table.Rows()) {
    rows.push_back({row, std::nullopt});
    if (!Chosen(r, row)) continue;
    std::optional<CalibrationCase> problem;
    try {
      problem = CaseOfRow(r, StationsOfRow(daily, table, row), observed, row);
    } catch (const InputError&) {
      if (!r.Seasons.empty()) throw;  // a season asked for by name must have days
      continue;
    }
    rows.back().Result = CalibrateRow(r, *problem, row, control, steps, seasonsBefore++, seasons);
  }
  if (std::none_of(rows.begin(), rows.end(), [](const RowCalibration& c) { return c.Result.has_value(); })) {
    throw InputError(r.Parameters + ": no season has days with both a daily depth in " + r.Daily +
                     " and observed hours in " + r.Observed);
  }
  control.Check();
  Write(r.Output, rows, WriteCalibratedParameters);
  if (!r.Report.empty()) Write(r.Report, rows, WriteCalibrationReport);
  return rows;
}

}  // namespace nimbra
