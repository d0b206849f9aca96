#pragma once
// A disaggregation as one call: the stations of a daily CSV file (all, one shard, or those
// chosen) through the one-station call on worker threads, written to the hourly CSV file
// with its JSON sidecar and, when asked, the statistics report. Files appear only when the
// run ends: a cancel or an error leaves none that looks complete.

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "daily_csv_reader.h"
#include "hourly_csv_writer.h"
#include "job_control.h"
#include "progress_meter.h"
#include "run_options.h"
#include "run_sidecar.h"
#include "station_batch.h"

namespace nimbra {

struct DisaggregationRequest {
  std::string Input;
  std::string Parameters;
  std::string Output;
  std::string Report;
  std::string ObservedHourly;
  DailyCsvOptions Daily;
  HourlyCsvFormat Format;
  RunOptions Run;
  RepetitionOverrides Given;             // repetition options the user gave: they win over the file's
  std::vector<std::string> CommandLine;  // for the sidecar: the command that repeats the run
  std::vector<std::string> Stations;     // the stations to run; empty: every one
  int Threads = 1;                       // stations disaggregated at once
  int ShardIndex = 0;                    // the stations of shard ShardIndex of ShardCount
  int ShardCount = 1;
  bool KeepHours = false;  // the outcome keeps every station's hours, as for a comparison
};

// Where a run's text goes: the log lines per station, and its messages and counts. The job
// keeps a copy; the streams must outlive it. Progress comes with each station done and a few
// times a second between, never at the same time as text.
struct DisaggregationOutlets {
  std::ostream& Log;
  std::ostream& Messages;
  std::function<void(const ProgressCounts&)> Progress = {};
};

struct DisaggregationOutcome {
  bool Complete = true;  // every sequence of every station disaggregated
  std::vector<StationSummary> Stations;
  std::vector<std::vector<double>> Hours;  // per station, 24 per day, when asked to keep them
};

// The file's station summaries (days, wet days, missing days), for a front end to choose from.
std::vector<StationSummary> SummariseStations(const std::vector<NamedSeries>& stations);

// A run in two steps, so that a front end tells a run that could not start from one that
// failed. The constructor reads and checks the inputs and opens the output files under
// temporary names; it raises InputError, InvalidArgument or InOutError naming the file.
// Run raises Stopped, or the error that ended the run, and then no file is left.
class DisaggregationJob {
 public:
  DisaggregationJob(const DisaggregationRequest& request, const DisaggregationOutlets& outlets);
  ~DisaggregationJob();
  // The stations and days to run.
  ProgressCounts Work() const;
  DisaggregationOutcome Run(const JobControl& control);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

DisaggregationOutcome RunDisaggregationJob(const DisaggregationRequest& request, const JobControl& control,
                                           const DisaggregationOutlets& outlets);

}  // namespace nimbra
