#include "disaggregation_command_line.h"

#include "format.h"

namespace nimbra {

namespace {

std::string Joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) {
    if (!text.empty()) text += ',';
    text += item;
  }
  return text;
}

std::string NumberList(const std::vector<double>& numbers) {
  std::vector<std::string> texts;
  for (const double number : numbers) texts.push_back(FormatSignificant(number, 10));
  return Joined(texts);
}

void AddInputOptions(const DisaggregationRequest& r, std::vector<std::string>& line) {
  const DailyCsvOptions defaults;
  const auto add = [&](const char* option, const std::string& value, const std::string& standard) {
    if (value != standard) line.insert(line.end(), {option, value});
  };
  if (r.Daily.Wide) line.push_back("--wide");
  if (r.Daily.StationColumnRequired || r.Daily.StationColumn != defaults.StationColumn)
    line.insert(line.end(), {"--station-column", r.Daily.StationColumn});
  add("--date-column", r.Daily.DateColumn, defaults.DateColumn);
  add("--value-column", r.Daily.ValueColumn, defaults.ValueColumn);
  add("--missing", NumberList(r.Daily.MissingSentinels), NumberList(defaults.MissingSentinels));
  if (!r.Stations.empty()) line.insert(line.end(), {"--stations", Joined(r.Stations)});
}

void AddOutputOptions(const DisaggregationRequest& r, std::vector<std::string>& line) {
  const HourlyCsvFormat defaults;
  if (!r.Report.empty()) line.insert(line.end(), {"--report", r.Report});
  if (!r.ObservedHourly.empty()) line.insert(line.end(), {"--observed-hourly", r.ObservedHourly});
  if (r.Format.DayStart != defaults.DayStart)
    line.insert(line.end(), {"--day-start", std::to_string(r.Format.DayStart)});
  if (r.Format.LabelsAtHourEnd) line.insert(line.end(), {"--label", "end"});
  if (r.Format.Decimals != defaults.Decimals)
    line.insert(line.end(), {"--decimals", std::to_string(r.Format.Decimals)});
}

void AddRunOptions(const DisaggregationRequest& r, std::vector<std::string>& line) {
  const RunOptions defaults;
  line.insert(line.end(), {"--seed", std::to_string(r.Run.RandomSeed)});
  if (r.Run.DetailLevel != defaults.DetailLevel)
    line.insert(line.end(), {"--level", std::to_string(r.Run.DetailLevel)});
  if (!r.Run.PerformAdjustment) line.push_back("--no-adjust");
  if (r.Given.Factor) line.insert(line.end(), {"--rep-factor", std::to_string(r.Run.RepLevel1Factor)});
  if (r.Given.Min) line.insert(line.end(), {"--rep-min", std::to_string(r.Run.RepLevel1Min)});
  if (r.Run.RepAllowed != defaults.RepAllowed)
    line.insert(line.end(), {"--rep-allowed", std::to_string(r.Run.RepAllowed)});
  if (r.Run.RepDistanceAllowed != defaults.RepDistanceAllowed)
    line.insert(line.end(), {"--distance", FormatSignificant(r.Run.RepDistanceAllowed, 10)});
  line.insert(line.end(), {"--threads", std::to_string(r.Threads)});
}

}  // namespace

std::vector<std::string> DisaggregationCommandLine(const DisaggregationRequest& r) {
  std::vector<std::string> line{"nimbra-cli", "disaggregate", "-i", r.Input,
                                "-p",         r.Parameters,   "-o", r.Output};
  AddInputOptions(r, line);
  AddOutputOptions(r, line);
  AddRunOptions(r, line);
  return line;
}

}  // namespace nimbra
