#pragma once
// The fit command's hourly record: one station of an hourly CSV file as the series layer
// reads it (`station,time,precip_mm`).

#include <string>

#include "hourly_record.h"

namespace nimbra {

// Days run from the first to the last day with a row; hours without a row, an empty
// depth or a missing mark are missing. Throws InputError naming the file, the line and
// the field of the first bad row, or the stations when the file holds more than one,
// and InOutError when the file cannot be read.
HourlyRecord ReadHourlyRecord(const std::string& path);

}  // namespace nimbra
