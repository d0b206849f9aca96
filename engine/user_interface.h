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
  // An input file's parameters line has set the parameters and restarted the run: the
  // windows show the new values. Nothing may call back into the engine from here.
  virtual void ParametersChanged() = 0;
  // The input is exhausted: the next-sequence commands are disabled.
  virtual void DisableNextCommands() = 0;
};

}  // namespace nimbra
