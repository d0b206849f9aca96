#include <cmath>
#include <string>

#include "engine_core.h"
#include "format.h"
#include "parameter_checks.h"
#include "parameter_sets.h"

namespace nimbra {

void EngineCore::SetDefaults() {
  const ParameterSet& set = kParameterSets[kActiveParameterSet];
  RunOptions options;
  options.DaysPerMonth = set.DaysPerMonth;
  SetOptions(options);
  SetParameters({set.Lambda, set.Kappa, set.Phi, set.Alpha, set.Nu, set.MuX, set.MuX});
  state_.SequenceNumber = 0;
}

void EngineCore::SetParameters(const ModelParameters& parameters) {
  state_.Parameters = parameters;
  UpdateIntensityChoice();
}

void EngineCore::SetOptions(const RunOptions& options) {
  EngineState& s = state_;
  s.Options = options;
  s.PrintCellDetails = options.DetailLevel >= 3;
  s.PrintStormNumbers = options.DetailLevel >= 2;
  s.PrintProgress = options.DetailLevel >= 1;
}

void EngineCore::InitialiseRun() {
  EngineState& s = state_;
  RefuseUnworkableLambda(s.Parameters.Lambda);
  random_.SetThreads(s.Options.Threads);
  random_.SetRandomSeed(s.Options.RandomSeed);
  InitialiseRecords(s.WetValuesOriginal, kRecordSeparator);
  InitialiseRecords(s.WetValuesSynthetic, kRecordSeparator);
  s.AllValuesCount = 0;
  s.Shortfall = {};
  log_.ClearText();
  s.SequenceNumber = 0;
  s.EndOfInput = false;
  s.Reader = ReaderState::NotStarted;
  // Day 0 would lie before the run's first day: the first synthetic sequence starts
  // on day 1 at the earliest.
  s.NextStart = {1 + TruncToInt(random_.ExponentialRandom(s.Parameters.Lambda)), 0, 1};
  s.SequenceStart = s.NextStart;
  s.SequenceStart.Day = 1;
}

void EngineCore::UpdateStormRates() {
  EngineState& s = state_;
  s.Eta =
      s.Parameters.FixedEta() ? s.Parameters.Nu : random_.GammaRandom(s.Parameters.Nu, s.Parameters.Alpha);
  s.Beta = s.Parameters.Kappa * s.Eta;
  s.Gamma = s.Parameters.Phi * s.Eta;
}

void EngineCore::UpdateIntensityChoice() { state_.GammaIntensity = state_.Parameters.GammaIntensity(); }

void EngineCore::CheckModelParameters() const { state_.Parameters.Validate(); }

}  // namespace nimbra
