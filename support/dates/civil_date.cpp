#include "civil_date.h"

namespace nimbra {

// Howard Hinnant's algorithms: eras of 400 years, years starting on 1 March so that
// the leap day ends the year.
std::int64_t DaysFromCivil(const CivilDate& date) {
  const std::int64_t y = date.Year - (date.Month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yearOfEra = y - era * 400;
  const std::int64_t month = date.Month > 2 ? date.Month - 3 : date.Month + 9;
  const std::int64_t dayOfYear = (153 * month + 2) / 5 + date.Day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

CivilDate CivilFromDays(std::int64_t serialDay) {
  const std::int64_t z = serialDay + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t dayOfEra = z - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t month = (5 * dayOfYear + 2) / 153;
  CivilDate date;
  date.Day = static_cast<int>(dayOfYear - (153 * month + 2) / 5 + 1);
  date.Month = static_cast<int>(month < 10 ? month + 3 : month - 9);
  date.Year = static_cast<int>(yearOfEra + era * 400 + (date.Month <= 2 ? 1 : 0));
  return date;
}

int DaysInMonth(int year, int month) {
  static constexpr int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kLengths[month - 1];
}

}  // namespace nimbra
