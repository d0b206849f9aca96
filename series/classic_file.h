#pragma once
// The classic fixed-format files, read and written for conversion to and from CSV, through
// the engine's own reader and writer of them, so that a file converted is taken or refused
// as file mode takes or refuses it.
//
// Daily input: an optional header line ("D" or "H", a skip count, a title), an optional
// parameters line ("P ..."), then records `Day Tag Period [skipped values] Depth [24 hours]`
// as blank-separated tokens. Dates: Tag 1 to 12 is the month (Day the day of the month,
// Period the year); Tag 0 makes Day the day of the year Period. Dates must increase.

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace nimbra {

struct ClassicRecord {
  std::int64_t Day = 0;       // serial day
  double Depth = 0;           // negative in files that mark a missing day so
  std::vector<double> Hours;  // negative hours read as 0, as file mode reads them
  int Line = 0;
};

struct ClassicFile {
  bool HasHours = false;
  std::vector<ClassicRecord> Records;
};

// Raises InputError naming the file, the line and the field that is not what the format
// expects, and InOutError when the file cannot be read.
ClassicFile ReadClassicFile(const std::string& path);

// One day in the hourly output layout, its date as day of month, month and year, each
// field kept apart from the one before by at least a blank.
void WriteClassicDay(std::ostream& out, std::int64_t serialDay, double total, std::span<const double> hours);

}  // namespace nimbra
