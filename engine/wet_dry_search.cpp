#include <algorithm>
#include <array>
#include <string>

#include "engine_core.h"

namespace nimbra {

namespace {

constexpr const char* kFoundLinePrefix = "@ Found W/D sequence at attempt No.";
constexpr int kMaxPatternDays = 31;  // days 0..30

}  // namespace

void EngineCore::SeekWetDrySequence(int& N, bool split) {
  CheckModelParameters();
  EngineState& s = state_;
  const WetDryMode mode = split ? WetDryMode::SplitPoint : WetDryMode::ExactRun;
  if (s.PrintProgress) log_.AddLine("@ Seeking for an appropriate sequence of wet/dry days ...");
  s.Attempts = 1;
  bool found = false;
  do {
    ThrowIfStopped(s.Options);
    if (s.PrintProgress) log_.AddLineFmt("@ Attempt No. %d", s.Attempts);
    const bool complete = GenerateAttempt(N);
    ++s.Attempts;
    found = complete && CheckWetDrySequence(N, mode);
  } while (!found && 10LL * s.Options.RepAllowed >= s.Attempts);
  if (!found) {
    ui_.ShowMessage(kImpossibleStorm);
    return;
  }
  ComputeDailyDepths(s.Storms, s.SyntheticDaily, N);
  LogFoundSequence(N);
}

// Generates every storm whose origin lies at or before day N. An attempt that would
// need more storms than a set holds cannot fit and ends before the extra storm.
bool EngineCore::GenerateAttempt(int N) {
  StormSet& storms = state_.Storms;
  int k = 1;
  double t = FirstStormOrigin();
  do {
    if (k > StormSet::kCapacity) {
      storms.Count = k - 1;
      return false;
    }
    if (state_.PrintStormNumbers) log_.AddLineFmt("@ Storm No. %d", k);
    GenerateStorm(storms[k], state_.GammaIntensity, t);
    ++k;
    t = NextStormOrigin(t);
  } while (N >= t);
  storms.Count = k - 1;
  return true;
}

// A found line that ends the log is replaced, so that searches in a row leave one line.
void EngineCore::LogFoundSequence(int N) {
  const std::string line =
      log_.Formatted("@ Found W/D sequence at attempt No. %d; wet days: %d", state_.Attempts - 1, N);
  if (log_.LastLine().find(kFoundLinePrefix) != std::string::npos) {
    log_.ReplaceLastLine(line);
  } else {
    log_.AddLine(line);
  }
}

bool EngineCore::CheckWetDrySequence(int& N, WetDryMode mode) {
  if (mode == WetDryMode::OpenRun) N = 30;
  if (N < 0 || N >= kMaxPatternDays) ThrowRangeError(N, 0, kMaxPatternDays - 1);
  std::array<bool, kMaxPatternDays> wet{};
  std::string pattern(static_cast<std::size_t>(N) + 1, 'D');
  const StormSet& storms = state_.Storms;
  for (int s = 1; s <= storms.Count; ++s) {
    const Storm& storm = storms[s];
    for (int c = 1; c <= storm.Count; ++c) {
      const double first = storm[c].origin;
      const double last = storm[c].origin + storm[c].duration;
      const int from = std::max(0, static_cast<int>(std::min<double>(first, N + 1)));
      const int to = static_cast<int>(std::min<double>(last, N));
      for (int d = from; d <= to; ++d) {
        wet[static_cast<std::size_t>(d)] = true;
        pattern[static_cast<std::size_t>(d)] = 'W';
      }
    }
  }
  bool result = false;
  switch (mode) {
    case WetDryMode::ExactRun: {
      result = !wet[static_cast<std::size_t>(N)];
      for (int d = 0; d < N; ++d) result = result && wet[static_cast<std::size_t>(d)];
      break;
    }
    case WetDryMode::OpenRun: {
      int i = 1;
      while (i < 29 && wet[static_cast<std::size_t>(i)]) ++i;
      N = i;
      ++i;
      while (i < 30 && !wet[static_cast<std::size_t>(i)]) ++i;
      result = wet[static_cast<std::size_t>(i)] || storms[storms.Count][1].origin > 30.0;
      break;
    }
    case WetDryMode::SplitPoint: {
      int i = 1;
      while (i < N && wet[static_cast<std::size_t>(i)]) ++i;
      result = N >= i;
      N = i;
      break;
    }
  }
  if (state_.PrintProgress) log_.AddLineFmt("$ Wet/dry day sequence: %s", pattern);
  return result;
}

}  // namespace nimbra
