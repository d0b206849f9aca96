#include <cmath>

#include "engine_core.h"
#include "parameter_checks.h"

namespace nimbra {

namespace {

// Integrates the pulses of a storm set exactly over bins of 1/F day: bin k + 1
// covers [k/F, (k+1)/F). Depth past the last bin lies outside every target and is
// dropped; bins above n within the capacity accumulate without being cleared.
template <class Series>
void ComputeDepths(const StormSet& set, Series& out, int n, double F) {
  out.Count = n;
  for (int k = 1; k <= n; ++k) out[k] = 0;
  constexpr int lastBinStart = Series::kCapacity - 1;
  for (int s = 1; s <= set.Count; ++s) {
    const Storm& storm = set[s];
    for (int c = 1; c <= storm.Count; ++c) {
      const Cell& cell = storm[c];
      const double t0 = cell.origin * F;
      const double t1 = (cell.origin + cell.duration) * F;
      if (!(t0 >= 0 && t0 <= t1)) throw FloatingPointError(kInvalidOperation);
      if (t0 >= lastBinStart + 1) continue;
      const int first = static_cast<int>(t0);
      const bool endsInside = t1 < lastBinStart + 1;
      const int last = endsInside ? static_cast<int>(t1) : lastBinStart;
      for (int k = first; k <= last; ++k) {
        double w = 1;
        if (k == first) w = w - t0 + first;
        if (k == last && endsInside) w = w + t1 - last - 1;
        out[k + 1] += w * cell.intensity / F;
      }
    }
  }
}

}  // namespace

double EngineCore::FirstStormOrigin() {
  const long double u = random_.RandomUniform();
  const long double lambda = state_.Parameters.Lambda;
  return static_cast<double>(-CheckedLog(1 - u * (1 - expl(-lambda))) / lambda);
}

double EngineCore::NextStormOrigin(double t) {
  return t + random_.ExponentialRandom(state_.Parameters.Lambda);
}

void EngineCore::GenerateStorm(Storm& storm, bool gammaIntensity, double t) {
  const bool details = state_.PrintCellDetails;
  if (details) log_.AddLine("# Generating one storm ... ");
  UpdateStormRates();
  ++drawn_.Generated;
  const double end = t + random_.ExponentialRandom(state_.Gamma);
  if (details) log_.AddLineFmt("# Storm origin %f, Storm end %f", t, end);
  double x = t;
  int i = 0;
  do {
    if (i == Storm::kCapacity) throw RangeError(OverfullStormMessage(state_.Parameters));
    Cell& cell = storm[++i];
    cell.origin = x;
    cell.duration = random_.ExponentialRandom(state_.Eta);
    cell.intensity = DrawIntensity(gammaIntensity);
    if (details) {
      log_.AddLineFmt("# Cell Number %d, Cell origin %f, Cell duration %f, Cell intensity %f", i, cell.origin,
                      cell.duration, cell.intensity);
    }
    x += random_.ExponentialRandom(state_.Beta);
  } while (x <= end);
  storm.Count = i;
}

double EngineCore::DrawIntensity(bool gammaIntensity) {
  const EngineState& s = state_;
  if (gammaIntensity) {
    const double ratio = s.Parameters.MuX / s.Parameters.SigmaX;
    return random_.GammaRandom(s.Parameters.MuX / (s.Parameters.SigmaX * s.Parameters.SigmaX), ratio * ratio);
  }
  return random_.ExponentialRandom(1 / s.Parameters.MuX);
}

void EngineCore::RegenerateIntensities(bool gammaIntensity) {
  StormSet& set = state_.Storms;
  drawn_.Redrawn += set.Count;
  for (int s = 1; s <= set.Count; ++s) {
    Storm& storm = set[s];
    for (int c = 1; c <= storm.Count; ++c) storm[c].intensity = DrawIntensity(gammaIntensity);
  }
  ComputeDailyDepths(set, state_.SyntheticDaily, state_.SyntheticDaily.Count);
}

void EngineCore::ComputeDailyDepths(const StormSet& set, DailySeries& out, int n) {
  ComputeDepths(set, out, n, 1.0);
}

void EngineCore::ComputeHourlyDepths(const StormSet& set, HourlySeries& out, int n) {
  ComputeDepths(set, out, n, static_cast<double>(kHoursPerDay));
}

void EngineCore::SumHourlyToDaily(const HourlySeries& hourly, DailySeries& daily) {
  daily.Count = hourly.Count / kHoursPerDay;
  for (int d = 1; d <= daily.Count; ++d) {
    double sum = 0;
    for (int h = (d - 1) * kHoursPerDay + 1; h <= d * kHoursPerDay; ++h) sum += hourly[h];
    daily[d] = sum;
  }
}

}  // namespace nimbra
