#include "main_window.h"

#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "about_dialog.h"
#include "engine_edits.h"
#include "field_ranges.h"
#include "file_prompts.h"
#include "graphs_window.h"
#include "guarded_command.h"
#include "help_window.h"
#include "icons.h"
#include "log_window.h"
#include "parameters_dialog.h"
#include "qt_prompts.h"
#include "repetition_dialog.h"
#include "step_runner.h"
#include "window_places.h"

namespace nimbra {

namespace {

constexpr int kHowManyDefault = 10;
constexpr FieldRange kHowManyRange{1, 1000};

}  // namespace

TMainForm::TMainForm(TVout& vout, Prompts& prompts, HelpWindow& help)
    : vout_(vout),
      prompts_(prompts),
      help_(help),
      log_(vout),
      notices_(*this),
      engine_(std::make_unique<Engine>(log_, notices_)),
      runner_(new StepRunner(*engine_, this)) {
  setWindowTitle(QStringLiteral("Nimbra: Temporal Rainfall Disaggregation"));
  setToolTip(QStringLiteral("Print statistics"));
  BuildToolBar();
  BuildStatusBar();
  BuildMenus();
  InstallHelpKey(this, kHelpContext, help_);
  connect(runner_, &StepRunner::StepDone, this, &TMainForm::StepDone);
  connect(runner_, &StepRunner::Finished, this, &TMainForm::RunFinished);
  runLock_.Add({InitAction, NextAction, NextManyAction, UseConstLengthAction, FileOpenAction, FileSaveAction,
                SaveLogAction, ClearOutputAction, PrintStatisticsAction});
  runLock_.Add({HowManySpinEdit, UseConstLengthSpinEdit, PrintDetailsSpinEdit});
  // The run writes after the log's last line: the log is not replaced under it.
  runLock_.Add({vout_.New1, vout_.Open1});
  notices_.onRepeat = [this](const RepeatedMessage& repeat) { ShowRepeat(repeat); };
  FormCreate();
}

TMainForm::~TMainForm() {
  delete runner_;  // ends a run still going before the engine goes
}

void TMainForm::FormCreate() {
  UseConstLengthSpinEdit->SetValue(engine_->State().Options.ConstLength);
  PrintDetailsSpinEdit->SetValue(0);
  HowManyChangeActionExecute();
  // No central area: the window is as high as its bars, and only its width may grow.
  resize(sizeHint().width(), minimumSizeHint().height());
  RestorePlace(*this, QStringLiteral("MainWindow"));
  if (!RestorePlace(vout_, QStringLiteral("LogWindow"))) vout_.PlaceBelow(*this);
}

QAction* TMainForm::MakeAction(int image, const QString& hint, bool checkable, void (TMainForm::*handler)()) {
  auto* action = new QAction(ToolbarIcon(image), hint, this);
  action->setToolTip(hint);
  action->setCheckable(checkable);
  if (handler != nullptr) {
    connect(action, &QAction::triggered, this, handler);
  } else {
    action->setEnabled(false);  // its window is not part of the program yet
  }
  return action;
}

QToolButton* TMainForm::AddButton(QToolBar* bar, QAction* action) {
  bar->addAction(action);
  return qobject_cast<QToolButton*>(bar->widgetForAction(action));
}

QToolButton* TMainForm::AddButton(QToolBar* bar, int image, const QString& hint, bool checkable,
                                  void (TMainForm::*handler)()) {
  return AddButton(bar, MakeAction(image, hint, checkable, handler));
}

void TMainForm::BuildToolBar() {
  auto* bar = addToolBar(QStringLiteral("ToolBar1"));
  bar->setMovable(false);
  bar->setIconSize(QSize(16, 16));
  BuildRunButtons(bar);
  BuildFileButtons(bar);
  BuildWindowButtons(bar);
}

void TMainForm::BuildRunButtons(QToolBar* bar) {
  InitAction = MakeAction(0, QStringLiteral("Initialise"), false, &TMainForm::InitActionExecute);
  NextAction = MakeAction(1, QStringLiteral("Next wet day sequence"), false, &TMainForm::NextActionExecute);
  NextManyAction = MakeAction(2, QStringLiteral("Next ?? "), false, &TMainForm::NextManyActionExecute);
  StopAction = new QAction(style()->standardIcon(QStyle::SP_BrowserStop), QStringLiteral("Stop"), this);
  StopAction->setToolTip(QStringLiteral("Stop the run after the current sequence (Esc)"));
  StopAction->setShortcut(Qt::Key_Escape);
  StopAction->setEnabled(false);
  connect(StopAction, &QAction::triggered, this, &TMainForm::StopActionExecute);
  InitButton = AddButton(bar, InitAction);
  NextButton = AddButton(bar, NextAction);
  NextManyButton = AddButton(bar, NextManyAction);
  HowManySpinEdit = new IntegerField(kHowManyRange.min, kHowManyRange.max, kHowManyDefault, bar);
  HowManySpinEdit->setToolTip(QStringLiteral("Define how many next wet day sequences will be generated"));
  connect(HowManySpinEdit, &IntegerField::Changed, this, &TMainForm::HowManyChangeActionExecute);
  bar->addWidget(HowManySpinEdit);
  StopButton = AddButton(bar, StopAction);
  bar->addSeparator();

  UseConstLengthAction = MakeAction(3, QStringLiteral("Use constant length of wet day sequences"), true,
                                    &TMainForm::UseConstLengthActionExecute);
  UseConstLengthButton = AddButton(bar, UseConstLengthAction);
  UseConstLengthSpinEdit = new IntegerField(kConstLengthRange.min, kConstLengthRange.max, 1, bar);
  UseConstLengthSpinEdit->setToolTip(QStringLiteral("Define the constant length of wet day sequence"));
  UseConstLengthSpinEdit->setEnabled(false);
  connect(UseConstLengthSpinEdit, &IntegerField::Changed, this, &TMainForm::DefineConstLengthActionExecute);
  bar->addWidget(UseConstLengthSpinEdit);
  bar->addSeparator();
}

void TMainForm::BuildFileButtons(QToolBar* bar) {
  FileOpenAction = MakeAction(4, QStringLiteral("Read historical data from file"), true,
                              &TMainForm::FileOpenActionExecute);
  FileSaveAction =
      MakeAction(5, QStringLiteral("Write synthetic data to file"), true, &TMainForm::FileSaveActionExecute);
  OpenFileButton = AddButton(bar, FileOpenAction);
  FileSaveButton = AddButton(bar, FileSaveAction);
  bar->addSeparator();

  ClearOutputAction =
      MakeAction(6, QStringLiteral("Clear visual output"), false, &TMainForm::ClearOutputActionExecute);
  ClearOutputButton = AddButton(bar, ClearOutputAction);
  PrintDetailsSpinEdit = new IntegerField(kDetailLevelRange.min, kDetailLevelRange.max, 0, bar);
  PrintDetailsSpinEdit->SetArrowsOnly(true);
  PrintDetailsSpinEdit->setToolTip(QStringLiteral("Define the level of details printed"));
  connect(PrintDetailsSpinEdit, &IntegerField::Changed, this, &TMainForm::PrintDetailsSpinEditChange);
  bar->addWidget(PrintDetailsSpinEdit);
  bar->addSeparator();

  // The button has no hint of its own: the window's "Print statistics" shows.
  PrintStatisticsAction = MakeAction(7, toolTip(), false, &TMainForm::PrintStatisticsActionExecute);
  PrintStatisticsButton = AddButton(bar, PrintStatisticsAction);
  bar->addSeparator();
}

void TMainForm::BuildWindowButtons(QToolBar* bar) {
  ShowGraphsButton = AddButton(bar, 8, QStringLiteral("Show graphs"), true, nullptr);
  bar->addSeparator();
  ParametersButton =
      AddButton(bar, 9, QStringLiteral("Edit Bartlett-Lewis model parameters"), false, nullptr);
  RepOptionsButton = AddButton(bar, 10, QStringLiteral("Edit repetition options"), true, nullptr);
  bar->addSeparator();
  HelpAboutButton = AddButton(bar, 11, QStringLiteral("About ..."), false, &TMainForm::HelpAboutButtonClick);
  HelpButton = AddButton(bar, 12, QStringLiteral("Model information "), false, &TMainForm::HelpButtonClick);
}

// The file panels grow with their names; the whole path shows as their hint.
void TMainForm::BuildStatusBar() {
  const QString texts[3] = {QStringLiteral("Sequence #: 0"), QStringLiteral("Input file: none"),
                            QStringLiteral("Output file: none")};
  for (int i = 0; i < 3; ++i) {
    StatusPanels[i] = new QLabel(texts[i], this);
    statusBar()->addWidget(StatusPanels[i], i == 0 ? 0 : 1);
  }
  WarningPanel = new QLabel(this);
  WarningPanel->hide();
  statusBar()->addWidget(WarningPanel, 1);
  Progress = new QProgressBar(this);
  Progress->setFormat(QStringLiteral("%v of %m"));
  Progress->hide();
  statusBar()->addPermanentWidget(Progress);
}

void TMainForm::BuildMenus() {
  SaveLogAction = new QAction(QStringLiteral("&Save log"), this);
  SaveLogAction->setShortcut(QKeySequence::Save);
  connect(SaveLogAction, &QAction::triggered, this,
          [this] { RunGuarded(prompts_, [this] { vout_.Save1Click(); }); });
  QuitAction = new QAction(QStringLiteral("&Quit"), this);
  QuitAction->setShortcut(QKeySequence::Quit);
  connect(QuitAction, &QAction::triggered, this, &QWidget::close);
  FileOpenAction->setShortcut(QKeySequence::Open);
  NextAction->setShortcut(Qt::Key_F5);

  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->addActions({FileOpenAction, FileSaveAction, SaveLogAction});
  file->addSeparator();
  file->addAction(QuitAction);
  QMenu* run = menuBar()->addMenu(QStringLiteral("&Run"));
  run->addActions({InitAction, NextAction, NextManyAction, StopAction, UseConstLengthAction});
  run->addSeparator();
  run->addAction(PrintStatisticsAction);
  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  view->addAction(QStringLiteral("&Log window"), this, [this] {
    vout_.show();
    vout_.raise();
  });
  view->addActions({ShowGraphsButton->defaultAction(), ClearOutputAction});
  view->addSeparator();
  view->addActions({ParametersButton->defaultAction(), RepOptionsButton->defaultAction()});
  QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
  helpMenu->addAction(QStringLiteral("Help on this window\tF1"), this,
                      [this] { help_.ShowTopic(kHelpContext); });
  helpMenu->addAction(QStringLiteral("&Contents"), this, &TMainForm::HelpButtonClick);
  helpMenu->addAction(QStringLiteral("&About Nimbra"), this, &TMainForm::HelpAboutButtonClick);
}

void TMainForm::ShowSequenceNumber() {
  StatusPanels[0]->setText(QStringLiteral("Sequence #: %1").arg(engine_->State().SequenceNumber));
}

void TMainForm::ShowFileName(int panel, const QString& caption, const std::string& name) {
  const QString shown = name.empty() ? QStringLiteral("none") : ToQString(StripDirectory(name));
  StatusPanels[panel]->setText(caption + shown);
  StatusPanels[panel]->setToolTip(ToQString(name));
}

bool TMainForm::MayClearLog() {
  if (!vout_.HasUnsavedContent()) return true;
  bool goOn = false;
  RunGuarded(prompts_, [&] { goOn = vout_.AskToSave(); });
  return goOn;
}

void TMainForm::InitActionExecute() {
  if (RunGoing() || !MayClearLog()) return;
  RunGuarded(prompts_, [this] {
    engine_->Initialise();
    nextCommandsOff_ = false;
    NextAction->setEnabled(true);
    NextManyAction->setEnabled(true);
    ResetGraphs();
    ShowSequenceNumber();
  });
}

void TMainForm::ResetGraphs() {
  if (graphs_ != nullptr) graphs_->ResetGraphs();
}

void TMainForm::RefreshGraphs() {
  if (graphs_ == nullptr || !graphs_->isVisible()) return;
  engine_->ComputeStatistics();
  graphs_->UpdateGraphs();
}

void TMainForm::HowManyChangeActionExecute() {
  NextManyAction->setToolTip(
      QStringLiteral("Next %1 wet day sequences").arg(HowManySpinEdit->ValueInRange()));
}

void TMainForm::UseConstLengthActionExecute() {
  EditOptions(*engine_, [this](RunOptions& o) { o.UseConstLength = UseConstLengthAction->isChecked(); });
  UseConstLengthSpinEdit->setEnabled(UseConstLengthAction->isChecked());
  UseConstLengthSpinEdit->SetValue(engine_->State().Options.ConstLength);
}

void TMainForm::DefineConstLengthActionExecute() {
  EditOptions(*engine_, [this](RunOptions& o) { o.ConstLength = UseConstLengthSpinEdit->ValueInRange(); });
}

void TMainForm::ClearOutputActionExecute() { vout_.ClearText(); }

void TMainForm::PrintDetailsSpinEditChange() {
  EditOptions(*engine_, [this](RunOptions& o) { o.DetailLevel = PrintDetailsSpinEdit->ValueInRange(); });
}

void TMainForm::PrintStatisticsActionExecute() {
  RunGuarded(prompts_, [this] { engine_->PrintStatistics(); });
}

void TMainForm::AttachWindows(TBLParametersForm& parameters, TGraphForm& graphs,
                              TRepetitionOptions& repetitions) {
  parameters_ = &parameters;
  graphs_ = &graphs;
  repetitions_ = &repetitions;
  connect(ShowGraphsButton->defaultAction(), &QAction::triggered, this, &TMainForm::ShowGraphsButtonClick);
  connect(&graphs, &TGraphForm::Closed, this, [this] { ShowGraphsButton->setChecked(false); });
  ShowGraphsButton->defaultAction()->setEnabled(true);
  connect(ParametersButton->defaultAction(), &QAction::triggered, this, &TMainForm::ParametersButtonClick);
  connect(RepOptionsButton->defaultAction(), &QAction::triggered, this, &TMainForm::RepOptionsButtonClick);
  connect(&repetitions, &TRepetitionOptions::Closed, this, [this] { RepOptionsButton->setChecked(false); });
  ParametersButton->defaultAction()->setEnabled(true);
  RepOptionsButton->defaultAction()->setEnabled(true);
  onParametersChanged = [this] { parameters_->FormCreate(); };
  parameters.mayClearLog = [this] { return MayClearLog(); };
  runLock_.Add({ParametersButton->defaultAction()});
  runLock_.Add({&parameters, &repetitions});
  PlaceBeside(repetitions, *this);
  PlaceBeside(help_, *this);
}

void TMainForm::ShowGraphsButtonClick() {
  graphs_->setVisible(ShowGraphsButton->isChecked());
  if (graphs_->isVisible() && !RunGoing()) graphs_->UpdateGraphs();
}

void TMainForm::ParametersButtonClick() { parameters_->exec(); }

void TMainForm::RepOptionsButtonClick() { repetitions_->setVisible(RepOptionsButton->isChecked()); }

void TMainForm::HelpAboutButtonClick() {
  TAboutBox box(this);
  InstallHelpKey(&box, TAboutBox::kHelpContext, help_);
  box.exec();
}

void TMainForm::HelpButtonClick() { help_.ShowContents(); }

void TMainForm::ShowMessage(const std::string& text) { prompts_.Inform(text); }

void TMainForm::ParametersChanged() {
  if (onParametersChanged) onParametersChanged();
}

void TMainForm::DisableNextCommands() {
  nextCommandsOff_ = true;
  NextAction->setEnabled(false);
  NextManyAction->setEnabled(false);
}

}  // namespace nimbra
