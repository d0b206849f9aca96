#pragma once
// The JSON file written beside a run's hourly CSV output (`hourly.csv.json`): how the
// run was made (command line, seed, options, parameter sets with their units, program
// version, the digests of its input files) and what it found per station (days, wet and
// missing days, sequences, the sequences that failed with their dates), with the shard it
// took and the rows and digest of the file it wrote, so that merge can check its shards.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "daily_csv_reader.h"
#include "hourly_csv_writer.h"
#include "parameter_table.h"
#include "station_run.h"

namespace nimbra {

struct StationSummary {
  std::string Station;
  int Seed = 0;
  std::int64_t FirstDay = 0;
  std::int64_t Days = 0;
  std::int64_t WetDays = 0;
  std::int64_t MissingDays = 0;
  int Sequences = 0;
  std::vector<FailedSequence> Failed;
  std::vector<FailedSequence> Warnings;  // kept with a message, see StationResult
};

struct RunSidecar {
  std::vector<std::string> CommandLine;
  int Seed = 0;
  RunOptions Options;
  HourlyCsvFormat Format;
  DailyCsvOptions Daily;
  std::string InputPath;
  std::string ParametersPath;
  std::vector<SeasonParameters> Parameters;
  std::vector<StationSummary> Stations;
  std::string InputSha256;
  std::string ParametersSha256;
  int ShardIndex = 0;
  int ShardCount = 1;
  std::int64_t Rows = 0;  // rows of the hourly file below its header
  std::string OutputSha256;
};

// The keys of a sidecar whose values are the same in every shard of one run.
inline constexpr const char* kRunIdentityKeys[] = {
    "program",       "version", "input_sha256",    "parameters_sha256", "seed",
    "input_options", "options", "parameter_units", "parameters"};

// Days, wet days (at least 1e-5 mm, as the engine counts them) and missing days of the series.
StationSummary SummariseSeries(const std::string& station, const StationSeries& series);

void WriteSidecar(std::ostream& out, const RunSidecar& run);

// The text as a JSON string literal, quotes included.
std::string JsonString(const std::string& text);

}  // namespace nimbra
