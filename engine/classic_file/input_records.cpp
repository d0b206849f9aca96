#include "input_records.h"

#include <type_traits>

#include "format.h"

namespace nimbra {

std::string RecordReader::Field::Name() const {
  return number == 0 ? name : name + std::string(" ") + std::to_string(number);
}

std::string RecordReader::LineName(std::int64_t line) const { return InputLineName(layout_.FileName, line); }

bool RecordReader::Read(DailyRecord& r) {
  if (!(Next(r.Day, {"Day"}, ParseInteger) && DayInPeriod(r.Day) && Next(r.Tag, {"Tag"}, ParseInteger) &&
        Next(r.Period, {"Period"}, ParseInteger))) {
    return false;
  }
  double skipped = 0;
  for (int k = 1; k <= layout_.SkipCount; ++k) {
    if (!Next(skipped, {"skipped value", k}, ParseReal)) return false;
  }
  if (!NextDepth(r.Depth, {"Depth"})) return false;
  if (!layout_.HasHours) return true;
  for (int k = 1; k <= kHoursPerDay; ++k) {
    double& hour = r.Hours[static_cast<std::size_t>(k - 1)];
    if (!NextDepth(hour, {"hour", k})) return false;
    if (hour >= 0) continue;
    hour = 0;
    if (negativeHourLine_ == 0) negativeHourLine_ = tokenLine_;
  }
  return true;
}

template <class Number>
bool RecordReader::Next(Number& value, const Field& field, std::optional<Number> (*parse)(std::string_view)) {
  if (!scan_.SkipSeparators()) {
    problem_ = {"The record in " + LineName(line_) + " is cut short by the end of the file",
                ": it is dropped."};
    return false;
  }
  tokenLine_ = scan_.Line();
  const std::string token = scan_.NextToken();
  const auto parsed = parse(token);
  if (!parsed) {
    const char* expected = std::is_integral_v<Number> ? "an integer" : "a real number such as 2.5";
    problem_ = {"Invalid number \"" + Shown(token) + "\" for " + field.Name() + " in " +
                    LineName(tokenLine_) + ": " + expected + " is expected",
                "; the input ends there."};
    return false;
  }
  value = *parsed;
  return true;
}

bool RecordReader::DayInPeriod(int day) {
  if (day >= 1 && day <= layout_.LastDay) return true;
  problem_ = {"Day " + std::to_string(day) + " in " + LineName(tokenLine_) + " is outside 1 to " +
                  std::to_string(layout_.LastDay) + ", the days per month",
              ": the input ends there."};
  return false;
}

bool RecordReader::NextDepth(double& depth, const Field& field) {
  if (!Next(depth, field, ParseReal)) return false;
  if (depth <= kLargestDepth) return true;
  problem_ = {field.Name() + " in " + LineName(tokenLine_) + " is " + FormatGeneral(depth, ".") +
                  " mm, above the " + FormatGeneral(kLargestDepth, ".") + " mm that no day's rain reaches",
              ": the input ends there."};
  return false;
}

}  // namespace nimbra
