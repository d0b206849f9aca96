#pragma once
// The setting of the window tests: an engine started as the desktop program starts
// it (defaults, then a run reset), its log kept in memory, and windows that ask nothing.

#include <QTest>
#include <QWidget>

#include "engine_edits.h"
#include "engine_test_seam.h"
#include "memory_log.h"

namespace nimbra {

class SilentUserInterface : public UserInterface {
 public:
  void ShowMessage(const std::string&) override {}
  void ParametersChanged() override {}
  void DisableNextCommands() override {}
};

struct StartedEngine {
  explicit StartedEngine(int seed = 0) {
    RunOptions options = engine.View().Options;
    options.RandomSeed = seed;
    engine.SetOptions(options);
    engine.RestartRun();
  }

  MemoryLog log;
  SilentUserInterface ui;
  Engine engine{log, ui};
};

// What the graphs tests plant behind the windows' backs: storms and counts no run gives.
inline EngineState& PlantedState(Engine& engine) { return EngineTestSeam::Core(engine).State(); }

// Shows a window and waits until it is the active one, as a user's click makes it.
inline bool ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  return QTest::qWaitForWindowActive(&window);
}

}  // namespace nimbra
