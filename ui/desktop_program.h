#pragma once
// The desktop program's windows, created in their start order, one object each.

#include <memory>

#include "prompts.h"

namespace nimbra {

class HelpWindow;
class ParametersDialog;
class GraphsWindow;
class MainWindow;
class RepetitionDialog;
class LogWindow;

class DesktopProgram {
 public:
  explicit DesktopProgram(Prompts& prompts);
  ~DesktopProgram();
  DesktopProgram(const DesktopProgram&) = delete;
  DesktopProgram& operator=(const DesktopProgram&) = delete;

  MainWindow& Main() { return *main_; }
  LogWindow& Log() { return *log_; }
  HelpWindow& Help() { return *help_; }
  ParametersDialog& Parameters() { return *parameters_; }
  GraphsWindow& Graphs() { return *graphs_; }
  RepetitionDialog& Repetitions() { return *repetitions_; }

 private:
  void RecallRunSettings();

  Prompts& prompts_;
  std::unique_ptr<LogWindow> log_;
  std::unique_ptr<HelpWindow> help_;
  std::unique_ptr<MainWindow> main_;
  std::unique_ptr<ParametersDialog> parameters_;
  std::unique_ptr<GraphsWindow> graphs_;
  std::unique_ptr<RepetitionDialog> repetitions_;
};

}  // namespace nimbra
