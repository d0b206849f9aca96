#pragma once
// What the engine asks of the windows. The desktop program shows message boxes and
// updates its controls; the command line prints to standard error; tests record.

#include <string>

namespace nimbra {

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // An information message box with an OK button; lines are separated by CR LF.
  virtual void ShowMessage(const std::string& text) = 0;
  // The parameters were read from an input file: the parameters dialog reloads them.
  virtual void ReloadParameters() = 0;
  // The input is exhausted: the next-sequence commands are disabled.
  virtual void DisableNextCommands() = 0;
};

}  // namespace nimbra
