#include "parameter_checks.h"

#include <cmath>

#include "errors.h"
#include "format.h"
#include "storm_types.h"

namespace nimbra {

namespace {

// Below it, the first storm's day (one plus an exponential draw) overflows a day number.
constexpr double kMinLambda = 1e-6;
// Storms per day, on average, that fill an attempt's storm set within one day.
constexpr double kMaxLambda = StormSet::kCapacity;
// Below it, eta's gamma draws underflow to 0 within a run's number of draws.
constexpr double kMinAlpha = 0.05;
// Per day: pulses shorter than a tenth of a second vanish on a time axis counted in days.
constexpr double kMaxPulseRate = 1e6;
// The chances for one storm to need more cells than a storm holds: from the first, a
// run of some hundred million storms is likely to meet one, and the step meeting it
// fails; from the second, one storm in a hundred does, and hardly any step succeeds.
constexpr double kRareOverfullStorm = 1e-9;
constexpr double kFrequentOverfullStorm = 0.01;
// SigmaX/MuX: the cell intensities' gamma shape (MuX/SigmaX)^2 stays drawable.
constexpr double kMinIntensitySpread = 1e-6;
constexpr double kMaxIntensitySpread = 100;
// The longest wet sequence a series holds.
constexpr int kLongestSequence = DailySeries::kCapacity;

// Four significant digits: enough to recognise a value and to act on a bound.
std::string Text(double value) {
  if (!std::isfinite(value) || value == 0) return FormatGeneral(value, ".");
  const double unit = std::pow(10.0, std::floor(std::log10(std::fabs(value))) - 3);
  return FormatGeneral(std::round(value / unit) * unit, ".");
}

void RequirePositiveRate(const char* name, double value) {
  if (!(value > 0) || std::isinf(value)) {
    throw UnworkableParameter(name, "The model parameter " + std::string(name) +
                                        " must be a positive finite number; it is " + Text(value));
  }
}

// Cells per storm are geometric: each further cell comes before the storm's end with
// the chance Kappa / (Kappa + Phi), whatever eta is.
double CellRatioWithOverfullChance(double chance) {
  const double further = std::pow(chance, 1.0 / Storm::kCapacity);
  return std::floor(further / (1 - further));
}

std::string CellsPerStorm(const ModelParameters& p) {
  return "The model parameters Kappa and Phi give storms of " + Text(1 + p.Kappa / p.Phi) +
         " cells on average (1 + Kappa/Phi)";
}

void RefuseOverfullStorms(const ModelParameters& p) {
  const double largest = CellRatioWithOverfullChance(kFrequentOverfullStorm);
  if (p.Kappa / p.Phi <= largest) return;
  throw UnworkableParameter(
      "Kappa", CellsPerStorm(p) + ", and one storm in a hundred would need more than the " +
                   std::to_string(Storm::kCapacity) + " cells a storm holds: Kappa/Phi must stay below " +
                   Text(largest) + "; it is " + Text(p.Kappa / p.Phi));
}

double MeanEta(const ModelParameters& p) { return p.FixedEta() ? p.Nu : p.Alpha / p.Nu; }

struct PulseBound {
  const char* parameter;
  const char* pulse;
  double rate;       // per day, on average
  const char* side;  // "at least" or "at most"
  double bound;      // of the parameter
};

void RefuseTooFastPulse(const PulseBound& b) {
  if (b.rate <= kMaxPulseRate) return;
  throw UnworkableParameter(
      b.parameter,
      "The model parameter " + std::string(b.parameter) + " makes " + b.pulse + " end at " + Text(b.rate) +
          " per day on average, faster than the tenth of a second a run can place: " + b.parameter +
          " must be " + b.side + " " + Text(b.bound));
}

void RefuseTooFastPulses(const ModelParameters& p) {
  const double eta = MeanEta(p);
  RefuseTooFastPulse(p.FixedEta() ? PulseBound{"Nu", "cells", eta, "at most", kMaxPulseRate}
                                  : PulseBound{"Nu", "cells", eta, "at least", p.Alpha / kMaxPulseRate});
  RefuseTooFastPulse({"Kappa", "the gaps between cells", p.Kappa * eta, "at most", kMaxPulseRate / eta});
  RefuseTooFastPulse({"Phi", "storms", p.Phi * eta, "at most", kMaxPulseRate / eta});
}

void RefuseUndrawableIntensities(const ModelParameters& p) {
  const double spread = p.SigmaX / p.MuX;
  if (spread >= kMinIntensitySpread && spread <= kMaxIntensitySpread) return;
  throw UnworkableParameter(
      "SigmaX", "The model parameter SigmaX must lie between " + Text(kMinIntensitySpread) + " and " +
                    Text(kMaxIntensitySpread) + " times MuX (" + Text(kMinIntensitySpread * p.MuX) + " to " +
                    Text(kMaxIntensitySpread * p.MuX) +
                    " mm/day here) for the gamma distribution of cell intensities to be drawn; it is " +
                    Text(p.SigmaX));
}

}  // namespace

void RefuseUnworkableLambda(double lambda) {
  RequirePositiveRate("Lambda", lambda);
  if (lambda >= kMinLambda && lambda <= kMaxLambda) return;
  throw UnworkableParameter("Lambda",
                            "The model parameter Lambda must lie between " + Text(kMinLambda) + " and " +
                                Text(kMaxLambda) +
                                " storms per day: below, the first storm's day is beyond any day number; "
                                "above, one day needs more storms than an attempt holds; it is " +
                                Text(lambda));
}

void RefuseUnworkableParameters(const ModelParameters& p, bool gammaIntensity) {
  RefuseUnworkableLambda(p.Lambda);
  RequirePositiveRate("Kappa", p.Kappa);
  RequirePositiveRate("Phi", p.Phi);
  RequirePositiveRate("Alpha", p.Alpha);
  RequirePositiveRate("Nu", p.Nu);
  RequirePositiveRate("MuX", p.MuX);
  if (gammaIntensity) RequirePositiveRate("SigmaX", p.SigmaX);
  if (p.Alpha < kMinAlpha) {
    throw UnworkableParameter(
        "Alpha", "The model parameter Alpha must be at least " + Text(kMinAlpha) +
                     ": below, the draws of eta from its gamma distribution underflow to 0; it is " +
                     Text(p.Alpha));
  }
  RefuseOverfullStorms(p);
  RefuseTooFastPulses(p);
  if (gammaIntensity) RefuseUndrawableIntensities(p);
}

std::string OverfullStormMessage(const ModelParameters& p) {
  return CellsPerStorm(p) + ", and this storm needed more than the " + std::to_string(Storm::kCapacity) +
         " cells a storm holds: the step ends. With Kappa/Phi below " +
         Text(CellRatioWithOverfullChance(kRareOverfullStorm)) + " no storm of a run comes near it.";
}

std::string OverfullSplitMessage(int storms) {
  return "The two parts of the split sequence need " + std::to_string(storms) +
         " storms together, more than the " + std::to_string(StormSet::kCapacity) +
         " a sequence holds: Lambda puts too many storms in these days, and the step ends.";
}

std::vector<std::string> ParameterWarnings(const ModelParameters& p) {
  std::vector<std::string> warnings;
  if (p.Kappa / p.Phi > CellRatioWithOverfullChance(kRareOverfullStorm)) {
    warnings.push_back(CellsPerStorm(p) + ": a run is likely to meet a storm that needs more than the " +
                       std::to_string(Storm::kCapacity) +
                       " cells a storm holds, and the step meeting it fails.");
  }
  const double stormsInLongest = p.Lambda * kLongestSequence;
  if (stormsInLongest > StormSet::kCapacity) {
    warnings.push_back(
        "Lambda " + Text(p.Lambda) + " puts " + Text(stormsInLongest) + " storms in a " +
        std::to_string(kLongestSequence) + "-day sequence on average, more than the " +
        std::to_string(StormSet::kCapacity) +
        " an attempt holds: long sequences are rarely found, and each is searched up to ten times "
        "the repetitions allowed before it is given up.");
  }
  const double eta = MeanEta(p);
  const double stormSpan = 1 / (p.Phi * eta) + 1 / eta;
  if (stormSpan > 1) {
    warnings.push_back(
        "Phi and eta (from Alpha and Nu) make a storm rain for " + Text(stormSpan) +
        " days on average (1/(Phi eta) + 1/eta): a dry day after a wet sequence is rarely drawn, "
        "so most sequences are searched up to ten times the repetitions allowed.");
  }
  return warnings;
}

}  // namespace nimbra
