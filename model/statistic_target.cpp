#include "statistic_target.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "errors.h"

namespace nimbra {

namespace {

constexpr std::array<std::string_view, 5> kKindNames = {"mean", "variance", "autocorrelation_lag1",
                                                        "dry_probability", "skewness"};

// Scales that cut days into whole intervals, or group whole days.
bool UsableScale(int hours) { return hours > 0 && (24 % hours == 0 || hours % 24 == 0); }

StatisticTarget ParseTarget(std::string_view item) {
  const auto at = item.find('@');
  const std::string_view kind = item.substr(0, at);
  const auto found = std::find(kKindNames.begin(), kKindNames.end(), kind);
  int hours = 0;
  const std::string_view scale = at == std::string_view::npos ? "" : item.substr(at + 1);
  const auto parsed = std::from_chars(scale.data(), scale.data() + scale.size(), hours);
  if (found == kKindNames.end() || parsed.ec != std::errc() || parsed.ptr != scale.data() + scale.size() ||
      !UsableScale(hours)) {
    throw InvalidArgument("Unknown statistic '" + std::string(item) +
                          "': expected mean, variance, autocorrelation_lag1, dry_probability or skewness, "
                          "then @ and a scale in hours that divides 24 or is a multiple of 24");
  }
  return {static_cast<StatisticKind>(found - kKindNames.begin()), hours};
}

}  // namespace

std::string TargetName(const StatisticTarget& target) {
  return std::string(kKindNames[static_cast<std::size_t>(target.Kind)]) + "@" +
         std::to_string(target.ScaleHours);
}

std::vector<StatisticTarget> ParseTargets(std::string_view text) {
  std::vector<StatisticTarget> targets;
  while (true) {
    const auto comma = text.find(',');
    targets.push_back(ParseTarget(text.substr(0, comma)));
    if (comma == std::string_view::npos) return targets;
    text.remove_prefix(comma + 1);
  }
}

std::vector<StatisticTarget> DefaultTargets() {
  using enum StatisticKind;
  return {{Mean, 24},           {Variance, 1},         {Variance, 6},       {Variance, 24},
          {Autocorrelation, 1}, {Autocorrelation, 24}, {DryProbability, 1}, {DryProbability, 24}};
}

std::vector<StatisticTarget> TargetsAtScales(const std::vector<int>& scaleHours) {
  using enum StatisticKind;
  if (scaleHours.empty()) throw InvalidArgument("No scale given: expected scales in hours such as 1,6,24");
  std::vector<StatisticTarget> targets = {{Mean, *std::max_element(scaleHours.begin(), scaleHours.end())}};
  for (const StatisticKind kind : {Variance, Autocorrelation, DryProbability}) {
    for (const int hours : scaleHours) targets.push_back(ParseTarget(TargetName({kind, hours})));
  }
  return targets;
}

double ModelValue(const ModelStatistics& model, const StatisticTarget& target) {
  const double h = target.ScaleHours / 24.0;
  switch (target.Kind) {
    case StatisticKind::Mean:
      return model.Mean(h);
    case StatisticKind::Variance:
      return model.Variance(h);
    case StatisticKind::Autocorrelation:
      return model.Autocorrelation(h, 1);
    case StatisticKind::DryProbability:
      return model.DryProbability(h);
    case StatisticKind::Skewness:
      return model.Skewness(h);
  }
  return 0;
}

}  // namespace nimbra
