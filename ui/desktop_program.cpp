#include "desktop_program.h"

#include "graphs_window.h"
#include "help_window.h"
#include "log_window.h"
#include "main_window.h"
#include "parameters_dialog.h"
#include "repetition_dialog.h"
#include "window_places.h"

namespace nimbra {

// The log window exists before everything else, hidden until the first line; the
// main window then creates the engine, and the dialogs, created hidden after it, show
// the engine's defaults.
DesktopProgram::DesktopProgram(Prompts& prompts)
    : prompts_(prompts),
      Vout_(std::make_unique<TVout>(prompts_)),
      Help_(std::make_unique<HelpWindow>()),
      MainForm_(std::make_unique<TMainForm>(*Vout_, prompts_, *Help_)) {
  InstallHelpKey(Vout_.get(), TVout::kHelpContext, *Help_);
  Engine& engine = MainForm_->engine();
  BLParametersForm_ = std::make_unique<TBLParametersForm>(engine, prompts_, *Help_, MainForm_.get());
  GraphForm_ = std::make_unique<TGraphForm>(engine, prompts_, *Help_);
  RepetitionOptions_ = std::make_unique<TRepetitionOptions>(engine, prompts_, *Help_, MainForm_.get());
  MainForm_->AttachWindows(*BLParametersForm_, *GraphForm_, *RepetitionOptions_);
  if (!RestorePlace(*GraphForm_, QStringLiteral("GraphsWindow")) && !PlaceUnder(*GraphForm_, *Vout_))
    PlaceBeside(*GraphForm_, *MainForm_);
  MainForm_->show();
}

DesktopProgram::~DesktopProgram() = default;

}  // namespace nimbra
