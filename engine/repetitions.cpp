#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "engine_core.h"
#include "parameter_checks.h"

namespace nimbra {

// The logarithm is monotone, so the worst day is the one with the largest or the
// smallest ratio: only days whose ratio lies within a hair of either extreme are
// logged. The library's log is faithful rather than correctly rounded, and the hair
// keeps near-ties among the candidates, so the result is the day-by-day maximum to the
// last bit. A NaN ratio counts for nothing, as in a running maximum.
double EngineCore::LogDistance(int from, int to) const {
  constexpr double kHair = 1e-9;
  const EngineState& s = state_;
  const auto ratio = [&s](int k) { return (s.OriginalDaily[k] + 0.1) / (s.SyntheticDaily[k] + 0.1); };
  double largest = -std::numeric_limits<double>::infinity();
  double smallest = std::numeric_limits<double>::infinity();
  for (int k = from; k <= to; ++k) {
    const double r = ratio(k);
    largest = std::max(largest, r);
    smallest = std::min(smallest, r);
  }
  double distance = 0;
  for (int k = from; k <= to; ++k) {
    const double r = ratio(k);
    if (r >= largest * (1 - kHair) || r <= smallest * (1 + kHair))
      distance = std::max(distance, std::fabs(std::log(r)));
  }
  return distance;
}

// c: level 1 repetitions per storm set, growing with the effort the search needed.
int EngineCore::LevelOneRepetitionsAllowed() const {
  const long long c = static_cast<long long>(state_.Options.RepLevel1Factor) * state_.Attempts;
  if (c > std::numeric_limits<int>::max() || c < std::numeric_limits<int>::min()) {
    throw RangeError("Integer overflow: level 1 repetitions allowed");
  }
  const int allowed = std::max(static_cast<int>(c), state_.Options.RepLevel1Min);
  if (allowed == 0) throw RangeError("Division by zero: no level 1 repetitions allowed");
  return allowed;
}

bool EngineCore::RepeatSequence() {
  EngineState& s = state_;
  int n = s.OriginalDaily.Count;
  SeekWetDrySequence(n, false);
  const int c = LevelOneRepetitionsAllowed();
  double best = 1e100;
  double d = 0;
  int i = 0;
  do {
    ThrowIfStopped(s.Options);
    ++i;
    if (i % c == 0) {
      n = s.OriginalDaily.Count;
      SeekWetDrySequence(n, false);
    } else if (i > 1) {
      RegenerateIntensities(s.GammaIntensity);
    }
    d = LogDistance(1, s.OriginalDaily.Count);
    best = std::min(best, d);
    if (d < s.NearestDistance && d >= s.Options.RepDistanceAllowed) {
      s.NearestDistance = d;
      s.NearestStorms = s.Storms;
    }
  } while (i < s.Options.RepAllowed && d >= s.Options.RepDistanceAllowed);
  log_.AddLineFmt("& Repetitions performed %d - Distance %f", i, best);
  if (d < s.Options.RepDistanceAllowed) return true;
  KeepNearestStorms();
  return false;
}

// A failed loop leaves the set nearest its target, not the last one drawn: where the
// set is kept for good, at the depth limit, its days are scaled the least. Only the
// choice of the set left changes: every draw is made as before.
void EngineCore::KeepNearestStorms() {
  EngineState& s = state_;
  s.Storms = s.NearestStorms;
  ComputeDailyDepths(s.Storms, s.SyntheticDaily, s.OriginalDaily.Count);
}

// The nearest set belongs to one target: a one-day target split again keeps its own.
void EngineCore::NewTarget(const DailySeries& target) {
  state_.OriginalDaily = target;
  state_.NearestDistance = std::numeric_limits<double>::infinity();
}

void EngineCore::SplitAndRepeat() { SplitAndRepeatAt(1); }

// Disaggregates OriginalDaily by repetitions, splitting again when they fail. Past
// the depth limit the storm set the repetitions left, the nearest, is kept.
void EngineCore::RepeatOrSplit(int depth) {
  if (RepeatSequence()) return;
  if (depth < kSplitDepthLimit) {
    SplitAndRepeatAt(depth + 1);
  } else {
    state_.KeptDistance = std::max(state_.KeptDistance, state_.NearestDistance);
    ui_.ShowMessage(kNearestStormsKept);
  }
}

void EngineCore::SplitAndRepeatAt(int depth) {
  EngineState& s = state_;
  struct Buffers {
    StormSet firstStorms, secondStorms;
    DailySeries saved, first, second;
  };
  const auto b = std::make_unique<Buffers>();
  b->saved = s.OriginalDaily;
  int n = std::max(s.OriginalDaily.Count - 1, 1);
  SeekWetDrySequence(n, true);
  const int rest = b->saved.Count - n;
  SplitDaily(b->saved, n, b->first, b->second);
  if (rest >= 1) NewTarget(b->first);
  RepeatOrSplit(depth);
  b->firstStorms = s.Storms;
  if (rest >= 1) {
    NewTarget(b->second);
    RepeatOrSplit(depth);
    b->secondStorms = s.Storms;
    JoinDaily(b->first, b->second, s.OriginalDaily);
    MergeStormSets(b->firstStorms, b->secondStorms, n, s.Storms);
  } else {
    s.OriginalDaily = b->first;
    s.Storms = b->firstStorms;
  }
}

void EngineCore::SplitDaily(const DailySeries& saved, int n, DailySeries& first, DailySeries& second) {
  first.Count = n;
  for (int k = 1; k <= n; ++k) first[k] = saved[k];
  second.Count = saved.Count - n;
  for (int k = 1; k <= second.Count; ++k) second[k] = saved[n + k];
}

void EngineCore::JoinDaily(const DailySeries& first, const DailySeries& second, DailySeries& out) {
  out.Count = first.Count + second.Count;
  for (int k = 1; k <= first.Count; ++k) out[k] = first[k];
  for (int k = 1; k <= second.Count; ++k) out[first.Count + k] = second[k];
}

void EngineCore::MergeStormSets(const StormSet& first, const StormSet& second, int shift, StormSet& out) {
  const int total = first.Count + second.Count;
  if (total > StormSet::kCapacity) throw RangeError(OverfullSplitMessage(total));
  out = first;
  out.Count = total;
  for (int j = 1; j <= second.Count; ++j) {
    Storm& storm = out[first.Count + j];
    storm = second[j];
    for (int c = 1; c <= storm.Count; ++c) storm[c].origin += shift;
  }
}

void EngineCore::FinishSequence() {
  EngineState& s = state_;
  const int days = s.OriginalDaily.Count;
  ComputeHourlyDepths(s.Storms, s.SyntheticHourly, kHoursPerDay * days);
  SumHourlyToDaily(s.SyntheticHourly, s.SyntheticDaily);
  if (!s.Options.PerformAdjustment) return;
  for (int k = 1; k <= days; ++k) {
    const double r = Divide(s.OriginalDaily[k], s.SyntheticDaily[k]);
    for (int h = (k - 1) * kHoursPerDay + 1; h <= k * kHoursPerDay; ++h) s.SyntheticHourly[h] *= r;
  }
}

}  // namespace nimbra
