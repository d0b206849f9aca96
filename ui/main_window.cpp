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

MainWindow::MainWindow(LogWindow& logWindow, Prompts& prompts, HelpWindow& help)
    : logWindow_(logWindow),
      prompts_(prompts),
      help_(help),
      log_(logWindow),
      notices_(*this),
      engine_(std::make_unique<Engine>(log_, notices_)),
      runner_(new StepRunner(*engine_, this)) {
  setWindowTitle(QStringLiteral("Nimbra: Temporal Rainfall Disaggregation"));
  setAcceptDrops(true);
  BuildToolBar();
  BuildStatusBar();
  BuildMenus();
  InstallHelpKey(this, kHelpContext, help_);
  connect(runner_, &StepRunner::StepDone, this, &MainWindow::StepDone);
  connect(runner_, &StepRunner::Finished, this, &MainWindow::RunFinished);
  runLock_.Add({initialiseAction_, nextAction_, nextManyAction_, constLengthAction_, inputAction_,
                parameterSetsAction_, outputAction_, saveLogAction_, clearLogAction_, statisticsAction_});
  runLock_.Add({countField_, constLengthField_, detailLevelField_});
  // The run writes after the log's last line: the log is not replaced under it.
  runLock_.Add(logWindow_.TextReplacingActions());
  notices_.onRepeat = [this](const RepeatedMessage& repeat) { ShowRepeat(repeat); };
  LoadStartValues();
}

MainWindow::~MainWindow() {
  log_.LetWorkerGo();
  delete runner_;  // ends a run still going before the engine goes
}

void MainWindow::LoadRunSettings(int count) {
  countField_->SetValue(count);
  detailLevelField_->SetValue(engine_->View().Options.DetailLevel);
  constLengthField_->SetValue(engine_->View().Options.ConstLength);
}

void MainWindow::LoadStartValues() {
  constLengthField_->SetValue(engine_->View().Options.ConstLength);
  detailLevelField_->SetValue(0);
  ShowCountInHint();
  // No central area: the window is as high as its bars, and only its width may grow.
  resize(sizeHint().width(), minimumSizeHint().height());
  RestorePlace(*this, QStringLiteral("MainWindow"));
  if (!RestorePlace(logWindow_, QStringLiteral("LogWindow"))) logWindow_.PlaceBelow(*this);
}

QAction* MainWindow::MakeAction(const char* name, int image, const QString& hint, bool checkable,
                                void (MainWindow::*handler)()) {
  auto* action = new QAction(ToolbarIcon(image), hint, this);
  action->setObjectName(QLatin1String(name));
  action->setToolTip(hint);
  action->setCheckable(checkable);
  if (handler != nullptr) {
    connect(action, &QAction::triggered, this, handler);
  } else {
    action->setEnabled(false);  // its window is not part of the program yet
  }
  return action;
}

void MainWindow::BuildToolBar() {
  auto* bar = addToolBar(QStringLiteral("ToolBar1"));
  bar->setMovable(false);
  bar->setIconSize(QSize(16, 16));
  BuildRunButtons(bar);
  BuildFileButtons(bar);
  BuildWindowButtons(bar);
}

