#include "DesktopProgram.h"

#include "HelpWindow.h"
#include "TMainForm.h"
#include "TVout.h"

namespace nimbra {

// The log window exists before everything else, hidden until the first line; the
// main window then loads the defaults and starts a run.
DesktopProgram::DesktopProgram()
    : Vout_(std::make_unique<TVout>(prompts_)),
      Help_(std::make_unique<HelpWindow>()),
      MainForm_(std::make_unique<TMainForm>(*Vout_, prompts_, *Help_)) {
  InstallHelpKey(Vout_.get(), TVout::kHelpContext, *Help_);
  MainForm_->engine().SetDefaults();
  MainForm_->show();
}

DesktopProgram::~DesktopProgram() = default;

}  // namespace nimbra
