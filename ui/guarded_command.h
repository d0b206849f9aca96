#pragma once
// Every command of a window runs guarded: an exception must not cross Qt's event loop,
// so an error ends the command and its text is shown in an error box. What the command
// did before the error stays.

#include <exception>
#include <functional>

#include "prompts.h"

namespace nimbra {

inline void RunGuarded(Prompts& prompts, const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& error) {
    prompts.ShowError(error.what());
  }
}

}  // namespace nimbra
