#pragma once
// The main window: a toolbar that drives every piece of work and a status bar with
// the sequence number and the two files.

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QToolButton>
#include <fstream>
#include <functional>
#include <memory>

#include "IntegerField.h"
#include "engine.h"
#include "prompts.h"

namespace nimbra {

class HelpWindow;
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

  // Run after an input file has set the parameters; the parameters dialog hooks in here.
  std::function<void()> onParametersChanged;

  QAction* InitAction;
  QAction* NextAction;
  QAction* NextManyAction;
  QAction* UseConstLengthAction;
  QAction* FileOpenAction;
  QAction* FileSaveAction;
  QAction* ClearOutputAction;
  QAction* PrintStatisticsAction;
  QToolButton* InitButton;
  QToolButton* NextButton;
  QToolButton* NextManyButton;
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

 public slots:
  void InitActionExecute();
  void NextActionExecute();
  void NextManyActionExecute();
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
  void BuildStatusBar();
  QAction* MakeAction(int image, const QString& hint, bool checkable, void (TMainForm::*handler)());
  QToolButton* AddButton(QToolBar* bar, QAction* action);
  QToolButton* AddButton(QToolBar* bar, int image, const QString& hint, bool checkable,
                         void (TMainForm::*handler)());
  // Runs a command; an error ends it and is shown, and what was written stays.
  void RunCommand(const std::function<void()>& command);
  void ShowSequenceNumber();
  // After a step: the graphs follow the run while they are shown.
  void RefreshGraphs();
  void EnterTestMode();
  void EnterFileMode(const std::string& name);
  StepOutcome RunStep();

  TVout& vout_;
  Prompts& prompts_;
  HelpWindow& help_;
  std::unique_ptr<Engine> engine_;
  TBLParametersForm* parameters_ = nullptr;
  TGraphForm* graphs_ = nullptr;
  TRepetitionOptions* repetitions_ = nullptr;
  std::ifstream inputFile_;
  std::ofstream outputFile_;
};

}  // namespace nimbra
