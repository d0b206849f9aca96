#pragma once
// `nimbra-cli disaggregate`: every station of a daily CSV file through the one-station
// call, the hours written to an hourly CSV file with its JSON sidecar and, when asked,
// the statistics report.

#include <ostream>
#include <string>
#include <vector>

#include "daily_csv_reader.h"
#include "hourly_csv_writer.h"
#include "run_options.h"
#include "station_batch.h"

namespace nimbra {

struct DisaggregateOptions {
  std::string Input;
  std::string Parameters;
  std::string Output;
  std::string Report;
  std::string ObservedHourly;
  DailyCsvOptions Daily;
  HourlyCsvFormat Format;
  RunOptions Run;
  RepetitionOverrides Given;  // repetition options given on the command line
  std::vector<std::string> CommandLine;
  int Threads = 1;     // stations disaggregated at once
  int ShardIndex = 0;  // this run takes the stations of shard ShardIndex of ShardCount
  int ShardCount = 1;
  bool Progress = false;  // progress lines on the error stream
  bool Terminal = false;  // the error stream is a terminal: the progress line is redrawn in place
};

int RunDisaggregate(const DisaggregateOptions& options, std::ostream& out, std::ostream& err);

}  // namespace nimbra
