// The main window's two files: the daily input it reads and the hourly output it writes.

#include "csv_daily_input.h"
#include "errors.h"
#include "file_prompts.h"
#include "graphs_window.h"
#include "guarded_command.h"
#include "input_file_choice.h"
#include "main_window.h"
#include "qt_prompts.h"

namespace nimbra {

namespace {

const QString kInputCaption = QStringLiteral("Input file: ");
const QString kOutputCaption = QStringLiteral("Output file: ");

}  // namespace

// Opening a file restarts the run, which clears the log: the user is asked first. A
// cancel anywhere leaves the program as it was.
void MainWindow::ToggleInput() {
  const bool reading = inputAction_->isChecked();
  if (!reading) {
    inputFile_.close();
    EnterTestMode();
    return;
  }
  std::string name;
  bool opened = false;
  if (MayClearLog()) RunGuarded(prompts_, [&] { opened = OpenInput(name); });
  if (opened) {
    EnterFileMode(name);
  } else {
    inputAction_->setChecked(false);
  }
}

bool MainWindow::OpenInput(std::string& name) {
  TitleNextDialog(prompts_, QStringLiteral("Open daily rainfall file"));
  name = ChooseInputFile(prompts_);
  if (name.empty()) return false;
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
  ResetGraphs();
  ShowSequenceNumber();
}

void MainWindow::EnterTestMode() {
  constLengthAction_->setEnabled(true);
  if (graphs_ != nullptr) graphs_->SetOriginalAvailable(true);
  ShowFileName(inputPanel_, kInputCaption, std::string());
  engine_->CloseInput();
}

// Giving up the file choice, or a file that cannot be created, raises the toggle again:
// nothing is written then.
void MainWindow::ToggleOutput() {
  if (!outputAction_->isChecked()) return CloseOutput();
  std::string name = engine_->State().OutputFileName;
  bool writing = false;
  TitleNextDialog(prompts_, QStringLiteral("Write hourly rainfall to file"));
  RunGuarded(prompts_, [&] { writing = OpenOutputTextFile(outputFile_, name, prompts_); });
  if (!writing) return CloseOutput();
  ShowFileName(outputPanel_, kOutputCaption, name);
  engine_->SetOutput(&outputFile_, name);
}

void MainWindow::CloseOutput() {
  outputAction_->setChecked(false);
  outputFile_.close();
  ShowFileName(outputPanel_, kOutputCaption, std::string());
  engine_->SetOutput(nullptr, engine_->State().OutputFileName);
}

}  // namespace nimbra
