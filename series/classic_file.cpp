#include "classic_file.h"

#include <fstream>

#include "civil_date.h"
#include "date_time_text.h"
#include "errors.h"
#include "hourly_layout.h"
#include "input_header.h"
#include "input_records.h"

namespace nimbra {

namespace {

// Day of the year with Tag 0.
constexpr int kLongestYear = 366;
// Years a date of the CSV files can hold.
constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

[[noreturn]] void Fail(const std::string& path, std::int64_t line, const std::string& message) {
  throw InputError(path + ", line " + std::to_string(line) + ": " + message);
}

std::int64_t RecordDate(const std::string& path, std::int64_t line, const DailyRecord& r) {
  const bool yearKnown = r.Period >= kFirstYear && r.Period <= kLastYear;
  const bool valid =
      yearKnown &&
      (r.Tag == 0 ? r.Day <= DaysFromCivil({r.Period + 1, 1, 1}) - DaysFromCivil({r.Period, 1, 1})
                  : r.Tag >= 1 && r.Tag <= 12 && r.Day <= DaysInMonth(r.Period, r.Tag));
  if (!valid) {
    Fail(path, line,
         "expected Day Tag Period to name a date of the years 1 to 9999 (Tag the month, or 0 for a day of "
         "the year), found " +
             std::to_string(r.Day) + " " + std::to_string(r.Tag) + " " + std::to_string(r.Period));
  }
  return r.Tag == 0 ? DaysFromCivil({r.Period, 1, 1}) + r.Day - 1 : DaysFromCivil({r.Period, r.Tag, r.Day});
}

ClassicRecord Dated(const std::string& path, const RecordReader& reader, const DailyRecord& r, bool hasHours,
                    const ClassicRecord* previous) {
  ClassicRecord record{RecordDate(path, reader.Line(), r), r.Depth, {}, static_cast<int>(reader.Line())};
  if (previous != nullptr && record.Day <= previous->Day) {
    Fail(path, reader.Line(),
         "expected dates in increasing order, found " + FormatDate(record.Day) + " after " +
             FormatDate(previous->Day) + " (line " + std::to_string(previous->Line) + ")");
  }
  if (hasHours) record.Hours.assign(r.Hours.begin(), r.Hours.end());
  return record;
}

}  // namespace

ClassicFile ReadClassicFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw InOutError(path + ": cannot open the file");
  std::int64_t line = 1;
  InputScanner scan(in, line);
  const InputHeader header = ReadInputHeaderLines(scan, path);
  const RecordLayout layout{header.HasHours, header.SkipCount, kLongestYear, path};
  ClassicFile file{header.HasHours, {}};
  DailyRecord record;
  while (scan.SkipSeparators()) {
    RecordReader reader(layout, scan);
    if (!reader.Read(record)) throw InputError(reader.Problem().Reason + ".");
    const ClassicRecord* previous = file.Records.empty() ? nullptr : &file.Records.back();
    file.Records.push_back(Dated(path, reader, record, file.HasHours, previous));
  }
  if (in.bad()) throw InOutError(path + ": cannot read the file");
  return file;
}

void WriteClassicDay(std::ostream& out, std::int64_t serialDay, double total, std::span<const double> hours) {
  const CivilDate date = CivilFromDays(serialDay);
  std::string text;
  AppendHourlyLayoutDay(text, {date.Day, date.Month, date.Year, total, hours}, FieldJoin::Apart);
  out << text;
}

}  // namespace nimbra
