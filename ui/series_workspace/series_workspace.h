#pragma once
// The series workspace: a hydrologist's whole job on dated records in one window, a page
// per step (records, parameters, fit, calibrate, disaggregate, compare), and its help topic
// on F1 and in the Help menu. The pages ask the
// job layer for each result on a worker thread and show it; the window only passes what
// one page made to the next.

#include <QLabel>
#include <QMainWindow>
#include <QTabWidget>

#include "prompts.h"

namespace nimbra {

class CalibratePage;
class HelpWindow;
class ComparePage;
class DisaggregatePage;
class FitPage;
class ParametersPage;
class RecordsPage;

class SeriesWorkspace : public QMainWindow {
  Q_OBJECT

 public:
  SeriesWorkspace(Prompts& prompts, HelpWindow& help, QWidget* parent = nullptr);
  ~SeriesWorkspace() override;

  // The window's own actions: Run on the Calibrate and Disaggregate pages checks first
  // that the records and a saved parameters file are there.
  void CalibrateActionExecute();
  void DisaggregateActionExecute();

  QTabWidget* Pages = nullptr;
  RecordsPage* Records = nullptr;
  ParametersPage* Parameters = nullptr;
  FitPage* Fit = nullptr;
  CalibratePage* Calibrate = nullptr;
  DisaggregatePage* Disaggregate = nullptr;
  ComparePage* Comparison = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Connect();
  void AddHelpMenu(HelpWindow& help);
  void RememberChoices();
  // The saved parameters file, or nothing after saying why there is none.
  QString SavedParameters();

  Prompts& prompts_;
};

}  // namespace nimbra
