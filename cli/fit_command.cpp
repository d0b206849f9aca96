#include "fit_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <ostream>
#include <thread>

#include "fit_job.h"
#include "input_output_check.h"
#include "option_values.h"
#include "subcommand_run.h"

namespace nimbra {

namespace {

void DefineOptions(CLI::App& app, FitRequest& r) {
  app.add_option("-i,--input", r.Input, "Hourly CSV file: station,time,precip_mm")->required();
  app.add_option("-o,--output", r.Output, "Parameters CSV file to write")->required();
  app.add_option("--report", r.Report, "CSV report of the fit per season");
  app.add_option("--seasons", r.Seasons, "monthly, all, or a CSV file of season,months");
  app.add_option("--scales", r.Scales, "Scales in hours for variance, autocorrelation and dry probability")
      ->delimiter(',')
      ->transform(DecimalInteger());
  app.add_option("--statistics", r.Statistics, "Targets such as mean@24,variance@1,skewness@1")
      ->excludes("--scales");
  app.add_option("--fix", r.Fixed, "NAME=VALUE: hold a parameter")->take_all();
  app.add_option("--bounds", r.Bounds, "NAME=LOW:HIGH: search a parameter within these")->take_all();
  app.add_option("--intensity", r.Intensity, "Cell intensities")
      ->check(CLI::IsMember({"exponential", "gamma"}));
  app.add_option("--weights", r.Weights, "equal, or years: by the spread of each statistic across years")
      ->check(CLI::IsMember({"equal", "years"}));
  app.add_option("--seed", r.Seed, "Seed of the search's starting points")->transform(DecimalInteger());
  app.add_option("--starts", r.Search.Starts, "Local searches per season, from the best screened points")
      ->transform(DecimalInteger())
      ->check(CLI::Range(1, 100000));
  app.add_option("--evaluations", r.Search.LocalEvaluations, "Objective evaluations per local search")
      ->transform(DecimalInteger())
      ->check(CLI::Range(1, 100000000));
  app.add_option("-t,--threads", r.Search.Threads, "Local searches run at once (default: every core)")
      ->transform(DecimalInteger())
      ->check(CLI::Range(1, 1024));
}

void CheckFitFiles(const FitRequest& r) {
  const bool seasonsFile = r.Seasons != "monthly" && r.Seasons != "all";
  CheckFiles({{r.Input, "-i"}, {seasonsFile ? r.Seasons : "", "--seasons"}},
             {{r.Output, "-o"}, {r.Report, "--report"}});
}

}  // namespace

int RunFitCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CLI::App app{"Fits the model's parameters per season to an hourly record by the method of moments",
               "nimbra-cli fit"};
  FitRequest request;
  request.Search.Threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  DefineOptions(app, request);
  return ParseAndRun(
      app, "fit", argc, argv,
      [&] {
        CheckFitFiles(request);
        RunFitJob(request, JobControl{{}, [&](const std::string& line) { err << line << '\n'; }});
        return 0;
      },
      out, err);
}

}  // namespace nimbra
