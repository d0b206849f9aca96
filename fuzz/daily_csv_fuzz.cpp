// Feeds arbitrary bytes to the daily CSV reader, in the long layout or (when the first
// byte is odd) the wide one. Errors of the file are expected; a crash, a sanitizer report,
// an escaping exception of another kind or a series beyond the reader's promises is a
// finding.

#include <cstdint>
#include <string>

#include "csv_fuzz_checks.h"
#include "daily_csv_reader.h"
#include "errors.h"
#include "text_fuzz_entry.h"

namespace nimbra {

void ReadAll(const std::string& bytes) {
  DailyCsvOptions options;
  options.Wide = !bytes.empty() && (static_cast<unsigned char>(bytes.front()) & 1) != 0;
  try {
    CsvReader reader("fuzz.csv", bytes);
    for (const NamedSeries& station : ReadDailyCsv(reader, options)) {
      RequireDepths(station.Series.Daily, kLongestSpanDays + 1);
    }
  } catch (const NimbraError&) {
  }
}

}  // namespace nimbra
