#include "TMainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolBar>

#include "EngineEdits.h"
#include "HelpWindow.h"
#include "Icons.h"
#include "TAboutBox.h"
#include "TBLParametersForm.h"
#include "TGraphForm.h"
#include "TRepetitionOptions.h"
#include "TVout.h"
#include "field_ranges.h"
#include "file_prompts.h"
#include "qt_prompts.h"

namespace nimbra {

namespace {

constexpr int kHowManyDefault = 10;
constexpr int kStatusPanelWidths[3] = {96, 192, 200};

}  // namespace

TMainForm::TMainForm(TVout& vout, Prompts& prompts, HelpWindow& help)
    : vout_(vout), prompts_(prompts), help_(help), engine_(std::make_unique<Engine>(vout, *this)) {
  setWindowTitle(QStringLiteral("Nimbra: Temporal Rainfall Disaggregation"));
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setToolTip(QStringLiteral("Print statistics"));
  BuildToolBar();
  BuildStatusBar();
  InstallHelpKey(this, kHelpContext, help_);
  FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate() {
  UseConstLengthSpinEdit->SetValue(engine_->State().Options.ConstLength);
  PrintDetailsSpinEdit->SetValue(0);
  HowManyChangeActionExecute();
  adjustSize();
  setFixedSize(sizeHint());
  vout_.PlaceBelow(*this);
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
  InitAction = MakeAction(0, QStringLiteral("Initialise"), false, &TMainForm::InitActionExecute);
  NextAction = MakeAction(1, QStringLiteral("Next wet day sequence"), false, &TMainForm::NextActionExecute);
  NextManyAction = MakeAction(2, QStringLiteral("Next ?? "), false, &TMainForm::NextManyActionExecute);
  InitButton = AddButton(bar, InitAction);
  NextButton = AddButton(bar, NextAction);
  NextManyButton = AddButton(bar, NextManyAction);
  HowManySpinEdit = new IntegerField(1, 1000, kHowManyDefault, bar);
  HowManySpinEdit->setToolTip(QStringLiteral("Define how many next wet day sequences will be generated"));
  connect(HowManySpinEdit, &IntegerField::Changed, this, &TMainForm::HowManyChangeActionExecute);
  bar->addWidget(HowManySpinEdit);
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

  ShowGraphsButton = AddButton(bar, 8, QStringLiteral("Show graphs"), true, nullptr);
  bar->addSeparator();
  ParametersButton =
      AddButton(bar, 9, QStringLiteral("Edit Bartlett-Lewis model parameters"), false, nullptr);
  RepOptionsButton = AddButton(bar, 10, QStringLiteral("Edit repetition options"), true, nullptr);
  bar->addSeparator();
  HelpAboutButton = AddButton(bar, 11, QStringLiteral("About ..."), false, &TMainForm::HelpAboutButtonClick);
  HelpButton = AddButton(bar, 12, QStringLiteral("Model information "), false, &TMainForm::HelpButtonClick);
}

void TMainForm::BuildStatusBar() {
  const QString texts[3] = {QStringLiteral("Sequence #: 0"), QStringLiteral("Input file: none"),
                            QStringLiteral("Output file: none")};
  for (int i = 0; i < 3; ++i) {
    StatusPanels[i] = new QLabel(texts[i], this);
    StatusPanels[i]->setMinimumWidth(kStatusPanelWidths[i]);
    statusBar()->addWidget(StatusPanels[i]);
  }
  statusBar()->setSizeGripEnabled(false);
}

void TMainForm::RunCommand(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& e) {
    prompts_.ShowError(e.what());
  }
}

void TMainForm::ShowSequenceNumber() {
  StatusPanels[0]->setText(QStringLiteral("Sequence #: %1").arg(engine_->State().SequenceNumber));
}

void TMainForm::InitActionExecute() {
  RunCommand([this] {
    engine_->Initialise();
    NextAction->setEnabled(true);
    NextManyAction->setEnabled(true);
    if (graphs_ != nullptr) graphs_->ResetGraphs();
    StatusPanels[0]->setText(QStringLiteral("Sequence #: 0"));
  });
}

void TMainForm::RefreshGraphs() {
  if (graphs_ == nullptr || !graphs_->isVisible()) return;
  engine_->ComputeStatistics();
  graphs_->UpdateGraphs();
  graphs_->repaint();
}

// A failed step shows its error; the windows then stay as they were.
StepOutcome TMainForm::RunStep() {
  const StepResult result = engine_->Step();
  if (result.Outcome == StepOutcome::Failed) prompts_.ShowError(result.Message);
  return result.Outcome;
}

void TMainForm::NextActionExecute() {
  if (RunStep() == StepOutcome::Failed) return;
  ShowSequenceNumber();
  RunCommand([this] { RefreshGraphs(); });
}

// The passes go on after the input is exhausted: they only show the sequence number.
void TMainForm::NextManyActionExecute() {
  const int n = HowManySpinEdit->Value();
  RunCommand([this, n] {
    for (int i = 0; i < n; ++i) {
      if (!engine_->State().EndOfInput) {
        const StepOutcome outcome = RunStep();
        if (outcome == StepOutcome::Failed || outcome == StepOutcome::StoppedByDateOrder) return;
      }
      ShowSequenceNumber();
      statusBar()->repaint();
      RefreshGraphs();
    }
  });
}

void TMainForm::HowManyChangeActionExecute() {
  NextManyAction->setToolTip(QStringLiteral("Next %1 wet day sequences").arg(HowManySpinEdit->Value()));
}

void TMainForm::UseConstLengthActionExecute() {
  EditOptions(*engine_, [this](RunOptions& o) { o.UseConstLength = UseConstLengthAction->isChecked(); });
  UseConstLengthSpinEdit->setEnabled(UseConstLengthAction->isChecked());
  UseConstLengthSpinEdit->SetValue(engine_->State().Options.ConstLength);
}

void TMainForm::DefineConstLengthActionExecute() {
  EditOptions(*engine_, [this](RunOptions& o) { o.ConstLength = UseConstLengthSpinEdit->Value(); });
}

void TMainForm::FileOpenActionExecute() {
  bool reading = FileOpenAction->isChecked();
  std::string name = engine_->State().InputFileName;
  if (reading) {
    RunCommand([&] { reading = OpenInputTextFile(inputFile_, name, prompts_); });
    if (!reading) FileOpenAction->setChecked(false);
  } else {
    inputFile_.close();
  }
  UseConstLengthAction->setEnabled(!reading);
  if (graphs_ != nullptr) graphs_->OriginalRadioButton->setEnabled(!reading);
  if (reading) {
    EnterFileMode(name);
  } else {
    EnterTestMode();
  }
}

void TMainForm::EnterFileMode(const std::string& name) {
  UseConstLengthAction->setChecked(false);
  UseConstLengthSpinEdit->setEnabled(false);
  StatusPanels[1]->setText(ToQString("Input file: " + StripDirectory(name)));
  if (graphs_ != nullptr) graphs_->DisaggregatedRadioButton->setChecked(true);
  RunCommand([&] { engine_->OpenInput(inputFile_, name); });
}

void TMainForm::EnterTestMode() {
  StatusPanels[1]->setText(QStringLiteral("Input file: none"));
  engine_->CloseInput();
}

// Giving up the file choice raises the toggle again: nothing is written then.
void TMainForm::FileSaveActionExecute() {
  bool writing = FileSaveAction->isChecked();
  std::string name = engine_->State().OutputFileName;
  if (writing) {
    RunCommand([&] { writing = OpenOutputTextFile(outputFile_, name, prompts_); });
    if (writing) {
      StatusPanels[2]->setText(ToQString("Output file: " + StripDirectory(name)));
    } else {
      FileSaveAction->setChecked(false);
    }
  } else {
    StatusPanels[2]->setText(QStringLiteral("Ouput file: none"));
    outputFile_.close();
  }
  engine_->SetOutput(writing ? &outputFile_ : nullptr, name);
}

void TMainForm::ClearOutputActionExecute() { vout_.ClearText(); }

void TMainForm::PrintDetailsSpinEditChange() {
  EditOptions(*engine_, [this](RunOptions& o) { o.DetailLevel = PrintDetailsSpinEdit->Value(); });
}

void TMainForm::PrintStatisticsActionExecute() {
  RunCommand([this] { engine_->PrintStatistics(); });
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
}

void TMainForm::ShowGraphsButtonClick() {
  graphs_->setVisible(ShowGraphsButton->isChecked());
  if (graphs_->isVisible()) graphs_->UpdateGraphs();
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
  NextAction->setEnabled(false);
  NextManyAction->setEnabled(false);
}

// Closing the files completes the output on disk; the program ends with this window
// and the other windows close with it without asking (the log's save question too).
void TMainForm::closeEvent(QCloseEvent* event) {
  if (FileSaveAction->isChecked()) outputFile_.close();
  if (FileOpenAction->isChecked()) inputFile_.close();
  vout_.hide();
  event->accept();
  QApplication::quit();
}

}  // namespace nimbra
