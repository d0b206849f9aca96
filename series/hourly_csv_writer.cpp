#include "hourly_csv_writer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numeric>

#include "civil_date.h"
#include "csv_row.h"
#include "date_time_text.h"
#include "errors.h"
#include "format.h"

namespace nimbra {

namespace {

constexpr int kHours = 24;
constexpr int kMostDecimals = 6;
constexpr std::size_t kFlushAt = 1 << 20;

double UnitsPerMillimetre(int decimals) { return std::pow(10.0, decimals); }

// Whole units are exact in a double, and their sum in 64 bits, up to 2^53 (9.007e15).
double LargestWritable(int decimals) { return 1e15 / UnitsPerMillimetre(decimals); }

bool Writable(double hour, int decimals) {
  return std::isnan(hour) || (hour >= 0 && hour <= LargestWritable(decimals));
}

}  // namespace

void RoundToTotal(std::span<const double> hours, int decimals, std::span<std::int64_t> units) {
  const double scale = UnitsPerMillimetre(decimals);
  std::array<double, kHours> cutOff{};
  double total = 0;
  std::int64_t kept = 0;
  for (std::size_t i = 0; i < hours.size(); ++i) {
    if (std::isnan(hours[i])) {
      units[i] = -1;
      continue;
    }
    const double scaled = hours[i] * scale;
    units[i] = static_cast<std::int64_t>(std::floor(scaled));
    cutOff[i] = scaled - static_cast<double>(units[i]);
    total += hours[i];
    kept += units[i];
  }
  // Scaled hours add up to their day's depth only within rounding error: a day of 28.5 mm
  // may sum to 28.4999999999. Snapping the total to a millionth of a unit first rounds it
  // as the depth itself rounds.
  constexpr double kSnap = 1e6;
  std::int64_t missingUnits = std::llround(std::round(total * scale * kSnap) / kSnap) - kept;
  std::array<int, kHours> order{};
  std::iota(order.begin(), order.begin() + hours.size(), 0);
  std::stable_sort(order.begin(), order.begin() + hours.size(),
                   [&](int a, int b) { return cutOff[a] > cutOff[b]; });
  for (std::size_t k = 0; k < hours.size() && missingUnits > 0; ++k) {
    if (units[order[k]] < 0) continue;
    ++units[order[k]];
    --missingUnits;
  }
}

HourlyCsvWriter::HourlyCsvWriter(std::ostream& out, const HourlyCsvFormat& format, std::string target)
    : out_(out), format_(format), target_(std::move(target)), units_(kHours) {
  if (format.DayStart < 0 || format.DayStart >= kHours) {
    throw InvalidArgument("--day-start: expected an hour 0 to 23, found " + std::to_string(format.DayStart));
  }
  if (format.Decimals < 0 || format.Decimals > kMostDecimals) {
    throw InvalidArgument("--decimals: expected 0 to 6, found " + std::to_string(format.Decimals));
  }
  buffer_.reserve(kFlushAt + 4096);
  buffer_ += "station,time,precip_mm\n";
}

void HourlyCsvWriter::WriteStation(std::string_view station, std::int64_t firstDay,
                                   std::span<const double> hours) {
  for (std::size_t day = 0; day * kHours < hours.size(); ++day) {
    WriteDay(station, firstDay + static_cast<std::int64_t>(day), hours.subspan(day * kHours, kHours));
  }
}

void HourlyCsvWriter::WriteDay(std::string_view station, std::int64_t serialDay,
                               std::span<const double> hours) {
  RequireWritable(station, serialDay, hours);
  RoundToTotal(hours, format_.Decimals, units_);
  const std::string field = CsvField(station);
  const std::int64_t firstLabel = serialDay * kHours + format_.DayStart + (format_.LabelsAtHourEnd ? 1 : 0);
  for (int h = 0; h < kHours; ++h) {
    buffer_ += field;
    buffer_ += ',';
    AppendTime(firstLabel + h);
    buffer_ += ',';
    if (units_[h] >= 0) AppendUnits(units_[h]);
    buffer_ += '\n';
  }
  if (buffer_.size() >= kFlushAt) Flush();
}

void HourlyCsvWriter::RequireWritable(std::string_view station, std::int64_t serialDay,
                                      std::span<const double> hours) const {
  for (std::size_t h = 0; h < hours.size(); ++h) {
    if (Writable(hours[h], format_.Decimals)) continue;
    const std::int64_t hour = serialDay * kHours + format_.DayStart + static_cast<std::int64_t>(h);
    throw InvalidArgument("station '" + std::string(station) + "', hour " + FormatHour(hour) +
                          ": expected a depth of 0 to " +
                          FormatGeneral(LargestWritable(format_.Decimals), ".") + " mm to write, found " +
                          FormatGeneral(hours[h], "."));
  }
}

void HourlyCsvWriter::AppendTime(std::int64_t serialHour) {
  const std::int64_t day = FloorDiv(serialHour, kHours);
  if (day != labelDay_) {
    const CivilDate date = CivilFromDays(day);
    std::snprintf(dateText_, sizeof dateText_, "%04d-%02d-%02dT", date.Year, date.Month, date.Day);
    labelDay_ = day;
  }
  const int hour = static_cast<int>(serialHour - day * kHours);
  buffer_.append(dateText_, 11);
  const char clock[5] = {static_cast<char>('0' + hour / 10), static_cast<char>('0' + hour % 10), ':', '0',
                         '0'};
  buffer_.append(clock, 5);
}

void HourlyCsvWriter::AppendUnits(std::int64_t units) {
  char digits[24];
  const int decimals = format_.Decimals;
  const char* end = std::to_chars(digits, digits + sizeof digits, units).ptr;
  const int length = static_cast<int>(end - digits);
  if (decimals == 0) {
    buffer_.append(digits, length);
    return;
  }
  if (length <= decimals) {
    buffer_ += "0.";
    buffer_.append(decimals - length, '0');
    buffer_.append(digits, length);
    return;
  }
  buffer_.append(digits, length - decimals);
  buffer_ += '.';
  buffer_.append(digits + length - decimals, decimals);
}

void HourlyCsvWriter::Flush() {
  out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  buffer_.clear();
  if (!out_) throw InOutError(target_ + ": cannot write the file (is the disk full?)");
}

}  // namespace nimbra
