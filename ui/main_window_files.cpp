// The main window's two files: the daily input it reads and the hourly output it writes.

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>

#include "csv_daily_input.h"
#include "errors.h"
#include "file_prompts.h"
#include "graphs_window.h"
#include "guarded_command.h"
#include "input_file_choice.h"
#include "main_window.h"
#include "output_file_choice.h"
#include "qt_prompts.h"

namespace nimbra {

namespace {

const QString kInputCaption = QStringLiteral("Input file: ");
const QString kOutputCaption = QStringLiteral("Output file: ");

}  // namespace

// Opening a file restarts the run, which clears the log: the user is asked first. A
// cancel anywhere leaves the program as it was.
void MainWindow::ToggleInput() {
  if (!inputAction_->isChecked()) return CloseInput();
  std::string name;
  if (MayClearLog()) {
    TitleNextDialog(prompts_, QStringLiteral("Open daily rainfall file"));
    name = ChooseInputFile(prompts_);
  }
  OpenNamedInput(name);
}

// A file named on the command line or dropped on the window opens as a chosen one does,
// in place of the file open now.
void MainWindow::OpenInputFile(const std::string& name) {
  if (RunGoing()) return;
  if (inputAction_->isChecked()) {
    CloseInput();
    if (engine_->View().ReadFromFile) return;  // the user kept the run
  }
  if (!MayClearLog()) return;
  inputAction_->setChecked(true);
  OpenNamedInput(name);
}

void MainWindow::OpenNamedInput(const std::string& name) {
  bool opened = false;
  if (!name.empty()) RunGuarded(prompts_, [&] { opened = OpenInput(name); });
  if (opened) {
    EnterFileMode(name);
    emit InputOpened(ToQString(name));
  } else {
    inputAction_->setChecked(false);
  }
}

// Test mode is a new run: the file's dates must not linger in it.
void MainWindow::CloseInput() {
  inputAction_->setChecked(false);
  if (!MayRestart()) return inputAction_->setChecked(true);
  inputFile_.close();
  EnterTestMode();
}

bool MainWindow::OpenInput(const std::string& name) {
  if (!FileIsPresent(name)) throw InOutError("Input file " + name + " does not exist");
  if (engine_->View().WriteToFile && SameFile(name, engine_->View().OutputFileName)) {
    prompts_.ShowError(InputAsOutputMessage(engine_->View().OutputFileName, name));
    return false;
  }
  csvInput_.reset();  // no file is open in the engine now
  if (IsCsvFile(name) && !ReadCsvInput(name)) return false;
  if (!MayRestartOutput()) return false;
  if (inputFile_.is_open()) inputFile_.close();
  if (csvInput_) return true;
  inputFile_.open(name, std::ios::in | std::ios::binary);
  if (!inputFile_.is_open()) throw InOutError("Input file " + name + " cannot be opened for reading");
  return true;
}

// A CSV daily file runs with the parameter sets the user chooses for it.
bool MainWindow::ReadCsvInput(const std::string& name) {
  TitleNextDialog(prompts_,
                  QStringLiteral("Open the parameter sets for %1").arg(ToQString(StripDirectory(name))));
  const std::string parameters = ChooseInputFile(prompts_, kParameterFileFilters);
  if (parameters.empty()) return false;
  csvInput_ = ReadCsvDailyInput(name, parameters, engine_->View().Options);
  return true;
}

// The CSV input open now, with the sets of another parameters file: the run starts again
// from its first day. A cancel or a file refused leaves the run as it was.
void MainWindow::ChooseParameterSets() {
  if (!csvInput_ || RunGoing() || !MayRestart()) return;
  const std::string name = engine_->View().InputFileName;
  bool read = false;
  RunGuarded(prompts_, [&] { read = ReadCsvInput(name); });
  if (!read) return;
  EnterFileMode(name);
}

void MainWindow::NoteCsvInput(const std::string& name) {
  log_.AddLine(StationTakenLine(*csvInput_, name));
  for (const std::string& warning : csvInput_->Warnings) log_.AddLine("Warning: " + warning);
}

void MainWindow::EnterFileMode(const std::string& name) {
  constLengthAction_->setChecked(false);
  constLengthAction_->setEnabled(false);
  constLengthField_->setEnabled(false);
  ShowFileName(inputPanel_, kInputCaption, name);
  RunGuarded(prompts_, [&] {
    if (csvInput_) {
      engine_->OpenDatedInput(csvInput_->Input, name);
      NoteCsvInput(name);
    } else {
      engine_->OpenInput(inputFile_, name);
    }
  });
  if (graphs_ != nullptr) graphs_->SetOriginalAvailable(false);
  parameterSetsAction_->setEnabled(csvInput_.has_value());
  EnableNextCommands();
  ResetGraphs();
  ShowSequenceNumber();
  ParametersChanged();
}

void MainWindow::EnterTestMode() {
  constLengthAction_->setEnabled(true);
  if (graphs_ != nullptr) graphs_->SetOriginalAvailable(true);
  ShowFileName(inputPanel_, kInputCaption, std::string());
  engine_->CloseInput();
  csvInput_.reset();
  parameterSetsAction_->setEnabled(false);
  RunGuarded(prompts_, [this] { engine_->Initialise(); });
  EnableNextCommands();
  ResetGraphs();
  ShowSequenceNumber();
  ParametersChanged();
}

// Giving up the file choice, or a file that cannot be created, raises the toggle again:
// nothing is written then.
void MainWindow::ToggleOutput() {
  if (!outputAction_->isChecked()) return CloseOutput();
  std::optional<std::string> name;
  const std::string input = engine_->View().ReadFromFile ? engine_->View().InputFileName : std::string();
  RunGuarded(prompts_, [&] { name = ChooseOutputFile(prompts_, input); });
  if (!name) return CloseOutput();
  OpenOutput(*name);
}

void MainWindow::OpenOutput(const std::string& name) {
  outputFile_.close();
  outputFile_.clear();
  outputFile_.open(name, std::ios::out | std::ios::trunc | std::ios::binary);
  if (!outputFile_.is_open()) {
    prompts_.ShowError("Output file " + name + " cannot be created");
    return CloseOutput();
  }
  outputAction_->setChecked(true);
  ShowFileName(outputPanel_, kOutputCaption, name);
  engine_->SetOutput(&outputFile_, name);
}

// A new run starts its output anew, unless the user keeps the hours written so far.
bool MainWindow::MayRestartOutput() {
  if (!outputFile_.is_open() || outputFile_.tellp() <= 0) return true;
  const std::string name = engine_->View().OutputFileName;
  switch (prompts_.ConfirmOrCancel("Output file " + name +
                                   " holds the hours of the run so far.\r\n\r\nStart it anew for the new "
                                   "run? No writes the new run after them.")) {
    case Answer::Yes:
      OpenOutput(name);
      return true;
    case Answer::No:
      return true;
    case Answer::Cancel:
      break;
  }
  return false;
}

bool MainWindow::MayRestart() { return MayClearLog() && MayRestartOutput(); }

void MainWindow::ShowRecentFiles(const QStringList& files) {
  recentMenu_->clear();
  for (int k = 0; k < files.size(); ++k) {
    const QString path = files[k];
    QAction* action = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(k + 1).arg(path));
    connect(action, &QAction::triggered, this, [this, path] { OpenInputFile(FromQString(path)); });
  }
  recentMenu_->setEnabled(!files.isEmpty());
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (!urls.isEmpty() && urls.first().isLocalFile()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return;
  event->acceptProposedAction();
  const std::string path = FromQString(urls.first().toLocalFile());
  // After the drop has ended: opening asks questions of its own.
  QMetaObject::invokeMethod(
      this, [this, path] { OpenInputFile(path); }, Qt::QueuedConnection);
}

void MainWindow::CloseOutput() {
  outputAction_->setChecked(false);
  outputFile_.close();
  ShowFileName(outputPanel_, kOutputCaption, std::string());
  engine_->SetOutput(nullptr, engine_->View().OutputFileName);
}

}  // namespace nimbra
