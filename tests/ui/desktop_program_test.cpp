#include "desktop_program.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

#include "chart_zoom.h"
#include "child_widget.h"
#include "graphs_window.h"
#include "log_window.h"
#include "main_window.h"
#include "parameters_dialog.h"
#include "remembered_run.h"
#include "repetition_dialog.h"
#include "scripted_prompts.h"
#include "stair_series.h"

using namespace nimbra;

// The windows as the program starts them, working together.
class DesktopProgramTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void startShowsOnlyTheMainWindowWithTheDefaults();
  void settingsComeBackInTheNextSession();
  void repetitionOptionsFollowTheirToggle();
  void parametersLineReloadsTheParametersDialog();
  void parameterChangeRewindsTheInputFile();
  void csvInputsSetsAreShownAndChangedByTheirFile();
  void graphsFollowTheRunWhileShown();
  void initialiseAndOpeningAFileResetTheZoom();
  void chartsShowOnlyTheCurrentRun();
  void toolWindowsOpenClearOfTheMainWindow();

 private:
  QTemporaryDir settingsDir_;
};

// The settings the program remembers are kept apart from the user's, and each test
// starts without any.
void DesktopProgramTest::initTestCase() {
  QVERIFY(settingsDir_.isValid());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
}

void DesktopProgramTest::init() { QSettings().clear(); }

// Put over the main window's menu and toolbar (a place remembered on another screen, a
// main window moved since), they open beside it, on the screen.
void DesktopProgramTest::toolWindowsOpenClearOfTheMainWindow() {
  ScriptedPrompts prompts;
  DesktopProgram program(prompts);
  MainWindow& main = program.Main();
  const QRect area = main.screen()->availableGeometry();
  for (const int x : {area.left(), area.right() - main.frameGeometry().width() + 1}) {
    main.move(x, area.top());
    for (const char* toggle : {"repetitions", "graphs"}) {
      QWidget& window = toggle == std::string("graphs") ? static_cast<QWidget&>(program.Graphs())
                                                        : static_cast<QWidget&>(program.Repetitions());
      window.move(main.pos());
      Child<QAction>(&main, toggle)->trigger();
      QVERIFY(window.isVisible());
      QVERIFY2(!window.frameGeometry().intersects(main.frameGeometry()), toggle);
      QVERIFY2(area.contains(window.frameGeometry()), toggle);
      Child<QAction>(&main, toggle)->trigger();
    }
  }
}

void DesktopProgramTest::settingsComeBackInTheNextSession() {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("rain.txt")).toStdString();
  std::ofstream(path, std::ios::binary) << "5 1 3 4.0\r\n";
  ScriptedPrompts prompts;
  {
    DesktopProgram program(prompts);
    Child<IntegerField>(&program.Main(), "count")->SetValue(25);
    Child<IntegerField>(&program.Main(), "detailLevel")->SetValue(2);
    Child<QLineEdit>(&program.Parameters(), "lambda")->setText(QStringLiteral("0.6"));
    program.Parameters().StoreLambda();
    Child<IntegerField>(&program.Parameters(), "seed")->SetValue(7);
    Child<IntegerField>(&program.Repetitions(), "allowed")->SetValue(300);
    prompts.QueueOpen(path);
    Child<QAction>(&program.Main(), "input")->trigger();
    prompts.QueueConfirmOrCancel(Answer::No);  // the log goes unsaved
    QVERIFY(program.Main().close());
  }
  DesktopProgram program(prompts);
  Engine& engine = program.Main().engine();
  QCOMPARE(engine.View().Parameters.Lambda, 0.6);
  QCOMPARE(engine.View().Options.RandomSeed, 7);
  QCOMPARE(engine.View().Options.RepAllowed, 300);
  QCOMPARE(engine.View().Options.DetailLevel, 2);
  QCOMPARE(Child<IntegerField>(&program.Main(), "count")->Value(), 25);
  QCOMPARE(Child<IntegerField>(&program.Main(), "detailLevel")->Value(), 2);
  QCOMPARE(Child<QLineEdit>(&program.Parameters(), "lambda")->text(), QStringLiteral("0.6"));
  QCOMPARE(Child<IntegerField>(&program.Parameters(), "seed")->Value(), 7);
  QCOMPARE(Child<IntegerField>(&program.Repetitions(), "allowed")->Value(), 300);
  QCOMPARE(RecentFiles(), QStringList{QString::fromStdString(path)});
  QVERIFY(!engine.View().ReadFromFile);  // a recent file opens when chosen
  Child<QMenu>(&program.Main(), "recentFiles")->actions().constFirst()->trigger();
  QVERIFY(engine.View().ReadFromFile);
  QCOMPARE(engine.View().InputFileName, path);
}

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
  Engine& engine = program.Main().engine();
  QCOMPARE(engine.View().Parameters.Lambda, 0.5);
  QVERIFY(engine.View().Parameters.GammaIntensity());  // SigmaX differs from MuX
  QCOMPARE(Child<QLineEdit>(&program.Parameters(), "lambda")->text(), QStringLiteral("0.5"));
  QCOMPARE(Child<IntegerField>(&program.Parameters(), "daysPerMonth")->Value(), 30);
}

