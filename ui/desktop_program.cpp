#include "desktop_program.h"

#include <QMenuBar>

#include "graphs_window.h"
#include "help_window.h"
#include "log_window.h"
#include "main_window.h"
#include "parameters_dialog.h"
#include "remembered_run.h"
#include "repetition_dialog.h"
#include "series_workspace.h"
#include "window_places.h"

namespace nimbra {

// The log window exists before everything else, hidden until the first line; the
// main window then creates the engine, and the dialogs, created hidden after it, show
// the engine's defaults.
DesktopProgram::DesktopProgram(Prompts& prompts)
    : prompts_(prompts),
      log_(std::make_unique<LogWindow>(prompts_)),
      help_(std::make_unique<HelpWindow>()),
      main_(std::make_unique<MainWindow>(*log_, prompts_, *help_)) {
  InstallHelpKey(log_.get(), LogWindow::kHelpContext, *help_);
  Engine& engine = main_->engine();
  parameters_ = std::make_unique<ParametersDialog>(engine, prompts_, *help_, main_.get());
  graphs_ = std::make_unique<GraphsWindow>(engine, prompts_, *help_);
  repetitions_ = std::make_unique<RepetitionDialog>(engine, prompts_, *help_, main_.get());
  main_->AttachWindows(*parameters_, *graphs_, *repetitions_);
  RecallRunSettings();
  main_->ShowRecentFiles(RecentFiles());
  QObject::connect(main_.get(), &MainWindow::InputOpened, main_.get(), [this](const QString& path) {
    AddRecentFile(path);
    main_->ShowRecentFiles(RecentFiles());
  });
  QObject::connect(main_.get(), &MainWindow::Closing, main_.get(), [this] {
    const RunView s = main_->engine().View();
    RememberRun({s.Parameters, s.Options, main_->CountAsked()});
  });
  if (!RestorePlace(*graphs_, QStringLiteral("GraphsWindow")) && !PlaceUnder(*graphs_, *log_))
    PlaceBeside(*graphs_, *main_);
  // The series workspace is a window of its own, beside the explorer of the method.
  QAction* series = main_->menuBar()->addAction(QStringLiteral("Series &workspace..."));
  series->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
  QObject::connect(series, &QAction::triggered, main_.get(), [this] {
    auto* workspace = new SeriesWorkspace(prompts_, *help_);
    workspace->setAttribute(Qt::WA_DeleteOnClose);
    workspace->show();
  });
  main_->show();
}

DesktopProgram::~DesktopProgram() = default;

// The windows show the settings of the last session; a set the engine refuses is left out.
void DesktopProgram::RecallRunSettings() {
  Engine& engine = main_->engine();
  const std::optional<RememberedRun> run = RecallRun(engine.View().Options);
  if (!run) return;
  const ModelParameters defaults = engine.View().Parameters;
  engine.SetOptions(run->Options);
  try {
    engine.SetParameters(run->Parameters);
  } catch (const std::exception&) {
    engine.SetParameters(defaults);
  }
  main_->LoadRunSettings(run->Count);
  parameters_->LoadFromEngine();
  repetitions_->LoadFromEngine();
}

}  // namespace nimbra
