#pragma once
// The fit command's reading of an hourly CSV file (`station,time,precip_mm`, times
// "YYYY-MM-DDTHH:MM" at the start of each hour, one station). Kept apart so that the
// full reader of the series layer can take its place.

#include <string>

#include "hourly_record.h"

namespace nimbra {

// Days run from the first to the last day with a row; hours without a row, an empty
// depth or "NaN" are missing. Throws InputError naming the file, the line and the
// field of the first bad row, and InOutError when the file cannot be read.
HourlyRecord ReadHourlyRecord(const std::string& path);

}  // namespace nimbra
