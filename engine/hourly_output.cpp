#include <array>
#include <cmath>
#include <ostream>
#include <string>

#include "calendar.h"
#include "civil_date.h"
#include "engine_core.h"
#include "hourly_layout.h"

namespace nimbra {

namespace {

// Day and period in 64 bits, so that no day number of a file can overflow them.
struct OutputDate {
  long long day;
  long long period;
};

double DailyTotal(const EngineState& s, int day) {
  return s.Options.PerformAdjustment ? s.OriginalDaily[day] : s.SyntheticDaily[day];
}

// A dated input writes each day's own date: day of the month, month and year.
HourlyLayoutDay DatedDay(const EngineState& s, int day) {
  const CivilDate date = CivilFromDays(s.SequenceFirstDay + day - 1);
  return {date.Day, date.Month, date.Year, DailyTotal(s, day), {}};
}

std::string HourlyOutputText(const EngineState& s) {
  std::string text;
  OutputDate date{static_cast<long long>(s.SequenceStart.Day) - 1, s.SequenceStart.Period};
  std::array<double, kHoursPerDay> hours{};
  for (int day = 1; day <= s.SyntheticHourly.Count / kHoursPerDay; ++day) {
    ++date.day;
    if (!s.ReadFromFile) RollOverPeriods(date.day, date.period, s.Options.DaysPerMonth);  // test mode only
    for (int h = 1; h <= kHoursPerDay; ++h) hours[h - 1] = s.SyntheticHourly[(day - 1) * kHoursPerDay + h];
    HourlyLayoutDay written =
        s.Dated != nullptr
            ? DatedDay(s, day)
            : HourlyLayoutDay{date.day, s.SequenceStart.Tag, date.period, DailyTotal(s, day), {}};
    written.Hours = hours;
    AppendHourlyLayoutDay(text, written, FieldJoin::Touching);
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
