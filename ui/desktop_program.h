#pragma once
// The desktop program's windows, created in their start order, one object each.

#include <memory>

#include "prompts.h"

namespace nimbra {

class HelpWindow;
class TBLParametersForm;
class TGraphForm;
class TMainForm;
class TRepetitionOptions;
class TVout;

class DesktopProgram {
 public:
  explicit DesktopProgram(Prompts& prompts);
  ~DesktopProgram();
  DesktopProgram(const DesktopProgram&) = delete;
  DesktopProgram& operator=(const DesktopProgram&) = delete;

  TMainForm& MainForm() { return *MainForm_; }
  TVout& Vout() { return *Vout_; }
  HelpWindow& Help() { return *Help_; }
  TBLParametersForm& BLParametersForm() { return *BLParametersForm_; }
  TGraphForm& GraphForm() { return *GraphForm_; }
  TRepetitionOptions& RepetitionOptions() { return *RepetitionOptions_; }

 private:
  Prompts& prompts_;
  std::unique_ptr<TVout> Vout_;
  std::unique_ptr<HelpWindow> Help_;
  std::unique_ptr<TMainForm> MainForm_;
  std::unique_ptr<TBLParametersForm> BLParametersForm_;
  std::unique_ptr<TGraphForm> GraphForm_;
  std::unique_ptr<TRepetitionOptions> RepetitionOptions_;
};

}  // namespace nimbra
