#pragma once
// A season: a named set of calendar months. One parameters file defines the seasons that
// fitting, disaggregation and the statistics report all use.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nimbra {

using MonthSet = std::uint16_t;  // bit m - 1 stands for month m
inline constexpr MonthSet kAllMonths = 0x0FFF;

inline constexpr MonthSet MonthBit(int month) { return static_cast<MonthSet>(1u << (month - 1)); }

struct Season {
  std::string Name;
  MonthSet Months = 0;
  bool Covers(int month) const { return (Months & MonthBit(month)) != 0; }
  bool operator==(const Season&) const = default;
};

// "12 1 2" (blanks or commas between month numbers 1 to 12); nothing when the text is empty,
// holds anything else or names a month twice.
std::optional<MonthSet> ParseMonthList(std::string_view text);
// "3, 4, 11": the months of the set in calendar order.
std::string MonthListText(MonthSet months);

}  // namespace nimbra
