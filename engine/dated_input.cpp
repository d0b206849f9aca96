#include "dated_input.h"

#include <algorithm>
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

std::size_t PartOfDay(const DatedInput& input, std::size_t day) {
  const int month = CivilFromDays(input.Series.FirstDay + static_cast<std::int64_t>(day)).Month;
  return input.PartOfMonth[static_cast<std::size_t>(month - 1)];
}

// Each stream starts as the one-station call starts a part's run: seeded, one draw for
// the start of a synthetic sequence, and no normal variate kept back.
std::vector<RandomGenerator::Position> PartStreams(EngineCore& core, const DatedInput& input) {
  const EngineState& s = core.State();
  RandomGenerator& random = core.Random();
  std::vector<RandomGenerator::Position> streams;
  for (const DatedPart& part : input.Parts) {
    random.SetRandomSeed(
        static_cast<std::int32_t>(static_cast<std::uint32_t>(s.Options.RandomSeed) ^ part.SeedSpread));
    random.ExponentialRandom(s.Parameters.Lambda);
    streams.push_back({random.Tell().State, false, 0.0});
  }
  return streams;
}

// The part's settings and stream take over; the stream it leaves keeps its place.
// Returns the log line that tells a change of the repetition settings, empty when they stay.
std::string TakePart(EngineCore& core, const DatedInput& input, std::size_t part) {
  EngineState& s = core.State();
  if (s.DatedPart == static_cast<int>(part)) return {};
  if (!s.DatedStreams.empty()) {
    if (s.DatedPart >= 0) s.DatedStreams[static_cast<std::size_t>(s.DatedPart)] = core.Random().Tell();
    core.Random().Resume(s.DatedStreams[part]);
  }
  s.DatedPart = static_cast<int>(part);
  const DatedPart& settings = input.Parts[part];
  RunOptions& options = s.Options;
  if (settings.RepLevel1Factor == options.RepLevel1Factor && settings.RepLevel1Min == options.RepLevel1Min)
    return {};
  options.RepLevel1Factor = settings.RepLevel1Factor;
  options.RepLevel1Min = settings.RepLevel1Min;
  return "Repetition settings: factor " + std::to_string(options.RepLevel1Factor) + ", minimum " +
         std::to_string(options.RepLevel1Min);
}

}  // namespace

void EngineCore::RewindDatedInput() {
  EngineState& s = state_;
  const DatedInput& input = RequireDatedInput(s);
  s.OriginalHourlyAvailable = !input.Series.ObservedHours.empty();
  s.DatedDay = 0;
  s.DatedSetMonth = 0;
  s.DatedPart = -1;
  s.DatedStreams.clear();
  if (input.Parts.size() > 1) s.DatedStreams = PartStreams(*this, input);
  // From its start the run holds the set its first sequence takes: the windows show
  // the set in use.
  const std::vector<double>& daily = input.Series.Daily;
  const auto firstWet = std::find_if(daily.begin(), daily.end(), IsWet);
  if (firstWet == daily.end()) return;
  TakeMonthParameters(CivilFromDays(input.Series.FirstDay + (firstWet - daily.begin())).Month);
}

void EngineCore::ReadNextDatedSequence() {
  EngineState& s = state_;
  const DatedInput& input = RequireDatedInput(s);
  const StationSeries& series = input.Series;
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
  const bool parted = input.Parts.size() > 1;
  std::size_t end = first;
  while (end < series.Daily.size() && IsWet(series.Daily[end]) && end - first < DailySeries::kCapacity &&
         (!parted || PartOfDay(input, end) == PartOfDay(input, first)))
    ++end;
  s.DatedDay = end;
  s.SequenceFirstDay = series.FirstDay + static_cast<std::int64_t>(first);
  const CivilDate date = CivilFromDays(s.SequenceFirstDay);
  s.SequenceStart = {date.Day, date.Month, date.Year};
  TakeMonthParameters(date.Month);
  if (!input.Parts.empty()) {
    const std::string settings =
        TakePart(*this, input, input.PartOfMonth[static_cast<std::size_t>(date.Month - 1)]);
    if (!settings.empty()) log_.AddLine(settings);
  }
  TakeDatedDays(first, end);
}

// The set is taken as the one-station call takes it: the run goes on, with the rates of
// the new set. The windows read the set after the step.
void EngineCore::TakeMonthParameters(int month) {
  EngineState& s = state_;
  if (month == s.DatedSetMonth) return;
  const DatedInput& input = RequireDatedInput(s);
  const auto index = static_cast<std::size_t>(month - 1);
  const std::string& name = input.SetNames[index];
  const bool named =
      s.DatedSetMonth != 0 && input.SetNames[static_cast<std::size_t>(s.DatedSetMonth - 1)] == name;
  s.DatedSetMonth = month;
  SetParameters(input.Parameters[index]);
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
