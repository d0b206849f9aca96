#pragma once
// Classic files to CSV and back. Classic files mark a missing day with a negative depth
// (its hours written as 0), which the classic reader takes as a dry day: the conversion
// writes such a day as missing (NA, and empty hours) unless asked to keep the classic
// reading, where it becomes a dry day.

#include <ostream>
#include <string>

#include "classic_file.h"
#include "hourly_csv_reader.h"
#include "hourly_csv_writer.h"

namespace nimbra {

struct ClassicToCsvCounts {
  std::int64_t Days = 0;
  std::int64_t NegativeDays = 0;
};

// `station,date,precip_mm` rows for every record, and the records' hours through hourly
// when it is given and the file has hours.
ClassicToCsvCounts ConvertClassicToCsv(const ClassicFile& file, const std::string& station,
                                       bool negativeIsMissing, std::ostream& daily, HourlyCsvWriter* hourly);

struct CsvToClassicCounts {
  std::int64_t WetDays = 0;
  std::int64_t IncompleteDays = 0;      // days with a missing hour, left out
  std::int64_t BelowPrecisionDays = 0;  // wet days under 0.005 mm, which the layout writes as dry
};

// Each wet day whose 24 hours are all present, in the classic hourly output layout, the
// hours rounded so that they add up to the day's rounded total.
CsvToClassicCounts ConvertHoursToClassic(const StationHours& hours, std::ostream& out);

}  // namespace nimbra
