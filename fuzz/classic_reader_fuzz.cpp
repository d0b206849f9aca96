// Feeds arbitrary bytes to the reader of the classic daily format alone, header and
// records as file mode and convert read them, with no run behind it: fast enough for a
// million inputs in a few minutes. Any crash, sanitizer report or record taken with a
// value the reader promises to refuse is a finding.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "errors.h"
#include "input_header.h"
#include "input_records.h"
#include "text_fuzz_entry.h"

namespace nimbra {
namespace {

constexpr int kLastDay = 366;

void RequireTaken(bool sound, const char* what) {
  if (sound) return;
  std::cerr << "a record was taken with " << what << '\n';
  std::abort();
}

void CheckRecord(const DailyRecord& r, bool hasHours) {
  RequireTaken(r.Day >= 1 && r.Day <= kLastDay, "a day outside 1 to 366");
  RequireTaken(std::isfinite(r.Depth) && r.Depth <= kLargestDepth, "a depth beyond belief");
  if (!hasHours) return;
  for (const double hour : r.Hours) {
    RequireTaken(std::isfinite(hour) && hour >= 0 && hour <= kLargestDepth, "an hour beyond belief");
  }
}

}  // namespace

void ReadAll(const std::string& bytes) {
  std::istringstream in(bytes);
  std::int64_t line = 1;
  InputScanner scan(in, line);
  InputHeader header;
  try {
    header = ReadInputHeaderLines(scan, "fuzz input");
  } catch (const NimbraError&) {
    return;
  }
  const RecordLayout layout{header.HasHours, header.SkipCount, kLastDay, "fuzz input"};
  DailyRecord record;
  while (scan.SkipSeparators()) {
    RecordReader reader(layout, scan);
    if (!reader.Read(record)) return;
    CheckRecord(record, header.HasHours);
  }
}

}  // namespace nimbra
