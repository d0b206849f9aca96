#include "DesktopProgram.h"

#include <QMenuBar>

#include "HelpWindow.h"
#include "TBLParametersForm.h"
#include "TGraphForm.h"
#include "TMainForm.h"
#include "TRepetitionOptions.h"
#include "TVout.h"
#include "WindowPlaces.h"
#include "series_workspace.h"

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
  // The series workspace is a window of its own, beside the explorer of the method.
  QAction* series = MainForm_->menuBar()->addAction(QStringLiteral("Series &workspace..."));
  QObject::connect(series, &QAction::triggered, MainForm_.get(), [this] {
    auto* workspace = new SeriesWorkspace(prompts_);
    workspace->setAttribute(Qt::WA_DeleteOnClose);
    workspace->show();
  });
  MainForm_->show();
}

DesktopProgram::~DesktopProgram() = default;

}  // namespace nimbra
