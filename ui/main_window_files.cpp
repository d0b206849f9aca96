// The main window's two files: the daily input it reads and the hourly output it writes.

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
  bool opened = false;
  if (MayClearLog()) RunGuarded(prompts_, [&] { opened = OpenInput(name); });
  if (opened) {
    EnterFileMode(name);
  } else {
    inputAction_->setChecked(false);
  }
}

// Test mode is a new run: the file's dates must not linger in it.
void MainWindow::CloseInput() {
  if (!MayRestart()) return inputAction_->setChecked(true);
  inputFile_.close();
  EnterTestMode();
}

bool MainWindow::OpenInput(std::string& name) {
  TitleNextDialog(prompts_, QStringLiteral("Open daily rainfall file"));
  name = ChooseInputFile(prompts_);
  if (name.empty()) return false;
  if (engine_->State().WriteToFile && SameFile(name, engine_->State().OutputFileName)) {
    prompts_.ShowError(InputAsOutputMessage(engine_->State().OutputFileName, name));
    return false;
  }
  if (!MayRestartOutput()) return false;
  if (inputFile_.is_open()) inputFile_.close();
  stationTaken_.clear();
  if (IsCsvFile(name)) {
    const CsvDailyStation station = ReadFirstCsvStation(name);
    csvInput_.clear();
    csvInput_.str(station.ClassicText);
    input_ = &csvInput_;
    stationTaken_ = StationTakenLine(station, name);
    return true;
  }
  input_ = &inputFile_;
  inputFile_.open(name, std::ios::in | std::ios::binary);
  if (!inputFile_.is_open()) throw InOutError("Input file " + name + " cannot be opened for reading");
  return true;
}

void MainWindow::EnterFileMode(const std::string& name) {
  constLengthAction_->setChecked(false);
  constLengthAction_->setEnabled(false);
  constLengthField_->setEnabled(false);
  ShowFileName(inputPanel_, kInputCaption, name);
  RunGuarded(prompts_, [&] { engine_->OpenInput(*input_, name); });
  if (!stationTaken_.empty()) log_.AddLine(stationTaken_);
  if (graphs_ != nullptr) graphs_->SetOriginalAvailable(false);
  EnableNextCommands();
  ResetGraphs();
  ShowSequenceNumber();
}

void MainWindow::EnterTestMode() {
  constLengthAction_->setEnabled(true);
  if (graphs_ != nullptr) graphs_->SetOriginalAvailable(true);
  ShowFileName(inputPanel_, kInputCaption, std::string());
  engine_->CloseInput();
  RunGuarded(prompts_, [this] { engine_->Initialise(); });
  EnableNextCommands();
  ResetGraphs();
  ShowSequenceNumber();
}

// Giving up the file choice, or a file that cannot be created, raises the toggle again:
// nothing is written then.
void MainWindow::ToggleOutput() {
  if (!outputAction_->isChecked()) return CloseOutput();
  std::optional<std::string> name;
  const std::string input = engine_->State().ReadFromFile ? engine_->State().InputFileName : std::string();
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
  const std::string name = engine_->State().OutputFileName;
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

void MainWindow::CloseOutput() {
  outputAction_->setChecked(false);
  outputFile_.close();
  ShowFileName(outputPanel_, kOutputCaption, std::string());
  engine_->SetOutput(nullptr, engine_->State().OutputFileName);
}

}  // namespace nimbra
