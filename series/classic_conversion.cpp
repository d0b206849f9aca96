#include "classic_conversion.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <numeric>

#include "csv_row.h"
#include "date_time_text.h"
#include "model_parameters.h"

namespace nimbra {

namespace {

constexpr int kHours = 24;

constexpr int kClassicDecimals = 2;
constexpr double kClassicUnit = 0.01;

// The shortest text that reads back as the same depth, so that no digit of the file is lost.
std::string DepthText(double depth) {
  if (std::isnan(depth)) return "NA";
  char text[32];
  const auto written = std::to_chars(text, text + sizeof text, depth);
  return std::string(text, written.ptr);
}

// The day's hours rounded to the layout's two decimals so that they add up to its
// rounded total; false when that total is 0.00, which the classic reading takes as dry.
bool RoundedDay(std::span<const double> hours, std::array<double, kHours>& rounded, double& total) {
  std::array<std::int64_t, kHours> units{};
  RoundToTotal(hours, kClassicDecimals, units);
  std::int64_t totalUnits = 0;
  for (int h = 0; h < kHours; ++h) {
    rounded[h] = static_cast<double>(units[h]) * kClassicUnit;
    totalUnits += units[h];
  }
  total = static_cast<double>(totalUnits) * kClassicUnit;
  return totalUnits > 0;
}

}  // namespace

ClassicToCsvCounts ConvertClassicToCsv(const ClassicFile& file, const std::string& station,
                                       bool negativeIsMissing, std::ostream& daily, HourlyCsvWriter* hourly) {
  constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();
  ClassicToCsvCounts counts;
  daily << "station,date,precip_mm\n";
  for (const ClassicRecord& record : file.Records) {
    double depth = record.Depth;
    std::vector<double> hours = record.Hours;
    if (depth < 0) {
      ++counts.NegativeDays;
      depth = negativeIsMissing ? kMissing : 0.0;
      if (negativeIsMissing) hours.assign(hours.size(), kMissing);
    }
    ++counts.Days;
    daily << CsvField(station) << ',' << FormatDate(record.Day) << ',' << DepthText(depth) << '\n';
    if (hourly != nullptr && file.HasHours) hourly->WriteStation(station, record.Day, hours);
  }
  return counts;
}

CsvToClassicCounts ConvertHoursToClassic(const StationHours& hours, std::ostream& out) {
  CsvToClassicCounts counts;
  for (std::size_t day = 0; day * kHours < hours.Hours.size(); ++day) {
    const std::span<const double> dayHours(hours.Hours.data() + day * kHours, kHours);
    const double exactTotal = std::accumulate(dayHours.begin(), dayHours.end(), 0.0);
    std::array<double, kHours> rounded{};
    double total = 0;
    if (std::isnan(exactTotal)) {
      ++counts.IncompleteDays;
    } else if (exactTotal < kWetDayDepth) {
      continue;
    } else if (!RoundedDay(dayHours, rounded, total)) {
      ++counts.BelowPrecisionDays;
    } else {
      ++counts.WetDays;
      WriteClassicDay(out, hours.FirstDay + static_cast<std::int64_t>(day), total, rounded);
    }
  }
  return counts;
}

}  // namespace nimbra
