#include "cli_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <thread>

#include "field_ranges.h"
#include "option_values.h"

namespace nimbra {

std::array<double, 7> ParseParams(const std::string& text) {
  std::istringstream in(text);
  in.imbue(std::locale::classic());
  std::array<double, 7> values{};
  for (double& v : values) {
    if (!(in >> v))
      throw CLI::ValidationError("--params", "needs seven numbers: LAMBDA KAPPA PHI ALPHA NU MUX SIGMAX");
  }
  std::string extra;
  if (in >> extra) throw CLI::ValidationError("--params", "takes exactly seven numbers");
  return values;
}

namespace {

CLI::Option* IntegerOption(CLI::App& app, const char* names, auto& value, const char* description) {
  return app.add_option(names, value, description)->transform(DecimalInteger());
}

void DefineOptions(CLI::App& app, CliOptions& o, std::string& params) {
  app.add_option("-i,--input", o.input, "Daily input file (file mode); without it, test mode");
  app.add_option("-o,--output", o.output, "Hourly output file, created empty");
  IntegerOption(app, "-n,--sequences", o.sequences,
                "Steps to run (default: 10 in test mode, all in file mode)")
      ->check(CLI::Range(0, std::numeric_limits<int>::max()));
  IntegerOption(app, "-s,--seed", o.seed, "Random seed");
  IntegerOption(app, "-l,--level", o.level, "Detail level of the log, 0 to 3");
  app.add_flag("--stats", o.stats, "Print the statistics report after the last step");
  app.add_flag("--no-adjust", o.noAdjust, "Do not scale the hours to the daily depths");
  IntegerOption(app, "--const-length", o.constLength, "Test mode: every sequence this many days (1 to 20)");
  IntegerOption(app, "--days-per-month", o.daysPerMonth, "Days per month or season (28 to 366)");
  app.add_option("--params", params, "\"LAMBDA KAPPA PHI ALPHA NU MUX SIGMAX\"");
  IntegerOption(app, "--rep-factor", o.repFactor, "Factor for level 1 repetitions allowed (1 to 200)");
  IntegerOption(app, "--rep-min", o.repMin, "Minimum number of level 1 repetitions allowed (1 to 1000)");
  IntegerOption(app, "--rep-allowed", o.repAllowed, "Total repetitions allowed (1 to 100000)");
  app.add_option("--distance", o.distance, "Distance allowed (0 or more)");
  IntegerOption(app, "--threads", o.threads,
                "Cores the run may use (default: all); results do not depend on it")
      ->check(CLI::Range(1, 64));
}

}  // namespace

int DefaultThreads() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

std::optional<CliOptions> ParseOptions(int argc, const char* const* argv, int& exitCode) {
  CLI::App app{"nimbra-cli: disaggregates daily rainfall depths into hourly depths", "nimbra-cli"};
  CliOptions options;
  std::string params;
  DefineOptions(app, options, params);
  try {
    app.parse(argc, argv);
    if (!params.empty()) options.params = ParseParams(params);
    if (options.distance && std::isnan(*options.distance)) {
      throw CLI::ValidationError("--distance", "expected a number such as 0.1, not nan");
    }
    if (options.constLength && !options.input.empty()) {
      throw CLI::ValidationError("--const-length", "is available in test mode only, not with --input");
    }
  } catch (const CLI::ParseError& e) {
    exitCode = e.get_exit_code() == 0 ? 0 : 2;
    if (exitCode == 0) {
      app.exit(e);
    } else {
      std::cerr << "nimbra-cli: " << e.what() << '\n';
    }
    return std::nullopt;
  }
  exitCode = 0;
  return options;
}

RunOptions ApplyOptions(const CliOptions& o, RunOptions run) {
  run.RandomSeed = o.seed;
  run.Threads = o.threads;
  run.DetailLevel = kDetailLevelRange.Clamp(o.level);
  if (o.noAdjust) run.PerformAdjustment = false;
  if (o.constLength) {
    run.UseConstLength = true;
    run.ConstLength = kConstLengthRange.Clamp(*o.constLength);
  }
  if (o.daysPerMonth) run.DaysPerMonth = kDaysPerMonthRange.Clamp(*o.daysPerMonth);
  if (o.repFactor) run.RepLevel1Factor = kRepLevel1FactorRange.Clamp(*o.repFactor);
  if (o.repMin) run.RepLevel1Min = kRepLevel1MinRange.Clamp(*o.repMin);
  if (o.repAllowed) run.RepAllowed = kRepAllowedRange.Clamp(*o.repAllowed);
  if (o.distance) run.RepDistanceAllowed = std::clamp(*o.distance, 0.0, std::numeric_limits<double>::max());
  return run;
}

ModelParameters ParametersFrom(const std::array<double, 7>& v) {
  return {v[0], v[1], v[2], v[3], v[4], v[5], v[6]};
}

ModelParameters ApplyParameters(const CliOptions& o, const ModelParameters& parameters) {
  return o.params ? ParametersFrom(*o.params) : parameters;
}

}  // namespace nimbra
