#pragma once
// The main window: a menu bar and a toolbar that drive every piece of work, and a status
// bar with the sequence number, the two files and the progress of a run of steps. Runs
// of steps go on in a worker thread; the window stays alive and can stop them.

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>

#include "command_lock.h"
#include "csv_daily_input.h"
#include "engine.h"
#include "integer_field.h"
#include "log_relay.h"
#include "prompts.h"
#include "run_notices.h"

class QProgressBar;

namespace nimbra {

class HelpWindow;
class StepRunner;
class ParametersDialog;
class GraphsWindow;
class RepetitionDialog;
class LogWindow;

class MainWindow : public QMainWindow, public UserInterface {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 2;

  MainWindow(LogWindow& logWindow, Prompts& prompts, HelpWindow& help);
  ~MainWindow() override;

  Engine& engine() { return *engine_; }
  // The other windows exist after the main window; their buttons work from then on.
  void AttachWindows(ParametersDialog& parameters, GraphsWindow& graphs, RepetitionDialog& repetitions);

  // What the engine asks of the windows.
  void ShowMessage(const std::string& text) override;
  void ParametersChanged() override;
  void DisableNextCommands() override;

  // Whether a run of steps is going on in the worker thread.
  bool RunGoing() const;
  // True means go on: the log holds nothing unsaved, or the user saved it or chose not to.
  bool MayClearLog();
  // True means go on with a new run: the log and the output file were dealt with.
  bool MayRestart();

  // Opens a daily file as the input button does once the file is chosen.
  void OpenInputFile(const std::string& name);
  // The File menu's list of files to open again.
  void ShowRecentFiles(const QStringList& files);
  // Shows the count of a run, the detail level and the constant length the engine holds.
  void LoadRunSettings(int count);
  int CountAsked() const { return countField_->ValueInRange(); }

  // Run after an input file has set the parameters; the parameters dialog hooks in here.
  std::function<void()> onParametersChanged;

 signals:
  void InputOpened(const QString& path);
  // The window closes for good: what the user set may be kept.
  void Closing();

 public slots:
  void Initialise();
  void StepOnce();
  void StepMany();
  void StopRun();
  void ShowCountInHint();
  void ToggleConstLength();
  void StoreConstLength();
  void ToggleInput();
  void ToggleOutput();
  void ClearLog();
  void StoreDetailLevel();
  void PrintStatistics();
  void ToggleGraphs();
  void EditParameters();
  void ToggleRepetitions();
  void ShowAbout();
  void ShowHelpContents();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void LoadStartValues();
  void BuildToolBar();
  void BuildRunButtons(QToolBar* bar);
  void BuildFileButtons(QToolBar* bar);
  void BuildWindowButtons(QToolBar* bar);
  void BuildStatusBar();
  QLabel* AddStatusPanel(const char* name, const QString& text, int stretch);
  void BuildMenus();
  void NameMenuEntries();
  QAction* MakeAction(const char* name, int image, const QString& hint, bool checkable,
                      void (MainWindow::*handler)());
  void ShowSequenceNumber();
  void ShowFileName(QLabel* panel, const QString& caption, const std::string& name);
  // The graphs follow the run while they are shown.
  void RefreshGraphs();
  void ResetGraphs();
  void EnterTestMode();
  void EnterFileMode(const std::string& name);
  void OpenNamedInput(const std::string& name);
  bool OpenInput(const std::string& name);
  bool ReadCsvInput(const std::string& name);
  void NoteCsvInput(const std::string& name);
  void CloseOutput();
  void CloseInput();
  void OpenOutput(const std::string& name);
  bool MayRestartOutput();
  void EnableNextCommands();
  void RewindInput();
  void TakeFileValues();
  void ChooseParameterSets();

  // The run of steps in the worker thread.
  void StartRun(int count);
  void StepDone(int done, int count, const StepResult& result);
  void RunFinished(int done, bool abandoned);
  void NoteStop(int done, bool abandoned);
  void ShowRepeat(const RepeatedMessage& repeat);

  QAction* initialiseAction_;
  QAction* nextAction_;
  QAction* nextManyAction_;
  QAction* stopAction_;
  QAction* constLengthAction_;
  QAction* inputAction_;
  QAction* outputAction_;
  QAction* saveLogAction_;
  QAction* parameterSetsAction_;
  QAction* quitAction_;
  QAction* clearLogAction_;
  QAction* statisticsAction_;
  QAction* graphsAction_;
  QAction* parametersAction_;
  QAction* repetitionsAction_;
  QAction* aboutAction_;
  QAction* helpAction_;
  QMenu* recentMenu_;
  IntegerField* countField_;
  IntegerField* constLengthField_;
  IntegerField* detailLevelField_;
  QLabel* sequencePanel_;
  QLabel* inputPanel_;
  QLabel* outputPanel_;
  QLabel* warningPanel_;
  QProgressBar* progress_;
  LogWindow& logWindow_;
  Prompts& prompts_;
  HelpWindow& help_;
  LogRelay log_;
  RunNotices notices_;
  std::unique_ptr<Engine> engine_;
  StepRunner* runner_;
  CommandLock runLock_;
  ParametersDialog* parameters_ = nullptr;
  GraphsWindow* graphs_ = nullptr;
  RepetitionDialog* repetitions_ = nullptr;
  std::ifstream inputFile_;
  // A CSV daily file's first station with its parameter sets, read in place of inputFile_.
  std::optional<CsvDailyInput> csvInput_;
  std::ofstream outputFile_;
  // The input is exhausted until the next Initialise.
  bool nextCommandsOff_ = false;
  // The user closed the window during a run: it closes when the run has stopped.
  bool closeAfterRun_ = false;
  // The steps the current run was asked for.
  int runCount_ = 0;
};

}  // namespace nimbra
