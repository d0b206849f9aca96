// The main window's run of steps: started on the worker thread, followed step by step,
// stopped after the current step, and ended with the commands given back.
#include <QApplication>
#include <QCloseEvent>
#include <QProgressBar>
#include <QStatusBar>

#include "graphs_window.h"
#include "guarded_command.h"
#include "log_window.h"
#include "main_window.h"
#include "qt_prompts.h"
#include "step_runner.h"
#include "window_places.h"

namespace nimbra {

bool TMainForm::RunGoing() const { return runner_->Running(); }

void TMainForm::NextActionExecute() { StartRun(1); }

// A count typed beyond its bounds is brought within them when it is used.
void TMainForm::NextManyActionExecute() {
  const int count = HowManySpinEdit->ValueInRange();
  HowManySpinEdit->SetValue(count);
  StartRun(count);
}

void TMainForm::StopActionExecute() {
  if (!RunGoing()) return;
  runner_->Stop();
  StopAction->setEnabled(false);
  statusBar()->showMessage(QStringLiteral("Stopping after the current sequence ..."));
}

// A single step shows a busy bar: it has no steps to count.
void TMainForm::StartRun(int count) {
  if (RunGoing()) return;
  runLock_.Lock();
  StopAction->setEnabled(true);
  Progress->setRange(0, count > 1 ? count : 0);
  Progress->setValue(0);
  Progress->show();
  WarningPanel->hide();
  if (graphs_ != nullptr) graphs_->SetRunGoing(true);
  log_.BeginRun();
  notices_.BeginRun();
  runner_->Start(count);
}

// The worker waits meanwhile: the windows may read the engine.
void TMainForm::StepDone(int done, int /*count*/, const StepResult& result) {
  if (Progress->maximum() > 0) Progress->setValue(done);
  ShowSequenceNumber();
  if (result.Outcome == StepOutcome::Failed) prompts_.ShowError(result.Message);
  RunGuarded(prompts_, [this] { RefreshGraphs(); });
  runner_->Release();
}

void TMainForm::RunFinished() {
  log_.EndRun();
  const std::vector<RepeatedMessage> repeats = notices_.EndRun();
  Progress->hide();
  statusBar()->clearMessage();
  StopAction->setEnabled(false);
  runLock_.Unlock();
  if (nextCommandsOff_) DisableNextCommands();
  if (graphs_ != nullptr) graphs_->SetRunGoing(false);
  for (const RepeatedMessage& repeat : repeats) {
    vout_.AddLine(RepeatNote(repeat));
    ShowRepeat(repeat);
  }
  if (closeAfterRun_) close();
}

void TMainForm::ShowRepeat(const RepeatedMessage& repeat) {
  WarningPanel->setText(ToQString(RepeatNote(repeat)));
  WarningPanel->setToolTip(ToQString(repeat.text));
  WarningPanel->show();
}

// A close during a run stops the run first; the window closes when it has stopped. The
// log is not lost without a question; the output file is completed on disk.
void TMainForm::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (RunGoing()) {
    closeAfterRun_ = true;
    StopActionExecute();
    return;
  }
  closeAfterRun_ = false;
  if (!MayClearLog()) return;
  RememberPlace(*this, QStringLiteral("MainWindow"));
  RememberPlace(vout_, QStringLiteral("LogWindow"));
  if (graphs_ != nullptr) RememberPlace(*graphs_, QStringLiteral("GraphsWindow"));
  if (FileSaveAction->isChecked()) outputFile_.close();
  if (FileOpenAction->isChecked()) inputFile_.close();
  vout_.hide();
  event->accept();
  QApplication::quit();
}

}  // namespace nimbra
