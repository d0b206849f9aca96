#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine.h"
#include "memory_log.h"

namespace nimbra {

class RecordingUserInterface : public UserInterface {
 public:
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void ReloadParameters() override { ++reloads; }
  void DisableNextCommands() override { ++disables; }

  std::vector<std::string> messages;
  int reloads = 0;
  int disables = 0;
};

// An engine started as the program starts it: defaults loaded, run initialised.
class EngineTest : public testing::Test {
 protected:
  EngineTest() {
    engine.SetDefaults();
    engine.InitialiseRun();
  }

  EngineState& S() { return engine.State(); }

  void SetTarget(const std::vector<double>& days) {
    S().OriginalDaily.Count = static_cast<int>(days.size());
    for (std::size_t k = 0; k < days.size(); ++k) S().OriginalDaily[static_cast<int>(k) + 1] = days[k];
  }

  // One sequence disaggregated as the step driver does it.
  void Disaggregate() {
    if (!engine.RepeatSequence()) engine.SplitAndRepeat();
    engine.FinishSequence();
  }

  MemoryLog log;
  RecordingUserInterface ui;
  Engine engine{log, ui};
};

// A storm set built by hand: each cell given as origin, duration, intensity.
inline StormSet MakeStorms(const std::vector<std::vector<Cell>>& storms) {
  StormSet set;
  set.Count = static_cast<int>(storms.size());
  for (int s = 1; s <= set.Count; ++s) {
    const auto& cells = storms[static_cast<std::size_t>(s - 1)];
    set[s].Count = static_cast<int>(cells.size());
    for (int c = 1; c <= set[s].Count; ++c) set[s][c] = cells[static_cast<std::size_t>(c - 1)];
  }
  return set;
}

}  // namespace nimbra