void MainWindow::BuildRunButtons(QToolBar* bar) {
  initialiseAction_ =
      MakeAction("initialise", 0, QStringLiteral("Initialise"), false, &MainWindow::Initialise);
  nextAction_ = MakeAction("next", 1, QStringLiteral("Next wet day sequence"), false, &MainWindow::StepOnce);
  nextManyAction_ =
      MakeAction("nextMany", 2, QStringLiteral("Next wet day sequences"), false, &MainWindow::StepMany);
  stopAction_ = new QAction(style()->standardIcon(QStyle::SP_BrowserStop), QStringLiteral("Stop"), this);
  stopAction_->setObjectName(QStringLiteral("stop"));
  stopAction_->setToolTip(QStringLiteral("Stop the run; a sequence under way is left out (Esc)"));
  // Esc stops a run from whichever of the program's windows has the focus.
  stopAction_->setShortcutContext(Qt::ApplicationShortcut);
  stopAction_->setEnabled(false);
  connect(stopAction_, &QAction::triggered, this, &MainWindow::StopRun);
  bar->addActions({initialiseAction_, nextAction_, nextManyAction_});
  countField_ = new IntegerField(kHowManyRange.min, kHowManyRange.max, kHowManyDefault, bar);
  countField_->setObjectName(QStringLiteral("count"));
  countField_->setToolTip(QStringLiteral("Define how many next wet day sequences will be generated"));
  connect(countField_, &IntegerField::Changed, this, &MainWindow::ShowCountInHint);
  bar->addWidget(countField_);
  bar->addAction(stopAction_);
  bar->addSeparator();

  constLengthAction_ =
      MakeAction("constLength", 3, QStringLiteral("Use constant length of wet day sequences"), true,
                 &MainWindow::ToggleConstLength);
  bar->addAction(constLengthAction_);
  constLengthField_ = new IntegerField(kConstLengthRange.min, kConstLengthRange.max, 1, bar);
  constLengthField_->setObjectName(QStringLiteral("constLengthDays"));
  constLengthField_->setToolTip(QStringLiteral("Define the constant length of wet day sequence"));
  constLengthField_->setEnabled(false);
  connect(constLengthField_, &IntegerField::Changed, this, &MainWindow::StoreConstLength);
  bar->addWidget(constLengthField_);
  bar->addSeparator();
}

void MainWindow::BuildFileButtons(QToolBar* bar) {
  inputAction_ = MakeAction("input", 4, QStringLiteral("Read historical data from file"), true,
                            &MainWindow::ToggleInput);
  outputAction_ = MakeAction("output", 5, QStringLiteral("Write synthetic data to file"), true,
                             &MainWindow::ToggleOutput);
  bar->addActions({inputAction_, outputAction_});
  bar->addSeparator();

  clearLogAction_ =
      MakeAction("clearLog", 6, QStringLiteral("Clear visual output"), false, &MainWindow::ClearLog);
  bar->addAction(clearLogAction_);
  detailLevelField_ = new IntegerField(kDetailLevelRange.min, kDetailLevelRange.max, 0, bar);
  detailLevelField_->setObjectName(QStringLiteral("detailLevel"));
  detailLevelField_->SetArrowsOnly(true);
  detailLevelField_->setToolTip(QStringLiteral("Define the level of details printed"));
  connect(detailLevelField_, &IntegerField::Changed, this, &MainWindow::StoreDetailLevel);
  bar->addWidget(detailLevelField_);
  bar->addSeparator();

  statisticsAction_ =
      MakeAction("statistics", 7, QStringLiteral("Print statistics"), false, &MainWindow::PrintStatistics);
  bar->addAction(statisticsAction_);
  bar->addSeparator();
}

void MainWindow::BuildWindowButtons(QToolBar* bar) {
  graphsAction_ = MakeAction("graphs", 8, QStringLiteral("Show graphs"), true, nullptr);
  parametersAction_ =
      MakeAction("parameters", 9, QStringLiteral("Edit Bartlett-Lewis model parameters"), false, nullptr);
  repetitionsAction_ =
      MakeAction("repetitions", 10, QStringLiteral("Edit repetition options"), true, nullptr);
  aboutAction_ = MakeAction("about", 11, QStringLiteral("About ..."), false, &MainWindow::ShowAbout);
  helpAction_ =
      MakeAction("help", 12, QStringLiteral("Model information "), false, &MainWindow::ShowHelpContents);
  bar->addAction(graphsAction_);
  bar->addSeparator();
  bar->addActions({parametersAction_, repetitionsAction_});
  bar->addSeparator();
  bar->addActions({aboutAction_, helpAction_});
}

QLabel* MainWindow::AddStatusPanel(const char* name, const QString& text, int stretch) {
  auto* panel = new QLabel(text, this);
  panel->setObjectName(QLatin1String(name));
  statusBar()->addWidget(panel, stretch);
  return panel;
}

