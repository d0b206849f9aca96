#pragma once
// The engine's calendar lays periods of DaysPerMonth days end to end: a day number
// past the end of its period lies in a later period.

#include <string>

#include "errors.h"

namespace nimbra {

template <class Integer>
void RollOverPeriods(Integer& day, Integer& period, int daysPerMonth) {
  // Periods of no days would never hold the day.
  if (daysPerMonth < 1)
    throw InvalidArgument("Days per month must be at least 1; it is " + std::to_string(daysPerMonth));
  if (day <= daysPerMonth) return;
  period += (day - 1) / daysPerMonth;
  day = (day - 1) % daysPerMonth + 1;
}

}  // namespace nimbra
