#include "hourly_csv_input.h"

#include "errors.h"
#include "hourly_csv_reader.h"

namespace nimbra {

HourlyRecord ReadHourlyRecord(const std::string& path) {
  std::vector<StationHours> stations = ReadHourlyCsv(path, HourlyCsvOptions{});
  if (stations.size() != 1) {
    std::string names;
    for (const StationHours& station : stations) names += (names.empty() ? "" : ", ") + station.Station;
    throw InputError(path + ": a fit takes one station; the file holds " + std::to_string(stations.size()) +
                     (names.empty() ? std::string() : ": " + names));
  }
  return {stations.front().FirstDay, std::move(stations.front().Hours)};
}

}  // namespace nimbra
