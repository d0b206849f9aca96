#pragma once
// The main window: a menu bar and a toolbar that drive every piece of work, and a status
// bar with the sequence number, the two files and the progress of a run of steps. Runs
// of steps go on in a worker thread; the window stays alive and can stop them.

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QToolButton>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "command_lock.h"
#include "engine.h"
#include "integer_field.h"
#include "log_relay.h"
#include "prompts.h"
#include "run_notices.h"

class QProgressBar;

namespace nimbra {

class HelpWindow;
class StepRunner;
class TBLParametersForm;
class TGraphForm;
class TRepetitionOptions;
class TVout;

class TMainForm : public QMainWindow, public UserInterface {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 2;

  TMainForm(TVout& vout, Prompts& prompts, HelpWindow& help);
  ~TMainForm() override;

  Engine& engine() { return *engine_; }
  // The other windows exist after the main window; their buttons work from then on.
  void AttachWindows(TBLParametersForm& parameters, TGraphForm& graphs, TRepetitionOptions& repetitions);

  // What the engine asks of the windows.
  void ShowMessage(const std::string& text) override;
  void ParametersChanged() override;
  void DisableNextCommands() override;

  // Whether a run of steps is going on in the worker thread.
  bool RunGoing() const;
  // True means go on: the log holds nothing unsaved, or the user saved it or chose not to.
  bool MayClearLog();

  // Run after an input file has set the parameters; the parameters dialog hooks in here.
  std::function<void()> onParametersChanged;

  QAction* InitAction;
  QAction* NextAction;
  QAction* NextManyAction;
  QAction* StopAction;
  QAction* UseConstLengthAction;
  QAction* FileOpenAction;
  QAction* FileSaveAction;
  QAction* SaveLogAction;
  QAction* QuitAction;
  QAction* ClearOutputAction;
  QAction* PrintStatisticsAction;
  QToolButton* InitButton;
  QToolButton* NextButton;
  QToolButton* NextManyButton;
  QToolButton* StopButton;
  QToolButton* UseConstLengthButton;
  QToolButton* OpenFileButton;
  QToolButton* FileSaveButton;
  QToolButton* ClearOutputButton;
  QToolButton* PrintStatisticsButton;
  QToolButton* ShowGraphsButton;
  QToolButton* ParametersButton;
  QToolButton* RepOptionsButton;
  QToolButton* HelpAboutButton;
  QToolButton* HelpButton;
  IntegerField* HowManySpinEdit;
  IntegerField* UseConstLengthSpinEdit;
  IntegerField* PrintDetailsSpinEdit;
  QLabel* StatusPanels[3];
  QLabel* WarningPanel;
  QProgressBar* Progress;

 public slots:
  void InitActionExecute();
  void NextActionExecute();
  void NextManyActionExecute();
  void StopActionExecute();
  void HowManyChangeActionExecute();
  void UseConstLengthActionExecute();
  void DefineConstLengthActionExecute();
  void FileOpenActionExecute();
  void FileSaveActionExecute();
  void ClearOutputActionExecute();
  void PrintDetailsSpinEditChange();
  void PrintStatisticsActionExecute();
  void ShowGraphsButtonClick();
  void ParametersButtonClick();
  void RepOptionsButtonClick();
  void HelpAboutButtonClick();
  void HelpButtonClick();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void BuildToolBar();
  void BuildRunButtons(QToolBar* bar);
  void BuildFileButtons(QToolBar* bar);
  void BuildWindowButtons(QToolBar* bar);
  void BuildStatusBar();
  void BuildMenus();
  QAction* MakeAction(int image, const QString& hint, bool checkable, void (TMainForm::*handler)());
  QToolButton* AddButton(QToolBar* bar, QAction* action);
  QToolButton* AddButton(QToolBar* bar, int image, const QString& hint, bool checkable,
                         void (TMainForm::*handler)());
  void ShowSequenceNumber();
  void ShowFileName(int panel, const QString& caption, const std::string& name);
  // The graphs follow the run while they are shown.
  void RefreshGraphs();
  void ResetGraphs();
  void EnterTestMode();
  void EnterFileMode(const std::string& name);
  bool OpenInput(std::string& name);
  void CloseOutput();

  // The run of steps in the worker thread.
  void StartRun(int count);
  void StepDone(int done, int count, const StepResult& result);
  void RunFinished();
  void ShowRepeat(const RepeatedMessage& repeat);

  TVout& vout_;
  Prompts& prompts_;
  HelpWindow& help_;
  LogRelay log_;
  RunNotices notices_;
  std::unique_ptr<Engine> engine_;
  StepRunner* runner_;
  CommandLock runLock_;
  TBLParametersForm* parameters_ = nullptr;
  TGraphForm* graphs_ = nullptr;
  TRepetitionOptions* repetitions_ = nullptr;
  std::ifstream inputFile_;
  // A CSV daily file's first station, as the lines of a classic daily file.
  std::istringstream csvInput_;
  std::istream* input_ = &inputFile_;
  std::string stationTaken_;
  std::ofstream outputFile_;
  // The input is exhausted until the next Initialise.
  bool nextCommandsOff_ = false;
  // The user closed the window during a run: it closes when the run has stopped.
  bool closeAfterRun_ = false;
};

}  // namespace nimbra
