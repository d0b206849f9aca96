#include "series_commands.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <string_view>
#include <thread>

#include "convert_command.h"
#include "depth_field.h"
#include "disaggregate_command.h"
#include "errors.h"
#include "merge_command.h"
#include "option_values.h"

namespace nimbra {

namespace {

struct Texts {
  std::string shard = "0/1";
  bool quiet = false;
  std::string missing = "-999,-999.9";
  std::string label = "start";
  std::string negative = "missing";
};

void DefineHourFormat(CLI::App& command, HourlyCsvFormat& format, Texts& texts) {
  command.add_option("--day-start", format.DayStart, "Hour (0 to 23) at which a date's daily total begins")
      ->transform(DecimalInteger())
      ->check(CLI::Range(0, 23));
  command.add_option("--label", texts.label, "Label an hour by its start or its end")
      ->check(CLI::IsMember({"start", "end"}));
  command.add_option("--decimals", format.Decimals, "Decimals of the written hours (0 to 6)")
      ->transform(DecimalInteger())
      ->check(CLI::Range(0, 6));
}

void DefineRunOptions(CLI::App& command, RunOptions& run) {
  command
      .add_option("-s,--seed", run.RandomSeed, "Run seed; each station's seed derives from it and its name")
      ->transform(DecimalInteger());
  command.add_option("-l,--level", run.DetailLevel, "Detail level of the log, 0 to 3")
      ->transform(DecimalInteger())
      ->check(CLI::Range(0, 3));
  command.add_flag("--no-adjust{false}", run.PerformAdjustment, "Do not scale the hours to the daily depths");
  command.add_option("--rep-factor", run.RepLevel1Factor, "Factor for level 1 repetitions allowed")
      ->transform(DecimalInteger())
      ->check(CLI::Range(1, 200));
  command.add_option("--rep-min", run.RepLevel1Min, "Minimum level 1 repetitions allowed")
      ->transform(DecimalInteger())
      ->check(CLI::Range(1, 1000));
  command.add_option("--rep-allowed", run.RepAllowed, "Total repetitions allowed")
      ->transform(DecimalInteger())
      ->check(CLI::Range(1, 100000));
  command.add_option("--distance", run.RepDistanceAllowed, "Distance allowed")->check(NonNegativeReal());
}

CLI::App* DefineDisaggregate(CLI::App& app, DisaggregateOptions& o, Texts& texts) {
  CLI::App* command = app.add_subcommand("disaggregate", "Daily CSV series of many stations into hourly CSV");
  command->add_option("-i,--input", o.Input, "Daily CSV file")->required();
  command->add_option("-p,--params", o.Parameters, "Parameters CSV file")->required();
  command->add_option("-o,--output", o.Output, "Hourly CSV file; its sidecar is <output>.json")->required();
  command->add_option("--report", o.Report, "Statistics report CSV file");
  command->add_option("--observed-hourly", o.ObservedHourly, "Observed hourly CSV file for the report");
  command->add_option("--station-column", o.Daily.StationColumn, "Station column of the long layout");
  command->add_option("--date-column", o.Daily.DateColumn, "Date column");
  command->add_option("--value-column", o.Daily.ValueColumn, "Depth column of the long layout");
  command->add_flag("--wide", o.Daily.Wide, "Wide layout: date,<station 1>,<station 2>,...");
  command->add_option("--missing", texts.missing, "Numbers that mark a missing day");
  command->add_option("--stations", o.Stations, "Only these stations, comma-separated")->delimiter(',');
  DefineHourFormat(*command, o.Format, texts);
  DefineRunOptions(*command, o.Run);
  command->add_option("-t,--threads", o.Threads, "Stations disaggregated at once (default: every core)")
      ->transform(DecimalInteger())
      ->check(CLI::Range(1, 1024));
  command->add_option("--shard", texts.shard, "K/N: only the stations of shard K (0 to N-1) of N");
  command->add_flag("-q,--quiet", texts.quiet, "No progress lines on standard error");
  return command;
}

// "K/N" with 0 <= K < N.
void ParseShard(const std::string& text, DisaggregateOptions& o) {
  const auto slash = text.find('/');
  const auto number = [&](std::string_view digits) {
    if (digits.empty() || digits.size() > 6 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
      throw InvalidArgument("--shard must be K/N with 0 <= K < N, for example 0/4; it is " + text);
    return std::stoi(std::string(digits));
  };
  if (slash == std::string::npos) number({});
  o.ShardIndex = number(std::string_view(text).substr(0, slash));
  o.ShardCount = number(std::string_view(text).substr(slash + 1));
  if (o.ShardIndex >= o.ShardCount) number({});
}

CLI::App* DefineConvert(CLI::App& app, ConvertOptions& o, Texts& texts) {
  CLI::App* command =
      app.add_subcommand("convert", "Classic files to CSV, or hourly CSV to the classic layout");
  command->add_option("-i,--input", o.Input, "Classic input file, or an hourly .csv file")->required();
  command->add_option("-o,--output", o.Output, "Daily CSV file, or the classic hourly file")->required();
  command->add_option("--hourly-output", o.HourlyOutput, "Hourly CSV file for a classic file with hours");
  command->add_option("--station", o.Station, "Station name (default: the input file's name)");
  command->add_option("--negative", texts.negative, "A negative daily depth is a missing or a dry day")
      ->check(CLI::IsMember({"missing", "dry"}));
  DefineHourFormat(*command, o.Format, texts);
  return command;
}

CLI::App* DefineMerge(CLI::App& app, MergeOptions& o) {
  CLI::App* command = app.add_subcommand("merge", "Hourly CSV files of the shards of one run into one file");
  command->add_option("-o,--output", o.Output, "The joined hourly CSV file")->required();
  command->add_option("shards", o.Inputs, "Hourly CSV files written with --shard")->required();
  return command;
}

}  // namespace

bool IsSeriesCommand(int argc, const char* const* argv) {
  if (argc < 2) return false;
  const std::string_view first = argv[1];
  return first == "disaggregate" || first == "convert" || first == "merge";
}

int RunSeriesCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CLI::App app{"nimbra-cli: disaggregates daily rainfall depths into hourly depths", "nimbra-cli"};
  app.require_subcommand(1);
  DisaggregateOptions disaggregate;
  disaggregate.Threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  ConvertOptions convert;
  Texts disaggregateTexts, convertTexts;
  CLI::App* disaggregateCommand = DefineDisaggregate(app, disaggregate, disaggregateTexts);
  DefineConvert(app, convert, convertTexts);
  MergeOptions merge;
  CLI::App* mergeCommand = DefineMerge(app, merge);
  try {
    app.parse(argc, argv);
    disaggregate.Daily.MissingSentinels = ParseMissingSentinels(disaggregateTexts.missing);
    ParseShard(disaggregateTexts.shard, disaggregate);
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err) == 0 ? 0 : 2;
  } catch (const InvalidArgument& e) {
    err << "nimbra-cli: " << e.what() << '\n';
    return 2;
  }
  if (disaggregateCommand->parsed()) {
    disaggregate.Daily.StationColumnRequired = disaggregateCommand->count("--station-column") > 0;
    disaggregate.Format.LabelsAtHourEnd = disaggregateTexts.label == "end";
    disaggregate.CommandLine.assign(argv, argv + argc);
    disaggregate.Given = {disaggregateCommand->count("--rep-factor") > 0,
                          disaggregateCommand->count("--rep-min") > 0};
    disaggregate.Progress = !disaggregateTexts.quiet;
    disaggregate.Terminal = isatty(STDERR_FILENO) != 0;
    return RunDisaggregate(disaggregate, out, err);
  }
  if (mergeCommand->parsed()) {
    merge.CommandLine.assign(argv, argv + argc);
    return RunMerge(merge, err);
  }
  convert.Format.LabelsAtHourEnd = convertTexts.label == "end";
  convert.NegativeIsMissing = convertTexts.negative == "missing";
  return RunConvert(convert, out, err);
}

}  // namespace nimbra
