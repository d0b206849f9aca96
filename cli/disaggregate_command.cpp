#include "disaggregate_command.h"

#include <algorithm>
#include <optional>

#include "atomic_file.h"
#include "command_output.h"
#include "errors.h"
#include "input_output_check.h"
#include "ordered_pool.h"
#include "parameter_table.h"
#include "progress_meter.h"
#include "run_sidecar.h"
#include "series_report.h"
#include "sha256.h"
#include "station_batch.h"
#include "station_seed.h"
#include "subcommand_run.h"

namespace nimbra {

namespace {

// Everything a run needs, read and checked before any output file is created.
struct Inputs {
  std::vector<NamedSeries> Stations;
  ParameterTable Table;
  std::vector<StationHours> Observed;
  std::vector<StationJob> Jobs;
  std::string InputSha256;
  std::string ParametersSha256;
};

Inputs ReadInputs(const DisaggregateOptions& o) {
  Inputs inputs{ReadDailyCsv(o.Input, o.Daily), ParameterTable::Read(o.Parameters), {}, {},
                Sha256OfFile(o.Input),          Sha256OfFile(o.Parameters)};
  std::erase_if(inputs.Stations, [&](const NamedSeries& station) {
    return StationShard(station.Station, o.ShardCount) != o.ShardIndex;
  });
  if (!o.ObservedHourly.empty()) {
    HourlyCsvOptions hourly{o.Format.DayStart, o.Format.LabelsAtHourEnd, o.Daily.MissingSentinels};
    inputs.Observed = ReadHourlyCsv(o.ObservedHourly, hourly);
  }
  inputs.Jobs = PlanStations(inputs.Stations, inputs.Table, o.Run, o.Given);
  return inputs;
}

// Observed hours of a station the daily file does not hold would silently drop out of the report.
void WarnOfUnmatchedObserved(const DisaggregateOptions& o, const Inputs& inputs, std::ostream& err) {
  for (const StationHours& observed : inputs.Observed) {
    const bool matched = std::any_of(inputs.Stations.begin(), inputs.Stations.end(),
                                     [&](const NamedSeries& s) { return s.Station == observed.Station; });
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
        writer_(output_.Stream(), options.Format) {
    SayHowWritten(output_, err);
    if (output_.Straight()) {
      err << options.Output << ": a device or a pipe gets no sidecar\n";
    } else {
      sidecar_.emplace(options.Output + ".json");
    }
    if (!options.Report.empty()) {
      report_.emplace(options.Report);
      SayHowWritten(*report_, err);
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
    sidecar.InputSha256 = inputs_.InputSha256;
    sidecar.ParametersSha256 = inputs_.ParametersSha256;
    sidecar.ShardIndex = options_.ShardIndex;
    sidecar.ShardCount = options_.ShardCount;
    bool complete = true;
    std::optional<ProgressMeter> progress;
    if (options_.Progress) progress.emplace(err_, options_.Terminal, inputs_.Jobs.size(), TotalDays());
    OrderedPool<StationOutcome>::Run(
        inputs_.Jobs.size(), options_.Threads,
        [this](std::size_t i) { return RunStationJob(inputs_.Jobs[i]); },
        [&](std::size_t i, StationOutcome& outcome) {
          const NamedSeries& station = *inputs_.Jobs[i].Station;
          Write(station, outcome);
          complete = complete && outcome.Result.Failed.empty();
          sidecar.Stations.push_back(outcome.Summary);
          sidecar.Rows += static_cast<std::int64_t>(outcome.Result.Hourly.size());
          if (progress) progress->StationDone(static_cast<std::int64_t>(station.Series.Daily.size()));
        });
    if (progress) progress->Finish();
    writer_.Flush();
    Commit(sidecar);
    if (report_) report_->Commit();
    return complete;
  }

 private:
  std::int64_t TotalDays() const {
    std::int64_t days = 0;
    for (const NamedSeries& station : inputs_.Stations)
      days += static_cast<std::int64_t>(station.Series.Daily.size());
    return days;
  }

  // The hours and their sidecar appear together, so that they always come from one run.
  void Commit(RunSidecar& sidecar) {
    if (!sidecar_) return output_.Commit();
    output_.Close();
    sidecar.OutputSha256 = output_.Sha256Hex();
    WriteSidecar(sidecar_->Stream(), sidecar);
    AtomicFile::CommitTogether(output_, *sidecar_);
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
  std::optional<AtomicFile> sidecar_;  // none beside a device
  std::optional<AtomicFile> report_;
};

}  // namespace

int RunDisaggregate(const DisaggregateOptions& options, std::ostream& out, std::ostream& err) {
  std::optional<Inputs> inputs;
  std::optional<DisaggregateRun> run;
  const int started = AtCommandBoundary("disaggregate", err, 2, [&] {
    CheckFiles(
        {{options.Input, "-i"}, {options.Parameters, "-p"}, {options.ObservedHourly, "--observed-hourly"}},
        {{options.Output, "-o"},
         {options.Output + ".json", "the sidecar of -o"},
         {options.Report, "--report"}});
    inputs.emplace(ReadInputs(options));
    WarnOfUnmatchedObserved(options, *inputs, err);
    run.emplace(options, *inputs, out, err);
    return 0;
  });
  if (started != 0) return started;
  return AtCommandBoundary("disaggregate", err, 1, [&] { return run->Run() ? 0 : 1; });
}

}  // namespace nimbra
