#include "disaggregation_job.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>

#include "atomic_file.h"
#include "command_output.h"
#include "daily_csv_stations.h"
#include "errors.h"
#include "parameter_table.h"
#include "progress_meter.h"
#include "progress_ticker.h"
#include "series_report.h"
#include "sha256.h"
#include "station_runner.h"
#include "station_seed.h"

namespace nimbra {

namespace {

constexpr std::chrono::milliseconds kTickPeriod{250};

// Everything a run needs, read and checked before any output file is created. The daily
// series are read a group of stations at a time as the run goes.
struct Inputs {
  std::unique_ptr<DailyCsvStations> Daily;
  ParameterTable Table;
  std::vector<StationHours> Observed;
  std::vector<StationJob> Jobs;
  std::string InputSha256;
  std::string ParametersSha256;
};

void KeepChosen(const DisaggregationRequest& r, DailyCsvStations& daily) {
  const auto& stations = daily.Stations();
  for (const std::string& name : r.Stations) {
    if (std::none_of(stations.begin(), stations.end(),
                     [&](const DailyStationEntry& s) { return s.Station == name; }))
      throw InvalidArgument(r.Input + ": no station '" + name + "'");
  }
  daily.Keep([&](const std::string& station) {
    return StationShard(station, r.ShardCount) == r.ShardIndex &&
           (r.Stations.empty() ||
            std::find(r.Stations.begin(), r.Stations.end(), station) != r.Stations.end());
  });
}

Inputs ReadInputs(const DisaggregationRequest& r) {
  Inputs inputs{std::make_unique<DailyCsvStations>(r.Input, r.Daily),
                ParameterTable::Read(r.Parameters),
                {},
                {},
                Sha256OfFile(r.Input),
                Sha256OfFile(r.Parameters)};
  std::vector<std::string> names;
  for (const DailyStationEntry& station : inputs.Daily->Stations()) names.push_back(station.Station);
  inputs.Table.RefuseUnknownStations(names, r.Input);
  KeepChosen(r, *inputs.Daily);
  if (!r.ObservedHourly.empty()) {
    HourlyCsvOptions hourly{r.Format.DayStart, r.Format.LabelsAtHourEnd, r.Daily.MissingSentinels};
    inputs.Observed = ReadHourlyCsv(r.ObservedHourly, hourly);
  }
  for (const DailyStationEntry& station : inputs.Daily->Stations())
    inputs.Jobs.push_back(PlanStation(station.Station, station.Months, inputs.Table, r.Run, r.Given));
  return inputs;
}

// Observed hours of a station the daily file does not hold would silently drop out of the report.
void WarnOfUnmatchedObserved(const DisaggregationRequest& r, const Inputs& inputs, std::ostream& messages) {
  for (const StationHours& observed : inputs.Observed) {
    const auto& stations = inputs.Daily->Stations();
    const bool matched = std::any_of(stations.begin(), stations.end(), [&](const DailyStationEntry& s) {
      return s.Station == observed.Station;
    });
    if (!matched) {
      messages << r.ObservedHourly << ": station '" << observed.Station << "' is not in " << r.Input
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

class DisaggregationRun {
 public:
  DisaggregationRun(const DisaggregationRequest& request, const Inputs& inputs,
                    const DisaggregationOutlets& outlets)
      : request_(request),
        inputs_(inputs),
        outlets_(outlets),
        output_(request.Output),
        writer_(output_.Stream(), request.Format, request.Output) {
    counts_.Stations = inputs.Jobs.size();
    for (const DailyStationEntry& station : inputs.Daily->Stations()) counts_.Days += station.Days;
    SayHowWritten(output_, outlets.Messages);
    if (output_.Straight()) {
      outlets.Messages << request.Output << ": a device or a pipe gets no sidecar\n";
    } else {
      sidecar_.emplace(request.Output + ".json");
    }
    if (!request.Report.empty()) {
      report_.emplace(request.Report);
      SayHowWritten(*report_, outlets.Messages);
      WriteReportHeader(report_->Stream());
    }
  }

  const ProgressCounts& Work() const { return counts_; }

  DisaggregationOutcome Run(const JobControl& control) {
    control_ = &control;
    start_ = Clock::now();
    DisaggregationOutcome outcome;
    {
      const ProgressTicker ticker(
          [this] {
            const std::lock_guard lock(reporting_);
            Report();
          },
          kTickPeriod);
      RunStations(
          inputs_.Jobs.size(), request_.Threads, [this](std::size_t i) { return Job(i); },
          [&](std::size_t, const StationJob& job, StationOutcome& station) {
            const std::lock_guard lock(reporting_);
            Write(job.Station, station);
            outcome.Complete = outcome.Complete && station.Result.Failed.empty();
            outcome.Stations.push_back(station.Summary);
            rows_ += static_cast<std::int64_t>(station.Result.Hourly.size());
            if (request_.KeepHours) outcome.Hours.push_back(std::move(station.Result.Hourly));
            ++counts_.StationsDone;
            missingDone_ += station.Summary.MissingDays;
            Report();
          });
    }
    control_->Check();
    writer_.Flush();
    Commit(outcome);
    if (report_) report_->Commit();
    return outcome;
  }

 private:
  // Called on a worker thread: the station's series is read there.
  StationJob Job(std::size_t i) {
    control_->Check();
    StationJob job = inputs_.Jobs[i];
    job.Options.Stop = control_->Flag();
    job.Options.DaysDone = &daysWorked_;
    for (StationPart& part : job.Parts) {
      part.Options.Stop = control_->Flag();
      part.Options.DaysDone = &daysWorked_;
    }
    job.Station.Series = inputs_.Daily->Take(i);
    return job;
  }

  RunSidecar Sidecar(const DisaggregationOutcome& outcome) const {
    RunSidecar sidecar;
    sidecar.CommandLine = request_.CommandLine;
    sidecar.Seed = request_.Run.RandomSeed;
    sidecar.Options = request_.Run;
    sidecar.Format = request_.Format;
    sidecar.Daily = request_.Daily;
    sidecar.InputPath = request_.Input;
    sidecar.ParametersPath = request_.Parameters;
    sidecar.Parameters = inputs_.Table.Rows();
    sidecar.Stations = outcome.Stations;
    sidecar.InputSha256 = inputs_.InputSha256;
    sidecar.ParametersSha256 = inputs_.ParametersSha256;
    sidecar.ShardIndex = request_.ShardIndex;
    sidecar.ShardCount = request_.ShardCount;
    sidecar.Rows = rows_;
    return sidecar;
  }

  // The hours and their sidecar appear together, so that they always come from one run.
  void Commit(const DisaggregationOutcome& outcome) {
    if (!sidecar_) return output_.Commit();
    output_.Close();
    RunSidecar sidecar = Sidecar(outcome);
    sidecar.OutputSha256 = output_.Sha256Hex();
    WriteSidecar(sidecar_->Stream(), sidecar);
    AtomicFile::CommitTogether(output_, *sidecar_);
  }

  // The days of the stations running count as they are done; their missing days, which
  // take no work, count once the station is.
  void Report() {
    counts_.DaysDone = daysWorked_.load(std::memory_order_relaxed) + missingDone_;
    if (outlets_.Progress) outlets_.Progress(counts_);
    const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start_);
    control_->Report(
        {ProgressLine(counts_, elapsed), static_cast<double>(counts_.DaysDone) /
                                             static_cast<double>(std::max<std::int64_t>(1, counts_.Days))});
  }

  void Write(const NamedSeries& station, const StationOutcome& outcome) {
    outlets_.Log << "Station " << station.Station << '\n';
    for (const std::string& line : outcome.Result.Log) outlets_.Log << line << '\n';
    for (std::string message : outcome.Result.Messages) {
      std::erase(message, '\r');
      outlets_.Messages << station.Station << ": " << message << '\n';
    }
    writer_.WriteStation(station.Station, station.Series.FirstDay, outcome.Result.Hourly);
    if (report_) {
      const std::vector<double> observed = ObservedHoursFor(station, inputs_.Observed);
      WriteStationReport(report_->Stream(), {station.Station, &station.Series, outcome.Result.Hourly,
                                             observed, SeasonsOf(inputs_.Table, station.Station)});
    }
    const StationSummary& s = outcome.Summary;
    outlets_.Messages << station.Station << ": " << s.Days << " days, " << s.WetDays << " wet, "
                      << s.MissingDays << " missing, " << s.Sequences << " sequences, " << s.Failed.size()
                      << " failed\n";
  }

  using Clock = std::chrono::steady_clock;
  const DisaggregationRequest& request_;
  const Inputs& inputs_;
  const JobControl* control_ = nullptr;
  const DisaggregationOutlets outlets_;  // a copy: the streams it names outlive the job
  AtomicFile output_;
  HourlyCsvWriter writer_;
  std::optional<AtomicFile> sidecar_;  // none beside a device
  std::optional<AtomicFile> report_;
  std::int64_t rows_ = 0;
  ProgressCounts counts_;
  std::atomic<std::int64_t> daysWorked_ = 0;
  std::int64_t missingDone_ = 0;
  std::mutex reporting_;  // the ticker and the deliveries share the counts and the streams
  Clock::time_point start_ = Clock::now();
};

}  // namespace

std::vector<StationSummary> SummariseStations(const std::vector<NamedSeries>& stations) {
  std::vector<StationSummary> summaries;
  for (const NamedSeries& station : stations)
    summaries.push_back(SummariseSeries(station.Station, station.Series));
  return summaries;
}

struct DisaggregationJob::State {
  State(const DisaggregationRequest& request, const DisaggregationOutlets& outlets)
      : Request(request), Read(ReadInputs(Request)) {
    WarnOfUnmatchedObserved(Request, Read, outlets.Messages);
    for (const std::string& warning : Read.Table.Warnings())
      outlets.Messages << "Warning: " << warning << '\n';
    Run.emplace(Request, Read, outlets);
  }
  const DisaggregationRequest Request;
  const Inputs Read;
  std::optional<DisaggregationRun> Run;
};

DisaggregationJob::DisaggregationJob(const DisaggregationRequest& request,
                                     const DisaggregationOutlets& outlets)
    : state_(std::make_unique<State>(request, outlets)) {}

DisaggregationJob::~DisaggregationJob() = default;

ProgressCounts DisaggregationJob::Work() const { return state_->Run->Work(); }

DisaggregationOutcome DisaggregationJob::Run(const JobControl& control) { return state_->Run->Run(control); }

DisaggregationOutcome RunDisaggregationJob(const DisaggregationRequest& request, const JobControl& control,
                                           const DisaggregationOutlets& outlets) {
  return DisaggregationJob(request, outlets).Run(control);
}

}  // namespace nimbra
