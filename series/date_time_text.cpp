#include "date_time_text.h"

#include <cstdio>

#include "civil_date.h"

namespace nimbra {

namespace {

bool ReadDigits(std::string_view text, std::size_t at, std::size_t count, int& value) {
  if (at + count > text.size()) return false;
  value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

std::optional<std::int64_t> SerialDay(int year, int month, int day) {
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return std::nullopt;
  return DaysFromCivil({year, month, day});
}

// "YYYY-MM-DD" at the start of text.
std::optional<std::int64_t> DashedDate(std::string_view text) {
  int year = 0, month = 0, day = 0;
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  if (!ReadDigits(text, 0, 4, year) || !ReadDigits(text, 5, 2, month) || !ReadDigits(text, 8, 2, day)) {
    return std::nullopt;
  }
  return SerialDay(year, month, day);
}

// "hh:mm" or "hh:mm:ss" after the date's "T" or blank; returns the hour, or -1.
int HourOfDay(std::string_view clock) {
  int hour = 0, minute = 0, second = 0;
  if (clock.size() != 5 && clock.size() != 8) return -1;
  if (clock[2] != ':' || !ReadDigits(clock, 0, 2, hour) || !ReadDigits(clock, 3, 2, minute)) return -1;
  if (clock.size() == 8 && (clock[5] != ':' || !ReadDigits(clock, 6, 2, second))) return -1;
  if (hour > 23 || minute != 0 || second != 0) return -1;
  return hour;
}

}  // namespace

std::optional<std::int64_t> ParseDate(std::string_view text) {
  if (text.size() == 8) {
    int year = 0, month = 0, day = 0;
    if (!ReadDigits(text, 0, 4, year) || !ReadDigits(text, 4, 2, month) || !ReadDigits(text, 6, 2, day)) {
      return std::nullopt;
    }
    return SerialDay(year, month, day);
  }
  if (text.size() == 10) return DashedDate(text);
  if (text.size() < 11 || (text[10] != ' ' && text[10] != 'T') || HourOfDay(text.substr(11)) != 0) {
    return std::nullopt;
  }
  return DashedDate(text);
}

std::optional<std::int64_t> ParseHour(std::string_view text) {
  if (text.size() < 11 || (text[10] != ' ' && text[10] != 'T')) return std::nullopt;
  const auto day = DashedDate(text);
  const int hour = HourOfDay(text.substr(11));
  if (!day || hour < 0) return std::nullopt;
  return *day * 24 + hour;
}

std::string FormatDate(std::int64_t serialDay) {
  const CivilDate date = CivilFromDays(serialDay);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.Year, date.Month, date.Day);
  return text;
}

std::string FormatHour(std::int64_t serialHour) {
  const std::int64_t day = FloorDiv(serialHour, 24);
  char clock[8];
  std::snprintf(clock, sizeof clock, "T%02d:00", static_cast<int>(serialHour - day * 24));
  return FormatDate(day) + clock;
}

}  // namespace nimbra
