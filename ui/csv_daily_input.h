#pragma once
// A daily rainfall CSV file opened from the input button: its first station as the series
// layer's reader reads it, with its dates and missing days, and the parameter sets a
// parameters file gives the months it has values in, with their repetition settings.

#include <string>
#include <vector>

#include "dated_input.h"

namespace nimbra {

struct CsvDailyInput {
  std::string Station;
  int StationCount = 0;
  DatedInput Input;
  // The sets that make the search slow or its steps fail, in the classic mode's words.
  std::vector<std::string> Warnings;
};

bool IsCsvFile(const std::string& path);

// Raises InputError naming the file, the line and the column of the first bad field, when
// the daily file holds no station, and when a month with values has no set. A set's
// rep_factor and rep_min win over the options' repetition settings in its months.
CsvDailyInput ReadCsvDailyInput(const std::string& dailyPath, const std::string& parametersPath,
                                const RunOptions& options);

// The log line that says which station was taken.
std::string StationTakenLine(const CsvDailyInput& input, const std::string& path);

}  // namespace nimbra
