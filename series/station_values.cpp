#include "station_values.h"

#include <algorithm>

#include "errors.h"

namespace nimbra {

void RefuseLongSpan(const std::string& path, const StationValues& station, std::int64_t longestSpan,
                    const std::function<std::string(std::int64_t)>& formatKey) {
  if (station.Values.empty()) return;
  const KeyedValue& first = station.Values.front();
  const KeyedValue& last = station.Values.back();
  if (last.Key - first.Key <= longestSpan) return;
  throw InputError(path + ", lines " + std::to_string(first.Line) + " and " + std::to_string(last.Line) +
                   ": station '" + station.Station + "' spans " + formatKey(first.Key) + " to " +
                   formatKey(last.Key) + ", more than the 1000 years a series may span");
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
      throw InputError(path + ", lines " + std::to_string(repeat->Line) + " and " +
                       std::to_string(repeat[1].Line) + ": station '" + station.Station + "' has " +
                       std::string(what) + " " + formatKey(repeat->Key) + " twice");
    }
  }
  return stations;
}

}  // namespace nimbra
