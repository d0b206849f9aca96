#include "station_values.h"

#include <algorithm>

#include "errors.h"

namespace nimbra {

void ThrowRepeatedKey(const std::string& path, int firstLine, int secondLine, const std::string& station,
                      std::string_view what, const std::string& key) {
  throw InputError(path + ", lines " + std::to_string(firstLine) + " and " + std::to_string(secondLine) +
                   ": station '" + station + "' has " + std::string(what) + " " + key + " twice");
}

void RefuseLongSpan(const std::string& path, const std::string& station, const KeyedValue& first,
                    const KeyedValue& last, std::int64_t longestSpan,
                    const std::function<std::string(std::int64_t)>& formatKey) {
  if (last.Key - first.Key <= longestSpan) return;
  throw InputError(path + ", lines " + std::to_string(first.Line) + " and " + std::to_string(last.Line) +
                   ": station '" + station + "' spans " + formatKey(first.Key) + " to " +
                   formatKey(last.Key) + ", more than the 1000 years a series may span");
}

void RefuseLongSpan(const std::string& path, const StationValues& station, std::int64_t longestSpan,
                    const std::function<std::string(std::int64_t)>& formatKey) {
  if (station.Values.empty()) return;
  RefuseLongSpan(path, station.Station, station.Values.front(), station.Values.back(), longestSpan,
                 formatKey);
}

std::vector<KeyedValue>& StationCollector::For(std::string_view station) {
  // Files mostly hold one station's rows together: the last station is tried first.
  if (last_ < stations_.size() && stations_[last_].Station == station) return stations_[last_].Values;
  const auto [at, added] = index_.try_emplace(std::string(station), stations_.size());
  if (added) stations_.push_back({std::string(station), {}});
  last_ = at->second;
  return stations_[last_].Values;
}

std::vector<StationValues> StationCollector::TakeSorted(
    const std::string& path, std::string_view what,
    const std::function<std::string(std::int64_t)>& formatKey) {
  std::vector<StationValues> stations = std::move(stations_);
  stations_.clear();
  index_.clear();
  std::sort(stations.begin(), stations.end(),
            [](const StationValues& a, const StationValues& b) { return a.Station < b.Station; });
  for (StationValues& station : stations) {
    auto& values = station.Values;
    const auto byKey = [](const KeyedValue& a, const KeyedValue& b) { return a.Key < b.Key; };
    if (!std::is_sorted(values.begin(), values.end(), byKey))
      std::stable_sort(values.begin(), values.end(), byKey);
    const auto repeat =
        std::adjacent_find(values.begin(), values.end(),
                           [](const KeyedValue& a, const KeyedValue& b) { return a.Key == b.Key; });
    if (repeat != values.end()) {
      ThrowRepeatedKey(path, repeat->Line, repeat[1].Line, station.Station, what, formatKey(repeat->Key));
    }
  }
  return stations;
}

}  // namespace nimbra
