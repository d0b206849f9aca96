#pragma once
// Dates and hours as CSV files write them, read into serial days (days since
// 1970-01-01) and serial hours (hours since 1970-01-01T00:00), and written back.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nimbra {

// "YYYY-MM-DD", "YYYYMMDD", or "YYYY-MM-DD 00:00" (also with "T" and ":00" seconds); nothing
// when the text is not one of these or names no calendar day.
std::optional<std::int64_t> ParseDate(std::string_view text);

// "YYYY-MM-DDThh:mm", with a blank instead of "T" and optional ":ss"; minutes and seconds
// must be zero. Nothing when the text is not such a time.
std::optional<std::int64_t> ParseHour(std::string_view text);

// "YYYY-MM-DD".
std::string FormatDate(std::int64_t serialDay);
// "YYYY-MM-DDThh:mm".
std::string FormatHour(std::int64_t serialHour);

// Floor division of serial hours into serial days, right for times before 1970 too.
inline std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
  const std::int64_t quotient = value / divisor;
  return quotient * divisor > value ? quotient - 1 : quotient;
}

}  // namespace nimbra
