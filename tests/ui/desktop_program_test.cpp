#include "desktop_program.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

#include "chart_zoom.h"
#include "graphs_window.h"
#include "log_window.h"
#include "main_window.h"
#include "parameters_dialog.h"
#include "repetition_dialog.h"
#include "scripted_prompts.h"

using namespace nimbra;

// The windows as the program starts them, working together.
class DesktopProgramTest : public QObject {
  Q_OBJECT

 private slots:
  void startShowsOnlyTheMainWindowWithTheDefaults();
  void repetitionOptionsFollowTheirToggle();
  void parametersLineReloadsTheParametersDialog();
  void graphsFollowTheRunWhileShown();
  void initialiseAndOpeningAFileResetTheZoom();
};

void DesktopProgramTest::startShowsOnlyTheMainWindowWithTheDefaults() {
  ScriptedPrompts prompts;
  DesktopProgram program(prompts);
  QVERIFY(program.MainForm().isVisible());
  QVERIFY(program.Vout().isHidden());
  QVERIFY(program.BLParametersForm().isHidden());
  QVERIFY(program.RepetitionOptions().isHidden());
  QVERIFY(program.MainForm().ParametersButton->isEnabled());
  QCOMPARE(program.BLParametersForm().Edit1->text(), QStringLiteral("0.9396"));
  QCOMPARE(program.RepetitionOptions().RepAllowedSpinEdit->Value(), 5000);
}

void DesktopProgramTest::repetitionOptionsFollowTheirToggle() {
  ScriptedPrompts prompts;
  DesktopProgram program(prompts);
  TMainForm& main = program.MainForm();
  main.RepOptionsButton->click();
  QVERIFY(program.RepetitionOptions().isVisible());
  program.RepetitionOptions().RepOKButton->click();
  QVERIFY(program.RepetitionOptions().isHidden());
  QVERIFY(!main.RepOptionsButton->isChecked());
}

void DesktopProgramTest::parametersLineReloadsTheParametersDialog() {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("rain.txt")).toStdString();
  std::ofstream(path, std::ios::binary) << "D 0\r\nP 30 0.5 0.1 0.02 3 0.03 140 70\r\n5 1 3 4.0\r\n";
  ScriptedPrompts prompts;
  prompts.QueueOpen(path);
  DesktopProgram program(prompts);
  program.MainForm().FileOpenAction->trigger();
  const EngineState& s = program.MainForm().engine().State();
  QCOMPARE(s.Parameters.Lambda, 0.5);
  QVERIFY(s.GammaIntensity);  // SigmaX differs from MuX
  QCOMPARE(program.BLParametersForm().Edit1->text(), QStringLiteral("0.5"));
  QCOMPARE(program.BLParametersForm().SpinEdit1->Value(), 30);
}

void DesktopProgramTest::graphsFollowTheRunWhileShown() {
  ScriptedPrompts prompts;
  DesktopProgram program(prompts);
  TMainForm& main = program.MainForm();
  TGraphForm& graphs = program.GraphForm();
  QVERIFY(graphs.isHidden());
  main.ShowGraphsButton->click();
  QVERIFY(graphs.isVisible());
  main.NextActionExecute();
  QVERIFY(QTest::qWaitFor([&main] { return !main.RunGoing(); }, 60000));
  // The statistics are computed for the graphs after each step while they are shown.
  QCOMPARE(main.engine().State().WetDayStatsSynthetic.Count, 24 * main.engine().State().OriginalDaily.Count);
  graphs.close();
  QVERIFY(!main.ShowGraphsButton->isChecked());
  prompts.QueueConfirmOrCancel(Answer::No);  // the log goes unsaved
  main.InitActionExecute();
  QCOMPARE(main.engine().State().Storms.Count, 0);
}

// The charts show the new run whole; the Marginal page shows its chosen series.
void DesktopProgramTest::initialiseAndOpeningAFileResetTheZoom() {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("rain.txt")).toStdString();
  std::ofstream(path, std::ios::binary) << "5 1 3 4.0\r\n";
  ScriptedPrompts prompts;
  DesktopProgram program(prompts);
  TGraphForm& graphs = program.GraphForm();
  const auto zoomAll = [&graphs] {
    for (int page = 0; page < TGraphForm::kPageCount; ++page)
      graphs.ChartView(page)->ZoomInto(graphs.ChartView(page)->rect().adjusted(20, 20, -20, -20));
  };
  const auto allWhole = [&graphs] {
    for (int page = 0; page < TGraphForm::kPageCount; ++page)
      if (!graphs.ChartView(page)->WholeView()) return false;
    return true;
  };
  program.MainForm().ShowGraphsButton->click();
  zoomAll();
  QVERIFY(!allWhole());
  program.MainForm().InitActionExecute();
  QVERIFY(allWhole());
  zoomAll();
  prompts.QueueOpen(path);
  program.MainForm().FileOpenAction->trigger();
  QVERIFY(allWhole());
  graphs.ShowPage(TGraphForm::kMarginalPage);
  QVERIFY(graphs.AllRadioButton->isChecked());
}

QTEST_MAIN(DesktopProgramTest)
#include "desktop_program_test.moc"
