#include "calibrate_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "calibration_output.h"
#include "command_output.h"
#include "errors.h"
#include "hourly_csv_reader.h"
#include "input_output_check.h"
#include "station_batch.h"
#include "subcommand_run.h"

namespace nimbra {

namespace {

struct CalibrateArguments {
  std::string daily, observed, params, output, report;
  std::vector<std::string> seasons;
  int seeds = 6, seed = 1, evaluations = CalibrationSettings{}.Evaluations;
  int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  RunOptions run;
};

void DefineOptions(CLI::App& app, CalibrateArguments& a) {
  app.add_option("--daily", a.daily, "Daily CSV file of the calibration period")->required();
  app.add_option("--observed-hourly", a.observed, "Hourly CSV file of the same period")->required();
  app.add_option("-p,--params", a.params, "Parameters CSV file, as nimbra-cli fit writes it")->required();
  app.add_option("-o,--output", a.output, "Calibrated parameters CSV file to write")->required();
  app.add_option("--report", a.report, "CSV report of the statistics before and after");
  app.add_option("--seasons", a.seasons, "Seasons of the parameters file to calibrate (default: every one)")
      ->delimiter(',');
  app.add_option("--seeds", a.seeds, "Seeds each candidate is disaggregated with")->check(CLI::Range(1, 100));
  app.add_option("-s,--seed", a.seed, "First of the seeds");
  app.add_option("--evaluations", a.evaluations, "Candidates the optimiser may try per season")
      ->check(CLI::Range(1, 10000));
  app.add_option("-t,--threads", a.threads, "Disaggregations run at once (default: every core)")
      ->check(CLI::Range(1, 1024));
  app.add_option("--rep-allowed", a.run.RepAllowed, "Total repetitions allowed")
      ->check(CLI::Range(1, 100000));
  app.add_option("--distance", a.run.RepDistanceAllowed, "Distance allowed")->check(CLI::NonNegativeNumber);
  app.add_flag("--no-adjust{false}", a.run.PerformAdjustment, "Do not scale the hours to the daily depths");
}

void CheckSeasonNames(const CalibrateArguments& a, const ParameterTable& table) {
  for (const std::string& name : a.seasons) {
    const auto& rows = table.Rows();
    if (std::none_of(rows.begin(), rows.end(),
                     [&](const SeasonParameters& r) { return r.Season.Name == name; })) {
      throw InvalidArgument("--seasons: " + table.Path() + " has no season '" + name + "'");
    }
  }
}

bool Chosen(const CalibrateArguments& a, const SeasonParameters& row) {
  return a.seasons.empty() ||
         std::find(a.seasons.begin(), a.seasons.end(), row.Season.Name) != a.seasons.end();
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

CalibrationCase CaseOfRow(const CalibrateArguments& a, const std::vector<NamedSeries>& stations,
                          const std::vector<StationHours>& observed, const SeasonParameters& row) {
  try {
    CalibrationCase problem = MakeCalibrationCase(stations, observed, row.Season);
    problem.Options = a.run;
    problem.Options.RandomSeed = a.seed;
    problem.Seeds = a.seeds;
    problem.Threads = a.threads;
    return problem;
  } catch (const InvalidArgument& e) {
    throw InputError(a.params + ", line " + std::to_string(row.Line) + ": " + e.what());
  }
}

CalibrationResult CalibrateRow(const CalibrateArguments& a, const CalibrationCase& problem,
                               const SeasonParameters& row, std::ostream& err) {
  Knobs start;
  start.RepFactor = row.RepFactor.value_or(a.run.RepLevel1Factor);
  start.RepMin = row.RepMin.value_or(a.run.RepLevel1Min);
  const auto progress = [&](const CalibrationEvaluation& e) {
    const Knobs& k = e.Candidate;
    char line[200];
    std::snprintf(line, sizeof line,
                  "season %s: candidate %d, cell duration x%.3f, intensity spread x%.3f, storms x%.3f, "
                  "repetitions %d/%d, objective %.5g on %d seeds\n",
                  row.Season.Name.c_str(), e.Number, k.CellDuration, k.IntensitySpread, k.StormFrequency,
                  k.RepFactor, k.RepMin, e.Score, e.Seeds);
    err << line;
  };
  return CalibrateSeason(problem, row.Parameters, start, {a.evaluations}, progress);
}

std::vector<RowCalibration> Calibrate(const CalibrateArguments& a, std::ostream& err) {
  const ParameterTable table = ParameterTable::Read(a.params);
  CheckSeasonNames(a, table);
  const std::vector<NamedSeries> daily = ReadDailyCsv(a.daily, DailyCsvOptions{});
  const std::vector<StationHours> observed = ReadHourlyCsv(a.observed, HourlyCsvOptions{});
  std::vector<RowCalibration> rows;
  for (const SeasonParameters& row : table.Rows()) {
    rows.push_back({row, std::nullopt});
    if (!Chosen(a, row)) continue;
    std::optional<CalibrationCase> problem;
    try {
      problem = CaseOfRow(a, StationsOfRow(daily, table, row), observed, row);
    } catch (const InputError&) {
      if (!a.seasons.empty()) throw;  // a season asked for by name must have days
      continue;
    }
    rows.back().Result = CalibrateRow(a, *problem, row, err);
  }
  if (std::none_of(rows.begin(), rows.end(), [](const RowCalibration& r) { return r.Result.has_value(); })) {
    throw InputError(a.params + ": no season has days with both a daily depth in " + a.daily +
                     " and observed hours in " + a.observed);
  }
  return rows;
}

void CheckCalibrateFiles(const CalibrateArguments& a) {
  CheckFiles({{a.daily, "--daily"}, {a.observed, "--observed-hourly"}, {a.params, "-p"}},
             {{a.output, "-o"}, {a.report, "--report"}});
}

}  // namespace

int RunCalibrateCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CLI::App app{"Calibrates fitted parameters so that the disaggregated hours have the observed statistics",
               "nimbra-cli calibrate"};
  CalibrateArguments arguments;
  DefineOptions(app, arguments);
  return ParseAndRun(
      app, "calibrate", argc, argv,
      [&] {
        CheckCalibrateFiles(arguments);
        const std::vector<RowCalibration> rows = Calibrate(arguments, err);
        WriteOutput(arguments.output, err,
                    [&](std::ostream& file) { WriteCalibratedParameters(rows, file); });
        if (!arguments.report.empty())
          WriteOutput(arguments.report, err, [&](std::ostream& file) { WriteCalibrationReport(rows, file); });
      },
      out, err);
}

}  // namespace nimbra
