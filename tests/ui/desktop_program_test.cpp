#include "desktop_program.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

#include "chart_zoom.h"
#include "child_widget.h"
#include "graphs_window.h"
#include "log_window.h"
#include "main_window.h"
#include "parameters_dialog.h"
#include "repetition_dialog.h"
#include "scripted_prompts.h"
#include "stair_series.h"

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
  void chartsShowOnlyTheCurrentRun();
};

void DesktopProgramTest::startShowsOnlyTheMainWindowWithTheDefaults() {
  ScriptedPrompts prompts;
  DesktopProgram program(prompts);
  QVERIFY(program.Main().isVisible());
  QVERIFY(program.Log().isHidden());
  QVERIFY(program.Parameters().isHidden());
  QVERIFY(program.Repetitions().isHidden());
  QVERIFY(Child<QAction>(&program.Main(), "parameters")->isEnabled());
  QCOMPARE(Child<QLineEdit>(&program.Parameters(), "lambda")->text(), QStringLiteral("0.9396"));
  QCOMPARE(Child<IntegerField>(&program.Repetitions(), "allowed")->Value(), 5000);
}

void DesktopProgramTest::repetitionOptionsFollowTheirToggle() {
  ScriptedPrompts prompts;
  DesktopProgram program(prompts);
  MainWindow& main = program.Main();
  Child<QAction>(&main, "repetitions")->trigger();
  QVERIFY(program.Repetitions().isVisible());
  Child<QPushButton>(&program.Repetitions(), "ok")->click();
  QVERIFY(program.Repetitions().isHidden());
  QVERIFY(!Child<QAction>(&main, "repetitions")->isChecked());
}

void DesktopProgramTest::parametersLineReloadsTheParametersDialog() {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("rain.txt")).toStdString();
  std::ofstream(path, std::ios::binary) << "D 0\r\nP 30 0.5 0.1 0.02 3 0.03 140 70\r\n5 1 3 4.0\r\n";
  ScriptedPrompts prompts;
  prompts.QueueOpen(path);
  DesktopProgram program(prompts);
  Child<QAction>(&program.Main(), "input")->trigger();
  const EngineState& s = program.Main().engine().State();
  QCOMPARE(s.Parameters.Lambda, 0.5);
  QVERIFY(s.GammaIntensity);  // SigmaX differs from MuX
  QCOMPARE(Child<QLineEdit>(&program.Parameters(), "lambda")->text(), QStringLiteral("0.5"));
  QCOMPARE(Child<IntegerField>(&program.Parameters(), "daysPerMonth")->Value(), 30);
}

void DesktopProgramTest::graphsFollowTheRunWhileShown() {
  ScriptedPrompts prompts;
  DesktopProgram program(prompts);
  MainWindow& main = program.Main();
  GraphsWindow& graphs = program.Graphs();
  QVERIFY(graphs.isHidden());
  Child<QAction>(&main, "graphs")->trigger();
  QVERIFY(graphs.isVisible());
  main.StepOnce();
  QVERIFY(QTest::qWaitFor([&main] { return !main.RunGoing(); }, 60000));
  // The statistics are computed for the graphs after each step while they are shown.
  QCOMPARE(main.engine().State().WetDayStatsSynthetic.Count, 24 * main.engine().State().OriginalDaily.Count);
  graphs.close();
  QVERIFY(!Child<QAction>(&main, "graphs")->isChecked());
  prompts.QueueConfirmOrCancel(Answer::No);  // the log goes unsaved
  main.Initialise();
  QCOMPARE(main.engine().State().Storms.Count, 0);
}

// The charts show the new run whole; the Marginal page shows its chosen series.
void DesktopProgramTest::initialiseAndOpeningAFileResetTheZoom() {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("rain.txt")).toStdString();
  std::ofstream(path, std::ios::binary) << "5 1 3 4.0\r\n";
  ScriptedPrompts prompts;
  DesktopProgram program(prompts);
  GraphsWindow& graphs = program.Graphs();
  const auto zoomAll = [&graphs] {
    for (int page = 0; page < GraphsWindow::kPageCount; ++page)
      graphs.ChartView(page)->ZoomInto(graphs.ChartView(page)->rect().adjusted(20, 20, -20, -20));
  };
  const auto allWhole = [&graphs] {
    for (int page = 0; page < GraphsWindow::kPageCount; ++page)
      if (!graphs.ChartView(page)->WholeView()) return false;
    return true;
  };
  Child<QAction>(&program.Main(), "graphs")->trigger();
  zoomAll();
  QVERIFY(!allWhole());
  program.Main().Initialise();
  QVERIFY(allWhole());
  zoomAll();
  prompts.QueueOpen(path);
  Child<QAction>(&program.Main(), "input")->trigger();
  QVERIFY(allWhole());
  graphs.ShowPage(GraphsWindow::kMarginalPage);
  QVERIFY(Child<QRadioButton>(&graphs, "allHours")->isChecked());
}

// A step that produced nothing, or new parameters, leave no chart of an earlier run.
void DesktopProgramTest::chartsShowOnlyTheCurrentRun() {
  QTemporaryDir dir;
  const std::string empty = dir.filePath(QStringLiteral("empty.txt")).toStdString();
  std::ofstream(empty, std::ios::binary) << "D 0\r\n";
  ScriptedPrompts prompts;
  DesktopProgram program(prompts);
  MainWindow& main = program.Main();
  const GraphsWindow::Plots& drawn = program.Graphs().Drawn();
  const auto step = [&main] {
    main.StepOnce();
    return QTest::qWaitFor([&main] { return !main.RunGoing(); }, 120000);
  };
  Child<QAction>(&main, "graphs")->trigger();
  QVERIFY(step());
  QVERIFY(drawn.syntheticHours->Count() > 0);
  prompts.QueueConfirmOrCancel(Answer::No);  // the log goes unsaved
  prompts.QueueOpen(empty);
  Child<QAction>(&main, "input")->trigger();
  QVERIFY(step());  // the end of the input at once
  QCOMPARE(drawn.syntheticHours->Count(), 0);
  QCOMPARE(drawn.originalHours->Count(), 0);

  prompts.QueueConfirmOrCancel(Answer::No);
  Child<QAction>(&main, "input")->trigger();  // back to test mode
  QVERIFY(step());
  QVERIFY(drawn.syntheticHours->Count() > 0);
  prompts.QueueConfirmOrCancel(Answer::No);
  QLineEdit* lambda = Child<QLineEdit>(&program.Parameters(), "lambda");
  lambda->setText(QStringLiteral("0.2"));
  lambda->setFocus();
  program.Parameters().show();
  QVERIFY(QTest::qWaitForWindowActive(&program.Parameters()));
  lambda->setFocus();
  QTest::keyClick(lambda, Qt::Key_Tab);
  QCOMPARE(program.Main().engine().State().Parameters.Lambda, 0.2);
  QCOMPARE(drawn.syntheticHours->Count(), 0);
}

QTEST_MAIN(DesktopProgramTest)
#include "desktop_program_test.moc"
