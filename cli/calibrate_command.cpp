#include "calibrate_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "atomic_file.h"
#include "option_values.h"
#include "subcommand_run.h"
#include "table_calibration.h"

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
  app.add_option("--seeds", a.seeds, "Seeds each candidate is disaggregated with")
      ->transform(DecimalInteger())
      ->check(CLI::Range(1, 100));
  app.add_option("-s,--seed", a.seed, "First of the seeds")->transform(DecimalInteger());
  app.add_option("--evaluations", a.evaluations, "Candidates the optimiser may try per season")
      ->transform(DecimalInteger())
      ->check(CLI::Range(1, 10000));
  app.add_option("-t,--threads", a.threads, "Disaggregations run at once (default: every core)")
      ->transform(DecimalInteger())
      ->check(CLI::Range(1, 1024));
  app.add_option("--rep-allowed", a.run.RepAllowed, "Total repetitions allowed")
      ->transform(DecimalInteger())
      ->check(CLI::Range(1, 100000));
  app.add_option("--distance", a.run.RepDistanceAllowed, "Distance allowed")->check(NonNegativeReal());
  app.add_flag("--no-adjust{false}", a.run.PerformAdjustment, "Do not scale the hours to the daily depths");
}

void PrintProgress(const std::string& season, const CalibrationEvaluation& e, std::ostream& err) {
  const Knobs& k = e.Candidate;
  char line[200];
  std::snprintf(line, sizeof line,
                "season %s: candidate %d, cell duration x%.3f, intensity spread x%.3f, storms x%.3f, "
                "repetitions %d/%d, objective %.5g on %d seeds\n",
                season.c_str(), e.Number, k.CellDuration, k.IntensitySpread, k.StormFrequency, k.RepFactor,
                k.RepMin, e.Score, e.Seeds);
  err << line;
}

std::vector<RowCalibration> Calibrate(const CalibrateArguments& a, std::ostream& err) {
  const ParameterTable table = ParameterTable::Read(a.params);
  const CalibrationPeriod period{a.daily, a.observed, ReadDailyCsv(a.daily, DailyCsvOptions{}),
                                 ReadHourlyCsv(a.observed, HourlyCsvOptions{})};
  const TableCalibrationSettings settings{a.seasons, a.seeds, a.seed, a.evaluations, a.threads, a.run};
  return CalibrateTable(
      table, period, settings,
      [&](const std::string& season, const CalibrationEvaluation& e) { PrintProgress(season, e, err); });
}

void Write(const std::string& path, const std::vector<RowCalibration>& rows,
           void (*write)(const std::vector<RowCalibration>&, std::ostream&)) {
  AtomicFile file(path);
  write(rows, file.Stream());
  file.Commit();
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
        const std::vector<RowCalibration> rows = Calibrate(arguments, err);
        Write(arguments.output, rows, WriteCalibratedParameters);
        if (!arguments.report.empty()) Write(arguments.report, rows, WriteCalibrationReport);
      },
      out, err);
}

}  // namespace nimbra
