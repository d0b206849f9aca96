#pragma once
// The statistics a fit matches: a kind at an aggregation scale in hours, written
// "variance@6" as in the header of nimbra-cli model-stats.

#include <string>
#include <string_view>
#include <vector>

#include "model_statistics.h"

namespace nimbra {

enum class StatisticKind { Mean, Variance, Autocorrelation, DryProbability, Skewness };

struct StatisticTarget {
  StatisticKind Kind = StatisticKind::Mean;
  int ScaleHours = 24;
  bool operator==(const StatisticTarget&) const = default;
};

std::string TargetName(const StatisticTarget& target);  // "autocorrelation_lag1@24"

// "mean@24,variance@1,...". Throws InvalidArgument naming the item and what is expected.
std::vector<StatisticTarget> ParseTargets(std::string_view text);

// Mean at 24 h; variance at 1, 6 and 24 h; lag-1 autocorrelation and dry probability
// at 1 and 24 h.
std::vector<StatisticTarget> DefaultTargets();

// Mean at the largest scale; variance, lag-1 autocorrelation and dry probability at each.
std::vector<StatisticTarget> TargetsAtScales(const std::vector<int>& scaleHours);

double ModelValue(const ModelStatistics& model, const StatisticTarget& target);

}  // namespace nimbra
