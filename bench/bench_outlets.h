#pragma once
// Outlets that keep nothing, so that a benchmark measures the engine alone. The log
// adds up the repetitions reported by the "&" lines.

#include <string>

#include "output_log.h"
#include "user_interface.h"

namespace nimbra {

class CountingLog : public OutputLog {
 public:
  void AddLine(const std::string& line) override {
    static const std::string prefix = "& Repetitions performed ";
    if (line.rfind(prefix, 0) == 0) repetitions += std::stoll(line.substr(prefix.size()));
  }
  void ClearText() override {}
  std::string LastLine() const override { return {}; }
  void ReplaceLastLine(const std::string&) override {}

  long long repetitions = 0;
};

class NullUserInterface : public UserInterface {
 public:
  void ShowMessage(const std::string&) override {}
  void ParametersChanged() override {}
  void DisableNextCommands() override {}
};

}  // namespace nimbra
