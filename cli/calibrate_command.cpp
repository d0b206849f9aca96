#include "calibrate_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>

#include "calibration_job.h"
#include "input_output_check.h"
#include "option_values.h"
#include "subcommand_run.h"

namespace nimbra {

namespace {

void DefineOptions(CLI::App& app, CalibrationRequest& r) {
  app.add_option("--daily", r.Daily, "Daily CSV file of the calibration period")->required();
  app.add_option("--observed-hourly", r.Observed, "Hourly CSV file of the same period")->required();
  app.add_option("-p,--params", r.Parameters, "Parameters CSV file, as nimbra-cli fit writes it")->required();
  app.add_option("-o,--output", r.Output, "Calibrated parameters CSV file to write")->required();
  app.add_option("--report", r.Report, "CSV report of the statistics before and after");
  app.add_option("--seasons", r.Seasons, "Seasons of the parameters file to calibrate (default: every one)")
      ->delimiter(',');
  app.add_option("--seeds", r.Seeds, "Seeds each candidate is disaggregated with")
      ->transform(DecimalInteger())
      ->check(CLI::Range(1, 100));
  app.add_option("-s,--seed", r.Seed, "First of the seeds")->transform(DecimalInteger());
  app.add_option("--evaluations", r.Evaluations, "Candidates the optimiser may try per season")
      ->transform(DecimalInteger())
      ->check(CLI::Range(1, 10000));
  app.add_option("--slowdown", r.SlowdownAllowed,
                 "Times the fitted set's run time a calibrated set may take (default 2)")
      ->check(RealFromOneTo(100));
  app.add_option("-t,--threads", r.Threads, "Disaggregations run at once (default: every core)")
      ->transform(DecimalInteger())
      ->check(CLI::Range(1, 1024));
  app.add_option("--rep-allowed", r.Run.RepAllowed, "Total repetitions allowed")
      ->transform(DecimalInteger())
      ->check(CLI::Range(1, 100000));
  app.add_option("--distance", r.Run.RepDistanceAllowed, "Distance allowed")->check(NonNegativeReal());
  app.add_flag("--no-adjust{false}", r.Run.PerformAdjustment, "Do not scale the hours to the daily depths");
}

void PrintStep(const CalibrationStep& step, std::ostream& err) {
  const CalibrationEvaluation& e = step.Evaluation;
  const Knobs& k = e.Candidate;
  char line[200];
  std::snprintf(line, sizeof line,
                "season %s: candidate %d, cell duration x%.3f, intensity spread x%.3f, storms x%.3f, "
                "storm duration x%.3f, repetitions %d/%d, objective %.5g on %d seeds\n",
                step.Row->Season.Name.c_str(), e.Number, k.CellDuration, k.IntensitySpread, k.StormFrequency,
                k.StormDuration, k.RepFactor, k.RepMin, e.Score, e.Seeds);
  err << line;
}

void CheckCalibrateFiles(const CalibrationRequest& r) {
  CheckFiles({{r.Daily, "--daily"}, {r.Observed, "--observed-hourly"}, {r.Parameters, "-p"}},
             {{r.Output, "-o"}, {r.Report, "--report"}});
}

}  // namespace

int RunCalibrateCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CLI::App app{"Calibrates fitted parameters so that the disaggregated hours have the observed statistics",
               "nimbra-cli calibrate"};
  CalibrationRequest request;
  request.Threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  DefineOptions(app, request);
  return ParseAndRun(
      app, "calibrate", argc, argv,
      [&] {
        CheckCalibrateFiles(request);
        const auto rows =
            RunCalibrationJob(request, JobControl{{}, [&](const std::string& line) { err << line << '\n'; }},
                              [&](const CalibrationStep& s) { PrintStep(s, err); });
        const bool leftAsTheyWere =
            std::any_of(rows.begin(), rows.end(), [](const RowCalibration& r) { return !r.Warning.empty(); });
        return leftAsTheyWere ? 1 : 0;
      },
      out, err);
}

}  // namespace nimbra
