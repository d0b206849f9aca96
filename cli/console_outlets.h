#pragma once
// The engine's outlets on a terminal: log lines on one stream, message-box texts on
// another.

#include <optional>
#include <ostream>

#include "output_log.h"
#include "user_interface.h"

namespace nimbra {

// Prints log lines. The last line is held back until the next one arrives, because
// the engine may still replace it, so the stream carries exactly the final lines.
class StreamLog : public OutputLog {
 public:
  explicit StreamLog(std::ostream& out) : out_(out) {}
  ~StreamLog() override { Flush(); }

  void AddLine(const std::string& text) override;
  void ClearText() override { pending_.reset(); }
  std::string LastLine() const override { return pending_.value_or(std::string()); }
  void ReplaceLastLine(const std::string& text) override;
  void Flush();

 private:
  std::ostream& out_;
  std::optional<std::string> pending_;
};

// Message-box texts go to the error stream; there are no windows to update.
class StreamUserInterface : public UserInterface {
 public:
  explicit StreamUserInterface(std::ostream& err) : err_(err) {}

  void ShowMessage(const std::string& text) override;
  void ParametersChanged() override {}
  void DisableNextCommands() override {}

 private:
  std::ostream& err_;
};

}  // namespace nimbra
