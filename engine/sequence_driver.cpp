#include <algorithm>
#include <exception>

#include "calendar.h"
#include "engine_core.h"

namespace nimbra {

bool EngineCore::NextSequence() {
  CheckModelParameters();
  EngineState& s = state_;
  ++s.SequenceNumber;
  log_.AddLineFmt("Sequence #%d", s.SequenceNumber);
  if (s.ReadFromFile) {
    if (s.EndOfInput) return true;
    if (s.Dated != nullptr) {
      ReadNextDatedSequence();
    } else {
      ReadNextWetSequence(s.OriginalHourly, s.OriginalDaily);
    }
    if (s.EndOfInput) {
      log_.AddLine("End of input file");
      return true;
    }
  } else {
    SynthesiseOriginal();
  }
  DisaggregateSequence(s.OriginalDaily);
  CollectWetValues();
  if (!CollectAllValues()) return false;
  if (s.WriteToFile) WriteHourlyOutput();
  return true;
}

const HourlySeries& EngineCore::DisaggregateSequence(const DailySeries& target) {
  NewTarget(target);
  if (!RepeatSequence()) {
    log_.AddLine("Entering repetition level 4 ...");
    SplitWithOneRetry();
  }
  FinishSequence();
  return state_.SyntheticHourly;
}

// A failed split is tried once more on the whole target, which the failed call may
// have left cut down to one of its parts.
void EngineCore::SplitWithOneRetry() {
  const DailySeries whole = state_.OriginalDaily;
  try {
    SplitAndRepeat();
  } catch (const std::exception&) {
    state_.OriginalDaily = whole;
    SplitAndRepeat();
  }
}

void EngineCore::SynthesiseOriginal() {
  EngineState& s = state_;
  int N = 0;
  int offset = 0;
  if (s.Options.UseConstLength) {
    N = s.Options.ConstLength;
    SeekWetDrySequence(N, false);
    offset = N + 1;
  } else {
    const double lastOrigin = SynthesiseOpenRun(N);
    // A closing storm inside the run would place the next sequence on a day already
    // taken: a dry day always separates two sequences.
    offset = std::max(TruncToInt(lastOrigin), N + 1);
  }
  s.NextStart.Day = s.SequenceStart.Day + offset;
  RollOverPeriods(s.NextStart.Day, s.NextStart.Period, s.Options.DaysPerMonth);
  s.OriginalStorms = s.Storms;
  ComputeHourlyDepths(s.OriginalStorms, s.OriginalHourly, kHoursPerDay * N);
  SumHourlyToDaily(s.OriginalHourly, s.OriginalDaily);
  log_.AddLineFmt("* Wet day sequence length: %d", s.OriginalDaily.Count);
}

// Generates storms until one wet run starting on day 0 is closed, and returns the
// origin of the closing storm, which is not part of the run.
double EngineCore::SynthesiseOpenRun(int& N) {
  EngineState& s = state_;
  s.PreviousStart = s.SequenceStart;
  s.PreviousDays = s.SequenceNumber == 1 ? 0 : s.OriginalDaily.Count;
  s.SequenceStart = s.NextStart;
  if (s.PrintProgress) log_.AddLine("* Synthesising the \"original\" sequence ...");
  double t = FirstStormOrigin();
  double lastOrigin = t;
  s.Storms.Count = 0;
  do {
    ++s.Storms.Count;
    if (s.PrintStormNumbers) log_.AddLineFmt("* Storm No. %d", s.Storms.Count);
    GenerateStorm(s.Storms[s.Storms.Count], s.GammaIntensity, t);
    lastOrigin = t;
    t = NextStormOrigin(t);
  } while (!CheckWetDrySequence(N, WetDryMode::OpenRun));
  --s.Storms.Count;
  return lastOrigin;
}

}  // namespace nimbra
