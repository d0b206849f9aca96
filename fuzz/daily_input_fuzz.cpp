// Feeds arbitrary bytes to the daily input reader and runs them as a file-mode run of a
// few steps with small repetition limits, as nimbra-cli would. Any crash, sanitizer
// report, or non-finite value in the hourly output is a finding.

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "engine.h"
#include "parameter_checks.h"

namespace nimbra {
namespace {

constexpr int kSteps = 4;

class QuietLog : public OutputLog {
 public:
  void AddLine(const std::string& text) override { last_ = text; }
  void ClearText() override { last_.clear(); }
  std::string LastLine() const override { return last_; }
  void ReplaceLastLine(const std::string& text) override { last_ = text; }

 private:
  std::string last_;
};

// Takes over the parameters of a parameters line as the command line does.
class QuietUserInterface : public UserInterface {
 public:
  explicit QuietUserInterface(Engine*& engine) : engine_(engine) {}
  void ShowMessage(const std::string&) override {}
  void ReloadParameters() override {
    engine_->UpdateIntensityChoice();
    engine_->InitialiseRun();
  }
  void DisableNextCommands() override {}

 private:
  Engine*& engine_;
};

// Small limits keep each input to a fraction of a second.
void SetQuickRepetitions(EngineState& s) {
  s.RepAllowed = 20;
  s.RepLevel1Min = 5;
  s.RepLevel1Factor = 2;
  s.RepDistanceAllowed = 0.5;
}

// False when the file or its parameters stop the run before it starts, or when the
// parameters are foreseen to make it slow: those are refused or warned of by design.
bool StartFileRun(Engine& engine, std::istream& in, std::ostream& out) {
  EngineState& s = engine.State();
  engine.SetDefaults();
  s.ReadFromFile = true;
  s.InputFile = &in;
  s.OutputFile = &out;
  s.WriteToFile = true;
  try {
    engine.InitialiseRun();
    engine.ReadInputHeader();
    SetQuickRepetitions(s);
    engine.InitialiseRun();
    engine.CheckModelParameters();
  } catch (const NimbraError&) {
    return false;
  }
  return ParameterWarnings(ParametersOf(s)).empty();
}

void RequireFiniteOutput(const std::string& text) {
  std::string lower = text;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  if (lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos) {
    std::cerr << "non-finite value in the hourly output:\n" << text << '\n';
    std::abort();
  }
}

void RunFile(const std::string& bytes) {
  std::istringstream in(bytes);
  std::ostringstream out;
  QuietLog log;
  Engine* engineOfUi = nullptr;
  QuietUserInterface ui(engineOfUi);
  Engine engine(log, ui);
  engineOfUi = &engine;
  if (!StartFileRun(engine, in, out)) return;
  for (int step = 0; step < kSteps && !engine.State().EndOfInput; ++step) {
    try {
      engine.NextSequence();
    } catch (const NimbraError&) {
      // A failed step ends that step only, as in the command-line run.
    }
  }
  try {
    engine.PrintStatistics();
  } catch (const NimbraError&) {
  }
  RequireFiniteOutput(out.str());
}

}  // namespace
}  // namespace nimbra

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  nimbra::RunFile(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
