#pragma once
// Values of many stations gathered row by row, each keyed by its serial day or hour and
// remembering its line, then sorted per station with repeated keys refused.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace nimbra {

struct KeyedValue {
  std::int64_t Key = 0;
  double Value = 0;
  int Line = 0;
};

struct StationValues {
  std::string Station;
  std::vector<KeyedValue> Values;  // sorted by key once taken
};

// Raises InputError "<file>, lines <a> and <b>: station '<s>' has <what> <key> twice".
[[noreturn]] void ThrowRepeatedKey(const std::string& path, int firstLine, int secondLine,
                                   const std::string& station, std::string_view what, const std::string& key);

// Days in the longest span a station's series may have: 1000 years. Memory grows with
// the span, so that two rows dated 0001 and 9999 would otherwise take gigabytes.
inline constexpr std::int64_t kLongestSpanDays = 365243;

// Raises InputError "<file>, lines <a> and <b>: station '<s>' spans <first> to <last>,
// more than the 1000 years a series may span" when the two ends lie more than longestSpan apart.
void RefuseLongSpan(const std::string& path, const std::string& station, const KeyedValue& first,
                    const KeyedValue& last, std::int64_t longestSpan,
                    const std::function<std::string(std::int64_t)>& formatKey);
// The same for values sorted by key.
void RefuseLongSpan(const std::string& path, const StationValues& station, std::int64_t longestSpan,
                    const std::function<std::string(std::int64_t)>& formatKey);

class StationCollector {
 public:
  std::vector<KeyedValue>& For(std::string_view station);

  // The stations by name, each with its values sorted by key. A key given twice for one
  // station raises ThrowRepeatedKey's error, the key written by formatKey.
  std::vector<StationValues> TakeSorted(const std::string& path, std::string_view what,
                                        const std::function<std::string(std::int64_t)>& formatKey);

 private:
  std::vector<StationValues> stations_;
  std::unordered_map<std::string, std::size_t> index_;
  std::size_t last_ = 0;
};

}  // namespace nimbra
