#include "dated_input.h"

#include <cmath>

#include "civil_date.h"
#include "engine_core.h"
#include "errors.h"

namespace nimbra {

namespace {

bool IsWet(double depth) { return !std::isnan(depth) && depth >= kWetDayDepth; }

const DatedInput& RequireDatedInput(const EngineState& s) {
  if (s.Dated == nullptr) throw InvalidArgument("No dated input is open");
  return *s.Dated;
}

}  // namespace

void EngineCore::RewindDatedInput() {
  EngineState& s = state_;
  s.OriginalHourlyAvailable = !RequireDatedInput(s).Series.ObservedHours.empty();
  s.DatedDay = 0;
  s.DatedSetMonth = 0;
}

void EngineCore::ReadNextDatedSequence() {
  EngineState& s = state_;
  const StationSeries& series = RequireDatedInput(s).Series;
  std::size_t first = s.DatedDay;
  s.DatedGapHours = 0;
  for (; first < series.Daily.size() && !IsWet(series.Daily[first]); ++first) {
    if (!std::isnan(series.Daily[first])) s.DatedGapHours += kHoursPerDay;
  }
  if (first == series.Daily.size()) {
    s.EndOfInput = true;
    ui_.DisableNextCommands();
    return;
  }
  std::size_t end = first;
  while (end < series.Daily.size() && IsWet(series.Daily[end]) && end - first < DailySeries::kCapacity) ++end;
  s.DatedDay = end;
  s.SequenceFirstDay = series.FirstDay + static_cast<std::int64_t>(first);
  const CivilDate date = CivilFromDays(s.SequenceFirstDay);
  s.SequenceStart = {date.Day, date.Month, date.Year};
  TakeMonthParameters(date.Month);
  TakeDatedDays(first, end);
}

// The set is taken as the one-station call takes it: the run goes on, with the rates of
// the new set. The windows read the set after the step.
void EngineCore::TakeMonthParameters(int month) {
  EngineState& s = state_;
  if (month == s.DatedSetMonth) return;
  const DatedInput& input = RequireDatedInput(s);
  const std::string& name = input.SetNames[static_cast<std::size_t>(month - 1)];
  const bool named =
      s.DatedSetMonth != 0 && input.SetNames[static_cast<std::size_t>(s.DatedSetMonth - 1)] == name;
  s.DatedSetMonth = month;
  SetParameters(input.Parameters[static_cast<std::size_t>(month - 1)]);
  if (!named) log_.AddLine("Parameter set: " + name);
}

void EngineCore::TakeDatedDays(std::size_t first, std::size_t end) {
  EngineState& s = state_;
  const StationSeries& series = s.Dated->Series;
  const int days = static_cast<int>(end - first);
  s.OriginalDaily.Count = days;
  s.OriginalHourly.Count = kHoursPerDay * days;
  for (int k = 1; k <= days; ++k) s.OriginalDaily[k] = series.Daily[first + static_cast<std::size_t>(k - 1)];
  for (int h = 1; h <= kHoursPerDay * days; ++h) {
    const std::size_t hour = kHoursPerDay * first + static_cast<std::size_t>(h - 1);
    s.OriginalHourly[h] = s.OriginalHourlyAvailable ? series.ObservedHours[hour] : 0.0;
  }
}

}  // namespace nimbra
