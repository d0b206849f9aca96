// Feeds arbitrary bytes to the hourly CSV reader, with a day start and hour labels taken
// from the first byte. Errors of the file are expected; a crash, a sanitizer report, an
// escaping exception of another kind or hours beyond the reader's promises is a finding.

#include <cstdint>
#include <string>

#include "csv_fuzz_checks.h"
#include "errors.h"
#include "hourly_csv_reader.h"
#include "text_fuzz_entry.h"

namespace nimbra {
namespace {

constexpr int kHours = 24;

}  // namespace

void ReadAll(const std::string& bytes) {
  const unsigned first = bytes.empty() ? 0u : static_cast<unsigned char>(bytes.front());
  HourlyCsvOptions options;
  options.DayStart = static_cast<int>(first % kHours);
  options.LabelsAtHourEnd = (first & 0x80) != 0;
  try {
    CsvReader reader("fuzz.csv", bytes);
    for (const StationHours& station : ReadHourlyCsv(reader, options)) {
      RequireRead(station.Hours.size() % kHours == 0, "hours that are no whole days");
      RequireDepths(station.Hours, (kLongestSpanDays + 2) * kHours);
    }
  } catch (const NimbraError&) {
  }
}

}  // namespace nimbra