// The file panels grow with their names; the whole path shows as their hint.
void MainWindow::BuildStatusBar() {
  sequencePanel_ = AddStatusPanel("sequencePanel", QStringLiteral("Sequence #: 0"), 0);
  inputPanel_ = AddStatusPanel("inputPanel", QStringLiteral("Input file: none"), 1);
  outputPanel_ = AddStatusPanel("outputPanel", QStringLiteral("Output file: none"), 1);
  warningPanel_ = AddStatusPanel("warnings", QString(), 1);
  warningPanel_->hide();
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("progress"));
  progress_->setFormat(QStringLiteral("%v of %m"));
  progress_->hide();
  statusBar()->addPermanentWidget(progress_);
}

void MainWindow::BuildMenus() {
  saveLogAction_ = new QAction(QStringLiteral("&Save log"), this);
  saveLogAction_->setShortcut(QKeySequence::Save);
  connect(saveLogAction_, &QAction::triggered, this,
          [this] { RunGuarded(prompts_, [this] { logWindow_.Save(); }); });
  parameterSetsAction_ = new QAction(QStringLiteral("&Parameter sets..."), this);
  parameterSetsAction_->setObjectName(QStringLiteral("parameterSets"));
  parameterSetsAction_->setToolTip(QStringLiteral("Choose another parameters file for the CSV input"));
  parameterSetsAction_->setEnabled(false);
  connect(parameterSetsAction_, &QAction::triggered, this, &MainWindow::ChooseParameterSets);
  quitAction_ = new QAction(QStringLiteral("&Quit"), this);
  quitAction_->setShortcut(QKeySequence::Quit);
  connect(quitAction_, &QAction::triggered, this, &QWidget::close);
  NameMenuEntries();

  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->addAction(inputAction_);
  recentMenu_ = file->addMenu(QStringLiteral("Open &recent"));
  recentMenu_->setObjectName(QStringLiteral("recentFiles"));
  recentMenu_->setEnabled(false);
  file->addActions({parameterSetsAction_, outputAction_, saveLogAction_});
  file->addSeparator();
  file->addAction(quitAction_);
  QMenu* run = menuBar()->addMenu(QStringLiteral("&Run"));
  run->addActions({initialiseAction_, nextAction_, nextManyAction_, stopAction_, constLengthAction_});
  run->addSeparator();
  run->addAction(statisticsAction_);
  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  view->addAction(QStringLiteral("&Log window"), QKeySequence(Qt::CTRL | Qt::Key_L), this, [this] {
    logWindow_.show();
    logWindow_.raise();
  });
  view->addActions({graphsAction_, clearLogAction_});
  view->addSeparator();
  view->addActions({parametersAction_, repetitionsAction_});
  QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
  // F1 itself belongs to the window that has the focus: each opens its own topic.
  helpMenu->addAction(QStringLiteral("&Help on this window\tF1"), this,
                      [this] { help_.ShowTopic(kHelpContext); });
  helpMenu->addAction(QStringLiteral("&Contents"), QKeySequence(Qt::CTRL | Qt::Key_F1), this,
                      &MainWindow::ShowHelpContents);
  helpMenu->addAction(QStringLiteral("&About Nimbra"), QKeySequence(Qt::SHIFT | Qt::Key_F1), this,
                      &MainWindow::ShowAbout);
}

