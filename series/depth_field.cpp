#include "depth_field.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "errors.h"
#include "input_records.h"

namespace nimbra {

namespace {

bool IsMissingWord(std::string_view field) {
  return field.empty() || field == "NA" || field == "NaN" || field == "nan" || field == "NAN";
}

std::optional<double> ParseNumber(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

double ReadDepth(const CsvReader& reader, int column, std::string_view field,
                 const std::vector<double>& missingSentinels) {
  constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();
  if (IsMissingWord(field)) return kMissing;
  const auto value = ParseNumber(field);
  if (value &&
      std::find(missingSentinels.begin(), missingSentinels.end(), *value) != missingSentinels.end()) {
    return kMissing;
  }
  if (value && *value >= 0 && *value <= kLargestDepth) return *value;
  reader.FailField(column, "a depth in mm (0 to 10000) or a missing value", field);
}

std::vector<double> ParseMissingSentinels(std::string_view list) {
  std::vector<double> sentinels;
  while (!list.empty()) {
    const std::size_t comma = std::min(list.find(','), list.size());
    const auto value = ParseNumber(list.substr(0, comma));
    if (!value)
      throw InvalidArgument("--missing: expected numbers separated by commas, found '" +
                            std::string(list.substr(0, comma)) + "'");
    sentinels.push_back(*value);
    list.remove_prefix(std::min(comma + 1, list.size()));
  }
  return sentinels;
}

}  // namespace nimbra
