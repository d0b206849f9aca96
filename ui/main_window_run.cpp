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

bool MainWindow::RunGoing() const { return runner_->Running(); }

void MainWindow::StepOnce() { StartRun(1); }

// A count typed beyond its bounds is brought within them when it is used.
void MainWindow::StepMany() {
  const int count = countField_->ValueInRange();
  countField_->SetValue(count);
  StartRun(count);
}

void MainWindow::StopRun() {
  if (!RunGoing()) return;
  runner_->Stop();
  log_.LetWorkerGo();
  stopAction_->setEnabled(false);
  statusBar()->showMessage(QStringLiteral("Stopping ..."));
}

// A single step shows a busy bar: it has no steps to count.
void MainWindow::StartRun(int count) {
  if (RunGoing()) return;
  runCount_ = count;
  runLock_.Lock();
  stopAction_->setEnabled(true);
  progress_->setRange(0, count > 1 ? count : 0);
  progress_->setValue(0);
  progress_->show();
  warningPanel_->hide();
  if (graphs_ != nullptr) graphs_->SetRunGoing(true);
  log_.BeginRun();
  notices_.BeginRun();
  runner_->Start(count);
}

// The worker waits meanwhile: the windows may read the engine.
void MainWindow::StepDone(int done, int /*count*/, const StepResult& result) {
  if (progress_->maximum() > 0) progress_->setValue(done);
  ShowSequenceNumber();
  // A dated input's sequence takes its month's set.
  if (engine_->View().FromDatedInput) ParametersChanged();
  if (result.Outcome == StepOutcome::Failed) {
    log_.AddLine("Error: " + result.Message);
    prompts_.ShowError(result.Message);
  }
  // Charts show only what this step produced: a step that produced nothing empties them.
  if (result.Outcome == StepOutcome::Done) {
    RunGuarded(prompts_, [this] { RefreshGraphs(); });
  } else {
    ResetGraphs();
  }
  runner_->Release();
}

void MainWindow::RunFinished(int done, bool abandoned) {
  const bool stopped = runner_->Stopping() && (abandoned || done < runCount_);
  if (stopped) NoteStop(done, abandoned);
  log_.EndRun();
  const std::vector<RepeatedMessage> repeats = notices_.EndRun();
  progress_->hide();
  statusBar()->clearMessage();
  stopAction_->setEnabled(false);
  runLock_.Unlock();
  if (nextCommandsOff_) DisableNextCommands();
  if (graphs_ != nullptr) graphs_->SetRunGoing(false);
  for (const RepeatedMessage& repeat : repeats) {
    logWindow_.AddLine(RepeatNote(repeat));
    ShowRepeat(repeat);
  }
  if (closeAfterRun_) close();
}

// A stopped run says in the log and the status bar where it stopped. The engine has
// counted an abandoned sequence already.
void MainWindow::NoteStop(int done, bool abandoned) {
  const int last = engine_->View().SequenceNumber - (abandoned ? 1 : 0);
  if (abandoned) {
    log_.AddLine("Sequence #" + std::to_string(last + 1) + " was abandoned: it is not in the output");
  }
  const std::string note = "Stopped after sequence " + std::to_string(last) + " (" + std::to_string(done) +
                           " of " + std::to_string(runCount_) + " asked for)";
  log_.AddLine(note);
  // In a panel of its own: a status message would hide the sequence and file panels.
  warningPanel_->setText(ToQString(note));
  warningPanel_->setToolTip(QString());
  warningPanel_->show();
}

void MainWindow::ShowRepeat(const RepeatedMessage& repeat) {
  warningPanel_->setText(ToQString(RepeatNote(repeat)));
  warningPanel_->setToolTip(ToQString(repeat.text));
  warningPanel_->show();
}

// A close during a run stops the run first; the window closes when it has stopped. The
// log is not lost without a question; the output file is completed on disk.
void MainWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (RunGoing()) {
    closeAfterRun_ = true;
    StopRun();
    return;
  }
  closeAfterRun_ = false;
  if (!MayClearLog()) return;
  RememberPlace(*this, QStringLiteral("MainWindow"));
  RememberPlace(logWindow_, QStringLiteral("LogWindow"));
  if (graphs_ != nullptr) RememberPlace(*graphs_, QStringLiteral("GraphsWindow"));
  if (outputAction_->isChecked()) outputFile_.close();
  if (inputAction_->isChecked()) inputFile_.close();
  logWindow_.hide();
  emit Closing();
  event->accept();
  QApplication::quit();
}

}  // namespace nimbra
