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

class QuietUserInterface : public UserInterface {
 public:
  void ShowMessage(const std::string&) override {}
  void ParametersChanged() override {}
  void DisableNextCommands() override {}
};

// Small limits keep each input to a fraction of a second.
RunOptions QuickRepetitions(RunOptions options) {
  options.RepAllowed = 20;
  options.RepLevel1Min = 5;
  options.RepLevel1Factor = 2;
  options.RepDistanceAllowed = 0.5;
  return options;
}

// False when the file or its parameters stop the run before it starts, or when the
// parameters are foreseen to make it slow: those are refused or warned of by design.
bool StartFileRun(Engine& engine, std::istream& in, std::ostream& out) {
  try {
    engine.OpenInput(in, "fuzz input");
    engine.SetOptions(QuickRepetitions(engine.View().Options));
    engine.RestartRun();
    engine.View().Parameters.Validate();
  } catch (const NimbraError&) {
    return false;
  }
  engine.SetOutput(&out, "fuzz output");
  return ParameterWarnings(engine.View().Parameters).empty();
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
  QuietUserInterface ui;
  Engine engine(log, ui);
  if (!StartFileRun(engine, in, out)) return;
  // A failed step ends that step only, as in the command-line run.
  for (int step = 0; step < kSteps && !engine.View().EndOfInput; ++step) engine.Step();
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
