#include <cmath>
#include <string>

#include "engine.h"
#include "format.h"
#include "parameter_checks.h"
#include "parameter_sets.h"

namespace nimbra {

void Engine::SetDefaults() {
  EngineState& s = state_;
  s.PrintCellDetails = s.PrintStormNumbers = s.PrintProgress = false;
  const ParameterSet& p = kParameterSets[kActiveParameterSet];
  s.Lambda = p.Lambda;
  s.Kappa = p.Kappa;
  s.Phi = p.Phi;
  s.Alpha = p.Alpha;
  s.Nu = p.Nu;
  s.MuX = p.MuX;
  s.DaysPerMonth = p.DaysPerMonth;
  s.SigmaX = 1.0 * s.MuX;
  s.ConstLength = 1;
  s.UseConstLength = false;
  s.RepLevel1Factor = 20;
  s.RepLevel1Min = 50;
  s.RepAllowed = 5000;
  s.RepDistanceAllowed = 0.1;
  s.SequenceNumber = 0;
  s.PerformAdjustment = true;
  s.RandomSeed = 0;
}

void Engine::InitialiseRun() {
  EngineState& s = state_;
  RefuseUnworkableLambda(s.Lambda);
  random_.SetRandomSeed(s.RandomSeed);
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
  s.NextStart = {1 + TruncToInt(random_.ExponentialRandom(s.Lambda)), 0, 1};
  s.SequenceStart = s.NextStart;
  s.SequenceStart.Day = 1;
}

void Engine::UpdateStormRates() {
  EngineState& s = state_;
  s.Eta = s.Alpha >= 100 ? s.Nu : random_.GammaRandom(s.Nu, s.Alpha);
  s.Beta = s.Kappa * s.Eta;
  s.Gamma = s.Phi * s.Eta;
}

void Engine::UpdateIntensityChoice() { state_.GammaIntensity = std::fabs(state_.MuX - state_.SigmaX) > 1e-6; }

void Engine::SetDetailLevel(int level) {
  state_.PrintCellDetails = level >= 3;
  state_.PrintStormNumbers = level >= 2;
  state_.PrintProgress = level >= 1;
}

void Engine::CheckModelParameters() const {
  RefuseUnworkableParameters(ParametersOf(state_), state_.GammaIntensity);
}

}  // namespace nimbra
