#include <cmath>
#include <ostream>
#include <string>

#include "calendar.h"
#include "engine_core.h"
#include "format.h"

namespace nimbra {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr int kRealWidth = 6;

// Right-aligned; a longer text is written whole and widens its field.
void AppendField(std::string& text, const std::string& field, std::size_t width) {
  if (field.size() < width) text.append(width - field.size(), ' ');
  text += field;
}

void AppendReal(std::string& text, double value) { AppendField(text, FormatFixed2(value, "."), kRealWidth); }

// Day and period in 64 bits, so that no day number of a file can overflow them.
struct OutputDate {
  long long day;
  long long period;
};

double DailyTotal(const EngineState& s, int day) {
  return s.Options.PerformAdjustment ? s.OriginalDaily[day] : s.SyntheticDaily[day];
}

void AppendDayStart(std::string& text, const EngineState& s, OutputDate& date, int day) {
  text += kLineEnd;
  ++date.day;
  if (!s.ReadFromFile) RollOverPeriods(date.day, date.period, s.Options.DaysPerMonth);  // test mode only
  AppendField(text, std::to_string(date.day), 3);
  AppendField(text, std::to_string(s.SequenceStart.Tag), 3);
  AppendField(text, std::to_string(date.period), 5);
  AppendReal(text, DailyTotal(s, day));
}

// Two lines per day, hours 1 to 12 after the date and total, hours 13 to 24 under
// them; each line break comes before its line, so the text ends without one.
std::string HourlyOutputText(const EngineState& s) {
  std::string text;
  OutputDate date{static_cast<long long>(s.SequenceStart.Day) - 1, s.SequenceStart.Period};
  for (int h = 1; h <= s.SyntheticHourly.Count; ++h) {
    const int hourOfDay = (h - 1) % kHoursPerDay + 1;
    if (hourOfDay == 1) AppendDayStart(text, s, date, (h - 1) / kHoursPerDay + 1);
    if (hourOfDay == 13) text.append(kLineEnd).append(17, ' ');
    AppendReal(text, s.SyntheticHourly[h]);
  }
  return text;
}

// A value that is no finite number would reach the file as a word readers of the file
// cannot take: the step fails instead, and nothing of the sequence is written.
void RequireFiniteDepths(const EngineState& s) {
  bool finite = true;
  for (int h = 1; h <= s.SyntheticHourly.Count; ++h) finite = finite && std::isfinite(s.SyntheticHourly[h]);
  for (int d = 1; d <= s.SyntheticHourly.Count / 24; ++d) finite = finite && std::isfinite(DailyTotal(s, d));
  if (finite) return;
  const SequenceDate& d = s.SequenceStart;
  throw FloatingPointError("The depths computed for the sequence from day " + std::to_string(d.Day) +
                           ", tag " + std::to_string(d.Tag) + ", period " + std::to_string(d.Period) +
                           " are not all finite numbers: nothing of it is written to the output file.");
}

}  // namespace

void EngineCore::WriteHourlyOutput() {
  const EngineState& s = state_;
  if (s.OutputFile == nullptr) throw InvalidArgument("No output file is open");
  RequireFiniteDepths(s);
  const std::string text = HourlyOutputText(s);
  if (text.empty()) return;
  std::ostream& out = *s.OutputFile;
  out << text;
  out.flush();
  if (!out) {
    throw InOutError("Cannot write to the output file \"" + s.OutputFileName +
                     "\": the disk may be full or the file no longer writable.");
  }
}

}  // namespace nimbra
