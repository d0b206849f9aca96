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
  std::vector<std::string> CommandLine;
};

int RunDisaggregate(const DisaggregateOptions& options, std::ostream& out, std::ostream& err);

}  // namespace nimbra
