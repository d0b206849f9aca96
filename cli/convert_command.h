#pragma once
// `nimbra-cli convert`: a classic input file to the daily CSV layout (and its observed
// hours to the hourly CSV layout), or an hourly CSV file to the classic hourly layout.

#include <ostream>
#include <string>

#include "hourly_csv_writer.h"

namespace nimbra {

struct ConvertOptions {
  std::string Input;
  std::string Output;        // daily CSV, or the classic hourly file for a CSV input
  std::string HourlyOutput;  // hourly CSV of a classic file with hours
  std::string Station;       // the station's name in the CSV; for a CSV input, the one to take
  bool NegativeIsMissing = true;
  HourlyCsvFormat Format;
};

// A CSV input (by its .csv extension) goes to the classic layout; anything else is read
// as a classic file.
int RunConvert(const ConvertOptions& options, std::ostream& out, std::ostream& err);

}  // namespace nimbra
