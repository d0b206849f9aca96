#pragma once
// Dates of the proleptic Gregorian calendar as serial day numbers (days since
// 1970-01-01), so that consecutive days differ by one whatever the month or year.

#include <cstdint>

namespace nimbra {

struct CivilDate {
  int Year = 1970;
  int Month = 1;  // 1 to 12
  int Day = 1;    // 1 to the month's length
  bool operator==(const CivilDate&) const = default;
};

std::int64_t DaysFromCivil(const CivilDate& date);
CivilDate CivilFromDays(std::int64_t serialDay);
int DaysInMonth(int year, int month);

}  // namespace nimbra
