#pragma once
// The classic fixed-format files, read and written for conversion to and from CSV.
//
// Daily input: an optional header line ("D" or "H", a skip count, a title), an optional
// parameters line ("P ..."), then records `Day Tag Period [skipped values] Depth [24 hours]`
// as blank-separated tokens. Dates: Tag 1 to 12 is the month (Day the day of the month,
// Period the year); Tag 0 makes Day the day of the year Period.
//
// Hourly output: two CR LF lines per day, `Day Tag Period total h1..h12` in widths
// 3, 3, 5, 6 and 12 x 6, then 17 blanks and h13..h24; depths with 2 decimals; the file
// starts with a line end and ends without one.

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace nimbra {

struct ClassicRecord {
  std::int64_t Day = 0;  // serial day
  double Depth = 0;      // negative in files that mark a missing day so
  std::vector<double> Hours;
  int Line = 0;
};

struct ClassicFile {
  bool HasHours = false;
  std::vector<ClassicRecord> Records;
};

// Raises InputError naming the file, the line and the field that is not what the format
// expects, and InOutError when the file cannot be read.
ClassicFile ReadClassicFile(const std::string& path);

// One day in the hourly output layout, its date as day of month, month and year.
void WriteClassicDay(std::ostream& out, std::int64_t serialDay, std::span<const double> hours);

}  // namespace nimbra
