#include "cli_options.h"

#include <CLI/CLI.hpp>
#include <sstream>

#include "field_ranges.h"

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

void DefineOptions(CLI::App& app, CliOptions& o, std::string& params) {
  app.add_option("-i,--input", o.input, "Daily input file (file mode); without it, test mode");
  app.add_option("-o,--output", o.output, "Hourly output file, created empty");
  app.add_option("-n,--sequences", o.sequences, "Steps to run (default: 10 in test mode, all in file mode)")
      ->check(CLI::NonNegativeNumber);
  app.add_option("-s,--seed", o.seed, "Random seed");
  app.add_option("-l,--level", o.level, "Detail level of the log, 0 to 3");
  app.add_flag("--stats", o.stats, "Print the statistics report after the last step");
  app.add_flag("--no-adjust", o.noAdjust, "Do not scale the hours to the daily depths");
  app.add_option("--const-length", o.constLength, "Test mode: every sequence this many days (1 to 20)");
  app.add_option("--days-per-month", o.daysPerMonth, "Days per month or season (28 to 366)");
  app.add_option("--params", params, "\"LAMBDA KAPPA PHI ALPHA NU MUX SIGMAX\"");
  app.add_option("--rep-factor", o.repFactor, "Factor for level 1 repetitions allowed (1 to 200)");
  app.add_option("--rep-min", o.repMin, "Minimum number of level 1 repetitions allowed (1 to 1000)");
  app.add_option("--rep-allowed", o.repAllowed, "Total repetitions allowed (1 to 100000)");
  app.add_option("--distance", o.distance, "Distance allowed");
}

}  // namespace

std::optional<CliOptions> ParseOptions(int argc, const char* const* argv, int& exitCode) {
  CLI::App app{"nimbra-cli: disaggregates daily rainfall depths into hourly depths", "nimbra-cli"};
  CliOptions options;
  std::string params;
  DefineOptions(app, options, params);
  try {
    app.parse(argc, argv);
    if (!params.empty()) options.params = ParseParams(params);
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
  if (o.distance) run.RepDistanceAllowed = *o.distance;
  return run;
}

ModelParameters ApplyParameters(const CliOptions& o, const ModelParameters& parameters) {
  if (!o.params) return parameters;
  const auto& p = *o.params;
  return {p[0], p[1], p[2], p[3], p[4], p[5], p[6]};
}

}  // namespace nimbra