// The toolbar's actions in the menus: a mnemonic and a shortcut each; their hints stay
// as the toolbar shows them.
void MainWindow::NameMenuEntries() {
  const struct {
    QAction* action;
    const char* text;
    QKeySequence keys;
  } entries[] = {
      {inputAction_, "&Open daily rainfall file...", QKeySequence::Open},
      {outputAction_, "Write &hours to file...", QKeySequence(Qt::CTRL | Qt::Key_W)},
      {initialiseAction_, "&Initialise", QKeySequence(Qt::CTRL | Qt::Key_I)},
      {nextAction_, "&Next wet day sequence", QKeySequence(Qt::Key_F5)},
      {nextManyAction_, "", QKeySequence(Qt::Key_F6)},
      {stopAction_, "&Stop", QKeySequence(Qt::Key_Escape)},
      {constLengthAction_, "Constant &length of wet day sequences", QKeySequence(Qt::CTRL | Qt::Key_K)},
      {statisticsAction_, "Print s&tatistics", QKeySequence(Qt::CTRL | Qt::Key_T)},
      {graphsAction_, "&Graphs", QKeySequence(Qt::CTRL | Qt::Key_G)},
      {clearLogAction_, "&Clear log", QKeySequence(Qt::CTRL | Qt::Key_E)},
      {parametersAction_, "&Model parameters...", QKeySequence(Qt::CTRL | Qt::Key_M)},
      {repetitionsAction_, "&Repetition options", QKeySequence(Qt::CTRL | Qt::Key_R)}};
  for (const auto& entry : entries) {
    if (*entry.text != '\0') entry.action->setText(QString::fromUtf8(entry.text));
    entry.action->setShortcut(entry.keys);
  }
}

void MainWindow::ShowSequenceNumber() {
  sequencePanel_->setText(QStringLiteral("Sequence #: %1").arg(engine_->View().SequenceNumber));
}

void MainWindow::ShowFileName(QLabel* panel, const QString& caption, const std::string& name) {
  constexpr int kLongestName = 40;
  QString shown = name.empty() ? QStringLiteral("none") : ToQString(StripDirectory(name));
  if (shown.size() > kLongestName) shown = shown.left(kLongestName - 1) + QChar(0x2026);  // an ellipsis
  panel->setText(caption + shown);
  panel->setToolTip(ToQString(name));
}

bool MainWindow::MayClearLog() {
  if (!logWindow_.HasUnsavedContent()) return true;
  bool goOn = false;
  RunGuarded(prompts_, [&] { goOn = logWindow_.AskToSave(); });
  return goOn;
}

void MainWindow::Initialise() {
  if (RunGoing() || !MayRestart()) return;
  RunGuarded(prompts_, [this] {
    engine_->Initialise();
    EnableNextCommands();
    ResetGraphs();
    ShowSequenceNumber();
  });
}

void MainWindow::EnableNextCommands() {
  nextCommandsOff_ = false;
  nextAction_->setEnabled(true);
  nextManyAction_->setEnabled(true);
}

void MainWindow::ResetGraphs() {
  if (graphs_ != nullptr) graphs_->ResetGraphs();
}

void MainWindow::RefreshGraphs() {
  if (graphs_ == nullptr || !graphs_->isVisible()) return;
  engine_->ComputeStatistics();
  graphs_->UpdateGraphs();
}

void MainWindow::ShowCountInHint() {
  const QString text = QStringLiteral("Next %1 wet day sequences").arg(countField_->ValueInRange());
  nextManyAction_->setText(QStringLiteral("Next %1 wet day se&quences").arg(countField_->ValueInRange()));
  nextManyAction_->setToolTip(text);
}

void MainWindow::ToggleConstLength() {
  EditOptions(*engine_, [this](RunOptions& o) { o.UseConstLength = constLengthAction_->isChecked(); });
  constLengthField_->setEnabled(constLengthAction_->isChecked());
  constLengthField_->SetValue(engine_->View().Options.ConstLength);
}

void MainWindow::StoreConstLength() {
  EditOptions(*engine_, [this](RunOptions& o) { o.ConstLength = constLengthField_->ValueInRange(); });
}

void MainWindow::ClearLog() { logWindow_.ClearText(); }

void MainWindow::StoreDetailLevel() {
  EditOptions(*engine_, [this](RunOptions& o) { o.DetailLevel = detailLevelField_->ValueInRange(); });
}

void MainWindow::PrintStatistics() {
  RunGuarded(prompts_, [this] { engine_->PrintStatistics(); });
}

