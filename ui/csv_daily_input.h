#pragma once
// A daily rainfall CSV file opened from the input button: its first station is run as
// a classic daily file of the same days would be, without a parameters line, so that
// the parameters of the parameters dialog apply.

#include <string>

namespace nimbra {

struct CsvDailyStation {
  std::string Station;
  int StationCount = 0;
  // The station's days as the lines of a classic daily file: `Day Month Year Depth`, a
  // missing day written with a negative depth, which the classic reading takes as dry.
  std::string ClassicText;
};

bool IsCsvFile(const std::string& path);

// Raises InputError naming the file, the line and the field of the first bad field, or
// when the file holds no station.
CsvDailyStation ReadFirstCsvStation(const std::string& path);

// The log line that says which station was taken.
std::string StationTakenLine(const CsvDailyStation& station, const std::string& path);

}  // namespace nimbra
