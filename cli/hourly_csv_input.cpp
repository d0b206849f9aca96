#include "hourly_csv_input.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "civil_date.h"
#include "errors.h"

namespace nimbra {

namespace {

constexpr std::string_view kHeader = "station,time,precip_mm";

class RowError {
 public:
  RowError(const std::string& path, int line) : path_(path), line_(line) {}
  [[noreturn]] void Throw(const char* field, const std::string& expected, std::string_view text) const {
    throw InputError(path_ + ", line " + std::to_string(line_) + ", field " + field + ": expected " +
                     expected + ", not '" + std::string(text) + "'");
  }

 private:
  const std::string& path_;
  int line_;
};

int Digits(std::string_view text, std::size_t at, std::size_t count, bool& ok) {
  int value = 0;
  const auto parsed = std::from_chars(text.data() + at, text.data() + at + count, value);
  ok = ok && parsed.ec == std::errc() && parsed.ptr == text.data() + at + count;
  return value;
}

// Serial hour of "YYYY-MM-DDTHH:MM" (minutes 00), or nothing.
std::optional<std::int64_t> ParseHour(std::string_view text) {
  if (text.size() != 16 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text.substr(14) != "00")
    return std::nullopt;
  bool ok = true;
  const CivilDate date{Digits(text, 0, 4, ok), Digits(text, 5, 2, ok), Digits(text, 8, 2, ok)};
  const int hour = Digits(text, 11, 2, ok);
  if (!ok || date.Month < 1 || date.Month > 12 || date.Day < 1 ||
      date.Day > DaysInMonth(date.Year, date.Month) || hour > 23)
    return std::nullopt;
  return DaysFromCivil(date) * 24 + hour;
}

std::optional<double> ParseDepth(std::string_view text) {
  if (text.empty() || text == "NaN" || text == "NA") return NAN;
  double value = 0;
  const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
  if (parsed.ec != std::errc() || parsed.ptr != text.data() + text.size() || !(value >= 0) ||
      std::isinf(value))
    return std::nullopt;
  return value;
}

void StripCarriageReturn(std::string& line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const auto comma = line.find(',', start);
    fields.push_back(line.substr(start, comma - start));
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

HourlyRecord Lay(const std::map<std::int64_t, double>& hours) {
  const std::int64_t firstDay = hours.begin()->first / 24;
  const std::int64_t lastDay = hours.rbegin()->first / 24;
  HourlyRecord record{firstDay,
                      std::vector<double>(static_cast<std::size_t>(lastDay - firstDay + 1) * 24, NAN)};
  for (const auto& [hour, depth] : hours)
    record.Hours[static_cast<std::size_t>(hour - firstDay * 24)] = depth;
  return record;
}

}  // namespace

HourlyRecord ReadHourlyRecord(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw InOutError(path + ": cannot be read");
  std::string line;
  std::getline(in, line);
  StripCarriageReturn(line);
  if (line != kHeader) RowError(path, 1).Throw("header", std::string(kHeader), line);
  std::map<std::int64_t, double> hours;
  std::string station;
  for (int number = 2; std::getline(in, line); ++number) {
    StripCarriageReturn(line);
    if (line.empty()) continue;
    const RowError error(path, number);
    const auto fields = Fields(line);
    if (fields.size() != 3) error.Throw("count", "3 fields", line);
    if (station.empty()) station = fields[0];
    if (fields[0] != station) error.Throw("station", "one station, " + station, fields[0]);
    const auto hour = ParseHour(fields[1]);
    if (!hour) error.Throw("time", "YYYY-MM-DDTHH:00", fields[1]);
    const auto depth = ParseDepth(fields[2]);
    if (!depth) error.Throw("precip_mm", "a depth in mm of 0 or more, or nothing when missing", fields[2]);
    if (!hours.emplace(*hour, *depth).second) error.Throw("time", "each hour once", fields[1]);
  }
  if (hours.empty()) throw InputError(path + ": no row of data after the header");
  return Lay(hours);
}

}  // namespace nimbra
