#include "disaggregate_command.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "atomic_file.h"
#include "daily_csv_stations.h"
#include "errors.h"
#include "parameter_table.h"
#include "progress_meter.h"
#include "run_sidecar.h"
#include "series_report.h"
#include "station_batch.h"
#include "station_runner.h"
#include "station_seed.h"

namespace nimbra {

namespace {

// Everything a run needs, read and checked before any output file is created. The daily
// series are read a group of stations at a time as the run goes.
struct Inputs {
  std::unique_ptr<DailyCsvStations> Daily;
  ParameterTable Table;
  std::vector<StationHours> Observed;
  std::vector<StationJob> Jobs;
};

Inputs ReadInputs(const DisaggregateOptions& o) {
  Inputs inputs{
      std::make_unique<DailyCsvStations>(o.Input, o.Daily), ParameterTable::Read(o.Parameters), {}, {}};
  std::vector<std::string> names;
  for (const DailyStationEntry& station : inputs.Daily->Stations()) names.push_back(station.Station);
  inputs.Table.RefuseUnknownStations(names, o.Input);
  inputs.Daily->Keep(
      [&](const std::string& station) { return StationShard(station, o.ShardCount) == o.ShardIndex; });
  if (!o.ObservedHourly.empty()) {
    HourlyCsvOptions hourly{o.Format.DayStart, o.Format.LabelsAtHourEnd, o.Daily.MissingSentinels};
    inputs.Observed = ReadHourlyCsv(o.ObservedHourly, hourly);
  }
  for (const DailyStationEntry& station : inputs.Daily->Stations())
    inputs.Jobs.push_back(PlanStation(station.Station, station.Months, inputs.Table, o.Run, o.Given));
  return inputs;
}

// Observed hours of a station the daily file does not hold would silently drop out of the report.
void WarnOfUnmatchedObserved(const DisaggregateOptions& o, const Inputs& inputs, std::ostream& err) {
  const auto& stations = inputs.Daily->Stations();
  for (const StationHours& observed : inputs.Observed) {
    const bool matched = std::any_of(stations.begin(), stations.end(), [&](const DailyStationEntry& s) {
      return s.Station == observed.Station;
    });
    if (!matched) {
      err << o.ObservedHourly << ": station '" << observed.Station << "' is not in " << o.Input
          << "; its hours are not used\n";
    }
  }
}

std::vector<ReportSeason> SeasonsOf(const ParameterTable& table, const std::string& station) {
  std::vector<ReportSeason> seasons;
  for (const SeasonParameters& row : table.RowsFor(station)) {
    if (row.Season.Months != 0) seasons.push_back({row.Season, row.Parameters});
  }
  return seasons;
}

class DisaggregateRun {
 public:
  DisaggregateRun(const DisaggregateOptions& options, const Inputs& inputs, std::ostream& out,
                  std::ostream& err)
      : options_(options),
        inputs_(inputs),
        out_(out),
        err_(err),
        output_(options.Output),
        writer_(output_.Stream(), options.Format, options.Output) {
    if (!options.Report.empty()) {
      report_.emplace(options.Report);
      WriteReportHeader(report_->Stream());
    }
  }

  // True when every sequence of every station was disaggregated.
  bool Run() {
    RunSidecar sidecar;
    sidecar.CommandLine = options_.CommandLine;
    sidecar.Seed = options_.Run.RandomSeed;
    sidecar.Options = options_.Run;
    sidecar.Format = options_.Format;
    sidecar.Daily = options_.Daily;
    sidecar.InputPath = options_.Input;
    sidecar.ParametersPath = options_.Parameters;
    sidecar.Parameters = inputs_.Table.Rows();
    bool complete = true;
    std::optional<ProgressMeter> progress;
    if (options_.Progress) progress.emplace(err_, options_.Terminal, inputs_.Jobs.size(), TotalDays());
    RunStations(
        inputs_.Jobs.size(), options_.Threads,
        [this](std::size_t i) {
          StationJob job = inputs_.Jobs[i];
          job.Station.Series = inputs_.Daily->Take(i);
          return job;
        },
        [&](std::size_t, const StationJob& job, StationOutcome& outcome) {
          Write(job.Station, outcome);
          complete = complete && outcome.Result.Failed.empty();
          sidecar.Stations.push_back(outcome.Summary);
          if (progress) progress->StationDone(static_cast<std::int64_t>(job.Station.Series.Daily.size()));
        });
    if (progress) progress->Finish();
    writer_.Flush();
    output_.Commit();
    AtomicFile sidecarFile(options_.Output + ".json");
    WriteSidecar(sidecarFile.Stream(), sidecar);
    sidecarFile.Commit();
    if (report_) report_->Commit();
    return complete;
  }

 private:
  std::int64_t TotalDays() const {
    std::int64_t days = 0;
    for (const DailyStationEntry& station : inputs_.Daily->Stations()) days += station.Days;
    return days;
  }

  void Write(const NamedSeries& station, const StationOutcome& outcome) {
    out_ << "Station " << station.Station << '\n';
    for (const std::string& line : outcome.Result.Log) out_ << line << '\n';
    for (std::string message : outcome.Result.Messages) {
      std::erase(message, '\r');
      err_ << station.Station << ": " << message << '\n';
    }
    writer_.WriteStation(station.Station, station.Series.FirstDay, outcome.Result.Hourly);
    if (report_) {
      const std::vector<double> observed = ObservedHoursFor(station, inputs_.Observed);
      WriteStationReport(report_->Stream(), {station.Station, &station.Series, outcome.Result.Hourly,
                                             observed, SeasonsOf(inputs_.Table, station.Station)});
    }
    const StationSummary& s = outcome.Summary;
    err_ << station.Station << ": " << s.Days << " days, " << s.WetDays << " wet, " << s.MissingDays
         << " missing, " << s.Sequences << " sequences, " << s.Failed.size() << " failed\n";
  }

  const DisaggregateOptions& options_;
  const Inputs& inputs_;
  std::ostream& out_;
  std::ostream& err_;
  AtomicFile output_;
  HourlyCsvWriter writer_;
  std::optional<AtomicFile> report_;
};

}  // namespace

int RunDisaggregate(const DisaggregateOptions& options, std::ostream& out, std::ostream& err) {
  std::optional<Inputs> inputs;
  std::optional<DisaggregateRun> run;
  try {
    inputs.emplace(ReadInputs(options));
    WarnOfUnmatchedObserved(options, *inputs, err);
    for (const std::string& warning : inputs->Table.Warnings()) err << "Warning: " << warning << '\n';
    run.emplace(options, *inputs, out, err);
  } catch (const NimbraError& e) {
    err << "nimbra-cli disaggregate: " << e.what() << '\n';
    return 2;
  }
  try {
    return run->Run() ? 0 : 1;
  } catch (const NimbraError& e) {
    err << "nimbra-cli disaggregate: " << e.what() << '\n';
    return 1;
  }
}

}  // namespace nimbra