void MainWindow::AttachWindows(ParametersDialog& parameters, GraphsWindow& graphs,
                               RepetitionDialog& repetitions) {
  parameters_ = &parameters;
  graphs_ = &graphs;
  repetitions_ = &repetitions;
  connect(graphsAction_, &QAction::triggered, this, &MainWindow::ToggleGraphs);
  connect(&graphs, &GraphsWindow::Closed, this, [this] { graphsAction_->setChecked(false); });
  graphsAction_->setEnabled(true);
  connect(parametersAction_, &QAction::triggered, this, &MainWindow::EditParameters);
  connect(repetitionsAction_, &QAction::triggered, this, &MainWindow::ToggleRepetitions);
  connect(&repetitions, &RepetitionDialog::Closed, this, [this] { repetitionsAction_->setChecked(false); });
  parametersAction_->setEnabled(true);
  repetitionsAction_->setEnabled(true);
  onParametersChanged = [this] { parameters_->LoadFromEngine(); };
  parameters.mayRestart = [this] {
    if (!MayRestart()) return false;
    ResetGraphs();  // the old charts belong to the old parameters
    return true;
  };
  parameters.onRestarted = [this] { RunGuarded(prompts_, [this] { RewindInput(); }); };
  parameters.onFileValues = [this] { TakeFileValues(); };
  parameters.onOtherParameterFile = [this] { ChooseParameterSets(); };
  runLock_.Add({parametersAction_});
  runLock_.Add({&parameters, &repetitions});
  PlaceBeside(repetitions, *this);
  PlaceBeside(help_, *this);
}

// A restarted run reads its input from the first record again. Rereading the file's
// header takes its parameters line again: the values the user has just set win. A CSV
// input's sets come from its parameters file, as the run's first sequence takes them.
void MainWindow::RewindInput() {
  const RunView s = engine_->View();
  if (!s.ReadFromFile) return;
  const ModelParameters parameters = s.Parameters;
  const RunOptions options = s.Options;
  engine_->Initialise();
  engine_->SetOptions(options);
  if (!s.FromDatedInput) engine_->SetParameters(parameters);
  ParametersChanged();
  EnableNextCommands();
  ShowSequenceNumber();
  log_.AddLine("The run starts again from the first record of " + s.InputFileName);
}

// The input file's parameters line, read again with the file from its start.
void MainWindow::TakeFileValues() {
  if (!engine_->View().ReadFromFile || !MayRestart()) return;
  engine_->Initialise();
  ParametersChanged();
  EnableNextCommands();
  ResetGraphs();
  ShowSequenceNumber();
}

void MainWindow::ToggleGraphs() {
  if (graphsAction_->isChecked()) KeepClearOf(*graphs_, *this);
  graphs_->setVisible(graphsAction_->isChecked());
  if (graphs_->isVisible() && !RunGoing()) graphs_->UpdateGraphs();
}

void MainWindow::EditParameters() { parameters_->exec(); }

void MainWindow::ToggleRepetitions() {
  if (repetitionsAction_->isChecked()) KeepClearOf(*repetitions_, *this);
  repetitions_->setVisible(repetitionsAction_->isChecked());
}

void MainWindow::ShowAbout() {
  AboutDialog box(this);
  InstallHelpKey(&box, AboutDialog::kHelpContext, help_);
  box.exec();
}

void MainWindow::ShowHelpContents() { help_.ShowContents(); }

// A message reaches the log too: a saved log tells what the user was told. The engine's
// messages are warnings, but for those it calls errors.
void MainWindow::ShowMessage(const std::string& text) {
  log_.AddLine("Message: " + text);
  if (text.starts_with("Error")) {
    prompts_.ShowError(text);
  } else {
    prompts_.Warn(text);
  }
}

void MainWindow::ParametersChanged() {
  if (onParametersChanged) onParametersChanged();
}

void MainWindow::DisableNextCommands() {
  nextCommandsOff_ = true;
  nextAction_->setEnabled(false);
  nextManyAction_->setEnabled(false);
}

}  // namespace nimbra