// The run starts again with the first record, and the value typed wins over the file's
// parameters line, which the rewind reads again.
void DesktopProgramTest::parameterChangeRewindsTheInputFile() {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("rain.txt")).toStdString();
  std::ofstream(path, std::ios::binary)
      << "D 0\r\nP 30 0.5 0.1 0.02 3 0.03 140 70\r\n5 1 3 4.0\r\n9 1 3 2.0\r\n";
  ScriptedPrompts prompts;
  prompts.QueueOpen(path);
  DesktopProgram program(prompts);
  MainWindow& main = program.Main();
  Engine& engine = main.engine();
  Child<QAction>(&main, "input")->trigger();
  main.StepOnce();
  QVERIFY(QTest::qWaitFor([&main] { return !main.RunGoing(); }, 60000));
  QCOMPARE(engine.View().SequenceStart.Day, 5);
  prompts.QueueConfirmOrCancel(Answer::No);  // the log goes unsaved
  Child<QLineEdit>(&program.Parameters(), "lambda")->setText(QStringLiteral("0.6"));
  program.Parameters().StoreLambda();
  QCOMPARE(program.Log().Lines(),
           std::vector<std::string>{"The run starts again from the first record of " + path});
  main.StepOnce();
  QVERIFY(QTest::qWaitFor([&main] { return !main.RunGoing(); }, 60000));
  QCOMPARE(engine.View().SequenceNumber, 1);
  QCOMPARE(engine.View().SequenceStart.Day, 5);
  QCOMPARE(engine.View().Parameters.Lambda, 0.6);
  QCOMPARE(engine.View().Options.DaysPerMonth, 30);
  QCOMPARE(Child<QLineEdit>(&program.Parameters(), "lambda")->text(), QStringLiteral("0.6"));
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
  QCOMPARE(main.engine().View().WetDayStatsSynthetic.Count, 24 * main.engine().View().OriginalDaily.Count);
  graphs.close();
  QVERIFY(!Child<QAction>(&main, "graphs")->isChecked());
  prompts.QueueConfirmOrCancel(Answer::No);  // the log goes unsaved
  main.Initialise();
  QCOMPARE(main.engine().View().Storms.Count, 0);
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
  QCOMPARE(program.Main().engine().View().Parameters.Lambda, 0.2);
  QCOMPARE(drawn.syntheticHours->Count(), 0);
}

namespace {

std::string WriteFile(const QTemporaryDir& dir, const char* name, const std::string& text) {
  const std::string path = dir.filePath(QLatin1String(name)).toStdString();
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

const std::string kSetValues = ",1.05819,0.0586,2.69569,0.00628,24.33408,24.33408\n";
const std::string kSetColumns = "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x\n";

}  // namespace

// The dialog shows the set the run uses, read-only, with the line it comes from; a set
// typed there would be replaced at the next sequence. Another parameters file starts the
// run again with its sets.
void DesktopProgramTest::csvInputsSetsAreShownAndChangedByTheirFile() {
  QTemporaryDir dir;
  ScriptedPrompts prompts;
  prompts.QueueOpen(WriteFile(dir, "daily.csv",
                              "station,date,precip_mm\nA,2011-01-31,5\nA,2011-02-01,0\nA,2011-02-02,3\n"));
  prompts.QueueOpen(WriteFile(dir, "params.csv", kSetColumns + "1,0.7" + kSetValues + "2,1.2" + kSetValues));
  DesktopProgram program(prompts);
  MainWindow& main = program.Main();
  Child<QAction>(&main, "input")->trigger();
  ParametersDialog& dialog = program.Parameters();
  auto* lambda = Child<QLineEdit>(&dialog, "lambda");
  const auto* source = Child<QLabel>(&dialog, "source");
  QVERIFY(lambda->isReadOnly());
  QCOMPARE(lambda->text(), QStringLiteral("0.7"));
  QVERIFY2(source->text().contains(QStringLiteral("(params.csv, line 2)")), qPrintable(source->text()));
  QTest::keyClicks(lambda, QStringLiteral("5"));
  QCOMPARE(lambda->text(), QStringLiteral("0.7"));
  for (int step = 0; step < 2; ++step) {
    main.StepOnce();
    QVERIFY(QTest::qWaitFor([&main] { return !main.RunGoing(); }, 60000));
  }
  QCOMPARE(lambda->text(), QStringLiteral("1.2"));
  QVERIFY2(source->text().contains(QStringLiteral("(params.csv, line 3)")), qPrintable(source->text()));

  prompts.QueueConfirmOrCancel(Answer::No);  // the log is not saved
  prompts.QueueOpen(WriteFile(dir, "other.csv", kSetColumns + "all,0.9" + kSetValues));
  Child<QAction>(&main, "parameterSets")->trigger();
  QCOMPARE(main.engine().View().SequenceNumber, 0);
  QCOMPARE(lambda->text(), QStringLiteral("0.9"));
  QVERIFY2(source->text().contains(QStringLiteral("(other.csv, line 2)")), qPrintable(source->text()));

  prompts.QueueConfirmOrCancel(Answer::No);
  Child<QAction>(&main, "input")->trigger();  // closes the input
  QVERIFY(!lambda->isReadOnly());
  QVERIFY(!Child<QAction>(&main, "parameterSets")->isEnabled());
  QVERIFY(prompts.AllAnswersUsed());
}

QTEST_MAIN(DesktopProgramTest)
#include "desktop_program_test.moc"
