#pragma once
// Hourly depths as CSV rows `station,time,precip_mm`, sorted by station and time, with ISO
// 8601 local times labelling the start of each hour (or its end). Each day's hours are
// rounded to the written decimals so that they add up exactly to the day's total at that
// precision; hours without a value are written as empty fields.

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace nimbra {

struct HourlyCsvFormat {
  int DayStart = 0;  // 0 to 23: a day's 24 hours run from this hour to the same hour of the next date
  bool LabelsAtHourEnd = false;
  int Decimals = 2;  // 0 to 6
};

// The hours in whole units of 10^-decimals mm, rounded by largest remainder: each hour is
// cut down to whole units, and the units still missing to the rounded total of all hours go
// one each to the hours with the largest cut-off parts, the earlier hour first on a tie.
// NaN hours stay out of the total and come back as -1.
void RoundToTotal(std::span<const double> hours, int decimals, std::span<std::int64_t> units);

class HourlyCsvWriter {
 public:
  // Writes the header line. Raises InvalidArgument for a day start or decimals out of range.
  // target names the file in the message of a failed write (a full disk).
  HourlyCsvWriter(std::ostream& out, const HourlyCsvFormat& format, std::string target = "the hourly output");

  // 24 hours per day from firstDay on; NaN marks a missing hour. A negative or infinite
  // hour, or one too large to round exactly at the decimals, raises InvalidArgument naming
  // the station and the hour, so that no value is ever written as missing or wrong.
  void WriteStation(std::string_view station, std::int64_t firstDay, std::span<const double> hours);
  // Hands what is buffered to the stream and raises InOutError if the stream failed; the
  // last call after the last station.
  void Flush();

 private:
  void WriteDay(std::string_view station, std::int64_t serialDay, std::span<const double> hours);
  void RequireWritable(std::string_view station, std::int64_t serialDay, std::span<const double> hours) const;
  void AppendTime(std::int64_t serialHour);
  void AppendUnits(std::int64_t units);

  std::ostream& out_;
  HourlyCsvFormat format_;
  std::string target_;
  std::string buffer_;
  std::int64_t labelDay_ = INT64_MIN;  // the date whose text dateText_ holds
  char dateText_[16] = {};
  std::vector<std::int64_t> units_;
};

}  // namespace nimbra
