#include "fit_command.h"

#include <CLI/CLI.hpp>
#include <cmath>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "civil_date.h"
#include "command_output.h"
#include "errors.h"
#include "fit_output.h"
#include "hourly_csv_input.h"
#include "input_output_check.h"
#include "subcommand_run.h"

namespace nimbra {

namespace {

struct FitArguments {
  std::string input, output, report, seasons = "monthly", statistics, intensity = "exponential",
                                     weights = "equal";
  std::vector<int> scales;
  std::vector<std::string> fixed, bounds;
  unsigned seed = 1;
};

void DefineOptions(CLI::App& app, FitArguments& a) {
  app.add_option("-i,--input", a.input, "Hourly CSV file: station,time,precip_mm")->required();
  app.add_option("-o,--output", a.output, "Parameters CSV file to write")->required();
  app.add_option("--report", a.report, "CSV report of the fit per season");
  app.add_option("--seasons", a.seasons, "monthly, all, or a CSV file of season,months");
  app.add_option("--scales", a.scales, "Scales in hours for variance, autocorrelation and dry probability")
      ->delimiter(',');
  app.add_option("--statistics", a.statistics, "Targets such as mean@24,variance@1,skewness@1")
      ->excludes("--scales");
  app.add_option("--fix", a.fixed, "NAME=VALUE: hold a parameter")->take_all();
  app.add_option("--bounds", a.bounds, "NAME=LOW:HIGH: search a parameter within these")->take_all();
  app.add_option("--intensity", a.intensity, "Cell intensities")
      ->check(CLI::IsMember({"exponential", "gamma"}));
  app.add_option("--weights", a.weights, "equal, or years: by the spread of each statistic across years")
      ->check(CLI::IsMember({"equal", "years"}));
  app.add_option("--seed", a.seed, "Seed of the global search");
}

FitSpace MakeSpace(const FitArguments& a) {
  FitSpaceOptions options;
  options.GammaIntensity = a.intensity == "gamma";
  for (const std::string& text : a.fixed) options.Fixed.push_back(ParseFixed(text));
  for (const std::string& text : a.bounds) options.Bounds.push_back(ParseBounds(text));
  return FitSpace(options);
}

std::vector<StatisticTarget> ChooseTargets(const FitArguments& a) {
  if (!a.statistics.empty()) return ParseTargets(a.statistics);
  return a.scales.empty() ? DefaultTargets() : TargetsAtScales(a.scales);
}

// The months with at least one value; the others have no data at all.
MonthMask MonthsWithValues(const HourlyRecord& record) {
  MonthMask months = 0;
  for (std::size_t hour = 0; hour < record.Hours.size(); ++hour) {
    if (std::isnan(record.Hours[hour])) continue;
    const auto day = record.FirstDay + static_cast<std::int64_t>(hour / 24);
    months |= static_cast<MonthMask>(1u << (CivilFromDays(day).Month - 1));
  }
  return months;
}

SeasonFit FitOneSeason(const HourlyRecord& record, const FitSeason& season, const FitSpace& space,
                       const std::vector<StatisticTarget>& targets, const FitArguments& a) {
  const SeasonSample sample = TakeSeason(record, season.Months, season.Name);
  std::vector<ObservedTarget> observed;
  for (const StatisticTarget& target : targets) {
    const double value = ObservedValue(sample, target);
    observed.push_back({target, value, a.weights == "years" ? YearsWeight(sample, target, value) : 1});
  }
  FitSettings settings;
  settings.Seed = a.seed;
  return {season, FitParameters(space, observed, settings)};
}

void CheckFitFiles(const FitArguments& a) {
  const bool seasonsFile = a.seasons != "monthly" && a.seasons != "all";
  CheckFiles({{a.input, "-i"}, {seasonsFile ? a.seasons : "", "--seasons"}},
             {{a.output, "-o"}, {a.report, "--report"}});
}

void Fit(const FitArguments& a, std::ostream& log) {
  CheckFitFiles(a);
  const FitSpace space = MakeSpace(a);
  const std::vector<StatisticTarget> targets = ChooseTargets(a);
  const SeasonChoice choice = ChooseSeasons(a.seasons);
  const HourlyRecord record = ReadHourlyRecord(a.input);
  const MonthMask present = MonthsWithValues(record);
  std::vector<SeasonFit> fits;
  for (const FitSeason& season : choice.Seasons) {
    if (choice.Monthly && (season.Months & present) == 0) continue;
    try {
      fits.push_back(FitOneSeason(record, season, space, targets, a));
    } catch (const InvalidArgument& e) {
      throw InvalidArgument(a.input + ": " + e.what());
    }
  }
  WriteOutput(a.output, log, [&](std::ostream& out) { WriteFittedParameters(fits, choice.Named, out); });
  if (!a.report.empty())
    WriteOutput(a.report, log, [&](std::ostream& out) { WriteFitReport(fits, space, out); });
}

}  // namespace

int RunFitCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CLI::App app{"Fits the model's parameters per season to an hourly record by the method of moments",
               "nimbra-cli fit"};
  FitArguments arguments;
  DefineOptions(app, arguments);
  return ParseAndRun(
      app, "fit", argc, argv, [&] { Fit(arguments, err); }, out, err);
}

}  // namespace nimbra
