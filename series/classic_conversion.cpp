#include "classic_conversion.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <numeric>

#include "csv_row.h"
#include "date_time_text.h"

namespace nimbra {

namespace {

constexpr int kHours = 24;
constexpr double kWetDepth = 1e-5;

std::string DepthText(double depth) {
  if (std::isnan(depth)) return "NA";
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", depth);
  return text;
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
    const double total = std::accumulate(dayHours.begin(), dayHours.end(), 0.0);
    if (std::isnan(total)) {
      ++counts.IncompleteDays;
    } else if (total >= kWetDepth) {
      ++counts.WetDays;
      WriteClassicDay(out, hours.FirstDay + static_cast<std::int64_t>(day), dayHours);
    }
  }
  return counts;
}

}  // namespace nimbra
