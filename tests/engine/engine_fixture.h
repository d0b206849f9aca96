#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine_core.h"
#include "make_storms.h"
#include "memory_log.h"

namespace nimbra {

class RecordingUserInterface : public UserInterface {
 public:
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void ParametersChanged() override { ++reloads; }
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

  void SetDetailLevel(int level) {
    RunOptions options = S().Options;
    options.DetailLevel = level;
    engine.SetOptions(options);
  }

  void SetTarget(const std::vector<double>& days) {
    S().OriginalDaily.Count = static_cast<int>(days.size());
    for (std::size_t k = 0; k < days.size(); ++k) S().OriginalDaily[static_cast<int>(k) + 1] = days[k];
  }

  // The target set last disaggregated as every run does it.
  void Disaggregate() { engine.DisaggregateSequence(S().OriginalDaily); }

  MemoryLog log;
  RecordingUserInterface ui;
  EngineCore engine{log, ui};
};

}  // namespace nimbra
