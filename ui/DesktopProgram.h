#pragma once
// The desktop program's windows, created in their start order, one object each.

#include <memory>

#include "qt_prompts.h"

namespace nimbra {

class HelpWindow;
class TMainForm;
class TVout;

class DesktopProgram {
 public:
  DesktopProgram();
  ~DesktopProgram();
  DesktopProgram(const DesktopProgram&) = delete;
  DesktopProgram& operator=(const DesktopProgram&) = delete;

  TMainForm& MainForm() { return *MainForm_; }
  TVout& Vout() { return *Vout_; }
  HelpWindow& Help() { return *Help_; }

 private:
  QtPrompts prompts_;
  std::unique_ptr<TVout> Vout_;
  std::unique_ptr<HelpWindow> Help_;
  std::unique_ptr<TMainForm> MainForm_;
};

}  // namespace nimbra
