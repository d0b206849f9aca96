#include "series_workspace.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <sstream>

#include "calibrate_page.h"
#include "compare_page.h"
#include "disaggregate_page.h"
#include "fit_page.h"
#include "help_window.h"
#include "hourly_statistics.h"
#include "model_statistics_panel.h"
#include "parameters_page.h"
#include "records_page.h"
#include "remembered_settings.h"
#include "scripted_prompts.h"

using namespace nimbra;

namespace {

const QString kExamples = QStringLiteral(NIMBRA_EXAMPLES_DIR);
const QString kDaily = kExamples + QStringLiteral("/berlin_tempelhof_july_daily.csv");
const QString kHourly = kExamples + QStringLiteral("/berlin_tempelhof_july_hourly.csv");
const QString kParameters = kExamples + QStringLiteral("/berlin_tempelhof_july_params.csv");
constexpr int kJobTimeout = 120000;

std::string Bytes(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void Write(const QString& path, const std::string& text) {
  std::ofstream(path.toStdString(), std::ios::binary) << text;
}

// The header and the rows of these years of a dated CSV file: a short period for slow jobs.
std::string OfYears(const QString& path, std::initializer_list<const char*> years) {
  std::istringstream in(Bytes(path));
  std::string line, kept;
  std::getline(in, line);
  kept = line + '\n';
  while (std::getline(in, line)) {
    for (const char* year : years) {
      if (line.find(std::string(",") + year + '-') != std::string::npos) kept += line + '\n';
    }
  }
  return kept;
}

// nimbra-cli with these arguments, called by that name as a user calls it.
int RunCli(const QStringList& arguments) {
  QProcess cli;
  cli.start(QStringLiteral("/bin/bash"),
            QStringList{QStringLiteral("-c"), QStringLiteral("exec -a nimbra-cli \"$0\" \"$@\""),
                        QStringLiteral(NIMBRA_CLI_PATH)} +
                arguments);
  if (!cli.waitForFinished(kJobTimeout)) return -1;
  return cli.exitCode();
}

// Equal to the ten significant digits the report writes.
bool Near(double shown, double reported) {
  const bool near = std::abs(shown - reported) <= 1e-8 * std::abs(reported);
  if (!near) qWarning("shown %.12g, reported %.12g, difference %.3g", shown, reported, shown - reported);
  return near;
}

bool WaitFor(const TaskBar* bar) {
  return QTest::qWaitFor([bar] { return !bar->Task->Running(); }, kJobTimeout);
}

// The files of a folder, hidden ones too: a cancelled job leaves none behind.
QStringList FilesIn(const QTemporaryDir& dir) {
  return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The report row's fields for a station, season, series and view.
QStringList ReportRow(const QString& report, const QString& prefix) {
  for (const QString& line : QString::fromStdString(Bytes(report)).split(QLatin1Char('\n'))) {
    if (line.startsWith(prefix)) return line.split(QLatin1Char(','));
  }
  return {};
}

}  // namespace

// The series workspace driven through its own pages and actions, offscreen.
class SeriesWorkspaceTest : public QObject {
  Q_OBJECT

 private slots:
  // Each test starts from the fields a first-time user sees.
  void init() {
    WriteRememberedValues();
    QSettings().clear();
  }
  void recordsListEachStationsDays();
  void recordsRefuseBadFilesNamingLineAndColumn_data();
  void recordsRefuseBadFilesNamingLineAndColumn();
  void parameterCellsRefuseValuesOutsideTheirRange_data();
  void parameterCellsRefuseValuesOutsideTheirRange();
  void parametersSaveAndLoadAsTheFileLayout();
  void fitCalibrateDisaggregateWriteTheBytesOfNimbraCli();
  void cancelledJobsLeaveNoFileAndThePreviousTable();
  void runsNeedRecordsAndASavedTable();
  void failedRunsKeepTheirWarningsAndErrorInView_data();
  void failedRunsKeepTheirWarningsAndErrorInView();
  void helpKeyAndMenuOpenTheWorkspaceTopic();
  void choicesComeBackInTheNextWorkspaceAndTheSettingsFile();
};

void SeriesWorkspaceTest::recordsListEachStationsDays() {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("wide.csv"));
  Write(path, "date;A;B\n2020-01-01;0;1.5\n2020-01-02;-999;0\n2020-01-04;2;NA\n");
  ScriptedPrompts prompts;
  RecordsPage page(prompts);
  page.WideBox->setChecked(true);
  QVERIFY(page.Open(path));
  QCOMPARE(page.StationTable->rowCount(), 2);
  const QStringList expected[] = {{"A", "2020-01-01", "2020-01-04", "4", "1", "2"},
                                  {"B", "2020-01-01", "2020-01-04", "4", "1", "2"}};
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 6; ++column)
      QCOMPARE(page.StationTable->item(row, column)->text(), expected[row][column]);
  }
  page.StationTable->item(0, 0)->setCheckState(Qt::Unchecked);
  QCOMPARE(page.ChosenStations(), std::vector<std::string>{"B"});
}

void SeriesWorkspaceTest::recordsRefuseBadFilesNamingLineAndColumn_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<QString>("where");
  QTest::newRow("date") << QByteArray("station,date,precip_mm\nA,2020-01-01,1\nA,2020-13-01,1\n")
                        << QStringLiteral(", line 3, column 2 (date)");
  QTest::newRow("negative depth") << QByteArray("station,date,precip_mm\nA,2020-01-01,-3\n")
                                  << QStringLiteral(", line 2, column 3 (precip_mm)");
  QTest::newRow("text depth") << QByteArray("station,date,precip_mm\nA,2020-01-01,1\nA,2020-01-02,x\n")
                              << QStringLiteral(", line 3, column 3 (precip_mm)");
}

// A bad file is named with its line and column, and the records opened before stay.
void SeriesWorkspaceTest::recordsRefuseBadFilesNamingLineAndColumn() {
  QFETCH(QByteArray, text);
  QFETCH(QString, where);
  QTemporaryDir dir;
  const QString bad = dir.filePath(QStringLiteral("bad.csv"));
  Write(bad, text.toStdString());
  ScriptedPrompts prompts;
  RecordsPage page(prompts);
  QVERIFY(page.Open(kDaily));
  QVERIFY(!page.Open(bad));
  QVERIFY2(page.Message->text().startsWith(bad + where), qPrintable(page.Message->text()));
  QCOMPARE(page.Path(), kDaily);
  QCOMPARE(page.StationTable->rowCount(), 1);
  QCOMPARE(page.Stations().front().Station, std::string("Tempelhof"));
}

void SeriesWorkspaceTest::parameterCellsRefuseValuesOutsideTheirRange_data() {
  QTest::addColumn<int>("column");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("why");
  QTest::newRow("not a number") << 3 << QStringLiteral("abc") << QStringLiteral("expected a positive number");
  QTest::newRow("negative kappa") << 4 << QStringLiteral("-1")
                                  << QStringLiteral("expected a positive number");
  QTest::newRow("lambda too large") << 3 << QStringLiteral("1e9")
                                    << QStringLiteral("Lambda must lie between");
  QTest::newRow("cells beyond a storm") << 4 << QStringLiteral("50") << QStringLiteral("Kappa");
  QTest::newRow("no season") << 1 << QString() << QStringLiteral("column 2 (season)");
  QTest::newRow("rep_factor") << 11 << QStringLiteral("201") << QStringLiteral("1 to 200");
  QTest::newRow("calibrated") << 10 << QStringLiteral("maybe") << QStringLiteral("yes, no or nothing");
}

// A refused cell takes its old text back and the statistics still show the accepted set.
void SeriesWorkspaceTest::parameterCellsRefuseValuesOutsideTheirRange() {
  QFETCH(int, column);
  QFETCH(QString, text);
  QFETCH(QString, why);
  ScriptedPrompts prompts;
  ParametersPage page(prompts);
  QVERIFY(page.Load(kParameters));
  const QString before = page.Grid->item(0, column)->text();
  const QString variance = page.Statistics->Values[1][0]->text();
  page.Grid->item(0, column)->setText(text);
  QCOMPARE(page.Grid->item(0, column)->text(), before);
  QVERIFY2(page.Message->text().contains(why), qPrintable(page.Message->text()));
  QCOMPARE(page.Statistics->Values[1][0]->text(), variance);
  QCOMPARE(page.SavedPath(), kParameters);
}

// An accepted edit changes the model's statistics and the file saved; the file reads back.
void SeriesWorkspaceTest::parametersSaveAndLoadAsTheFileLayout() {
  QTemporaryDir dir;
  ScriptedPrompts prompts;
  ParametersPage page(prompts);
  QVERIFY(page.Load(kParameters));
  const QString variance = page.Statistics->Values[1][0]->text();
  page.Grid->item(0, 3)->setText(QStringLiteral("0.9"));
  QVERIFY(page.Statistics->Values[1][0]->text() != variance);
  QVERIFY(page.SavedPath().isEmpty());
  page.File->SetPath(dir.filePath(QStringLiteral("saved.csv")));
  QVERIFY(page.Save());
  QCOMPARE(Bytes(dir.filePath(QStringLiteral("saved.csv"))),
           std::string(
               "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x,calibrated,rep_factor,rep_min\n"
               "7,0.9,0.07465552635,0.02588573071,3.9419622,0.02895838123,143.2772408,143.2772408,no,,\n"));
  ParametersPage again(prompts);
  QVERIFY(again.Load(dir.filePath(QStringLiteral("saved.csv"))));
  QCOMPARE(again.Statistics->Values[1][0]->text(), page.Statistics->Values[1][0]->text());
}

void SeriesWorkspaceTest::fitCalibrateDisaggregateWriteTheBytesOfNimbraCli() {
  QTemporaryDir dir;
  const auto in = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
  Write(in("daily.csv"), OfYears(kDaily, {"2018", "2019"}));
  Write(in("observed.csv"), OfYears(kHourly, {"2018", "2019"}));
  ScriptedPrompts prompts;
  HelpWindow help;
  SeriesWorkspace workspace(prompts, help);
  QVERIFY(workspace.Records->Open(in("daily.csv")));

  workspace.Fit->Input->SetPath(kHourly);
  workspace.Fit->SeasonsBox->setCurrentIndex(0);
  workspace.Fit->FixedEdit->clear();
  workspace.Fit->SeedBox->setValue(3);
  workspace.Fit->Output->SetPath(in("fitted.csv"));
  workspace.Fit->Report->SetPath(in("fit_report.csv"));
  workspace.Fit->Bar->RunButton->click();
  QVERIFY(WaitFor(workspace.Fit->Bar));
  QCOMPARE(workspace.Fit->Bar->Status->text(), QStringLiteral("Done"));
  QCOMPARE(RunCli({"fit", "-i", kHourly, "-o", in("cli_fitted.csv"), "--report", in("cli_fit_report.csv"),
                   "--seed", "3"}),
           0);
  QCOMPARE(Bytes(in("fitted.csv")), Bytes(in("cli_fitted.csv")));
  QCOMPARE(Bytes(in("fit_report.csv")), Bytes(in("cli_fit_report.csv")));
  QCOMPARE(workspace.Parameters->SavedPath(), in("fitted.csv"));
  QVERIFY(workspace.Fit->Targets->rowCount() > 0);

  workspace.Calibrate->Daily->SetPath(in("daily.csv"));
  workspace.Calibrate->Observed->SetPath(in("observed.csv"));
  workspace.Calibrate->SeasonsEdit->clear();
  workspace.Calibrate->SeedsBox->setValue(1);
  workspace.Calibrate->SeedBox->setValue(5);
  workspace.Calibrate->EvaluationsBox->setValue(2);
  workspace.Calibrate->SlowdownBox->setValue(1);
  workspace.Calibrate->ThreadsBox->setValue(2);
  workspace.Calibrate->Output->SetPath(in("calibrated.csv"));
  workspace.Calibrate->Report->SetPath(in("calibration.csv"));
  workspace.Calibrate->Bar->RunButton->click();
  QVERIFY(WaitFor(workspace.Calibrate->Bar));
  QCOMPARE(workspace.Calibrate->Bar->Status->text(), QStringLiteral("Done"));
  QCOMPARE(RunCli({"calibrate",
                   "--daily",
                   in("daily.csv"),
                   "--observed-hourly",
                   in("observed.csv"),
                   "-p",
                   in("fitted.csv"),
                   "-o",
                   in("cli_calibrated.csv"),
                   "--report",
                   in("cli_calibration.csv"),
                   "--seeds",
                   "1",
                   "-s",
                   "5",
                   "--evaluations",
                   "2",
                   "--slowdown",
                   "1",
                   "-t",
                   "1"}),
           0);
  QCOMPARE(Bytes(in("calibrated.csv")), Bytes(in("cli_calibrated.csv")));
  QCOMPARE(Bytes(in("calibration.csv")), Bytes(in("cli_calibration.csv")));
  QCOMPARE(workspace.Parameters->SavedPath(), in("calibrated.csv"));
  QCOMPARE(workspace.Calibrate->BeforeAfter->rowCount(), static_cast<int>(kHourlyStatisticCount));

  workspace.Disaggregate->Output->SetPath(in("hourly.csv"));
  workspace.Disaggregate->ReportBox->setChecked(true);
  workspace.Disaggregate->Report->SetPath(in("report.csv"));
  workspace.Disaggregate->Observed->SetPath(in("observed.csv"));
  workspace.Disaggregate->SeedBox->setValue(11);
  workspace.Disaggregate->AllStations->setChecked(true);
  workspace.DisaggregateActionExecute();
  QVERIFY(WaitFor(workspace.Disaggregate->Bar));
  QCOMPARE(workspace.Disaggregate->Bar->Status->text(), QStringLiteral("Done"));
  const QJsonArray line = QJsonDocument::fromJson(QByteArray::fromStdString(Bytes(in("hourly.csv.json"))))
                              .object()["command_line"]
                              .toArray();
  QStringList arguments;
  for (qsizetype i = 1; i < line.size(); ++i) arguments << line[i].toString();
  for (const char* name : {"hourly.csv", "hourly.csv.json", "report.csv"})
    QVERIFY(QFile::rename(in(name), in(name) + QStringLiteral(".window")));
  QCOMPARE(RunCli(arguments), 0);
  for (const char* name : {"hourly.csv", "hourly.csv.json", "report.csv"})
    QCOMPARE(Bytes(in(name) + QStringLiteral(".window")), Bytes(in(name)));

  // The comparison shows the report's figures of the same run.
  const HourComparison& shown = workspace.Comparison->Shown();
  const struct {
    const char* Series;
    HourSource Source;
  } sources[] = {{"disaggregated_hourly", HourSource::Disaggregated},
                 {"observed_hourly", HourSource::Observed},
                 {"model_hourly", HourSource::Model}};
  for (const auto& [series, source] : sources) {
    const QStringList row = ReportRow(in("report.csv"), QStringLiteral("Tempelhof,7,%1,all,").arg(series));
    QVERIFY2(row.size() > 9, series);
    const HourlyValues& values = shown.Sources[static_cast<std::size_t>(source)].Values;
    QVERIFY2(Near(values[0], row[6].toDouble() * row[6].toDouble()), series);
    QVERIFY2(Near(values[1], row[9].toDouble()), series);
  }
  const std::size_t yearsShown =
      shown.Sources[static_cast<std::size_t>(HourSource::Observed)].YearlyMaxima.size();
  QCOMPARE(yearsShown, std::size_t{2});
}

void SeriesWorkspaceTest::cancelledJobsLeaveNoFileAndThePreviousTable() {
  QTemporaryDir dir;
  const auto in = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
  std::string many = "station,date,precip_mm\n";
  std::istringstream july(Bytes(kDaily));
  std::string row;
  std::getline(july, row);
  while (std::getline(july, row)) {
    for (const char* station : {"a", "b", "c", "d", "e", "f", "g", "h"})
      many += station + row.substr(row.find(',')) + '\n';
  }
  QTemporaryDir data;
  Write(data.filePath(QStringLiteral("many.csv")), many);
  ScriptedPrompts prompts;
  HelpWindow help;
  SeriesWorkspace workspace(prompts, help);
  QVERIFY(workspace.Records->Open(data.filePath(QStringLiteral("many.csv"))));
  QVERIFY(workspace.Parameters->Load(kParameters));
  const QString lambda = workspace.Parameters->Grid->item(0, 3)->text();

  workspace.Disaggregate->Output->SetPath(in("hourly.csv"));
  workspace.Disaggregate->ReportBox->setChecked(true);
  workspace.Disaggregate->Report->SetPath(in("report.csv"));
  workspace.Disaggregate->ThreadsBox->setValue(1);
  workspace.DisaggregateActionExecute();
  QVERIFY2(QTest::qWaitFor([&] { return workspace.Disaggregate->Bar->Bar->value() > 0; }, kJobTimeout),
           qPrintable(workspace.Disaggregate->Bar->Status->text()));
  workspace.Disaggregate->Bar->CancelButton->click();
  QVERIFY(WaitFor(workspace.Disaggregate->Bar));
  QCOMPARE(workspace.Disaggregate->Bar->Status->text(), QStringLiteral("Cancelled"));
  // Progress shows within a station, so the cancel may come before any station's messages.
  QCOMPARE(workspace.Disaggregate->Bar->Messages->toPlainText().split(QLatin1Char('\n')).last(),
           QStringLiteral("Cancelled"));
  QCOMPARE(FilesIn(dir), QStringList());
  QCOMPARE(workspace.Comparison->StationBox->count(), 0);

  workspace.Fit->Input->SetPath(kHourly);
  workspace.Fit->Output->SetPath(in("fitted.csv"));
  workspace.Fit->Bar->RunButton->click();
  workspace.Fit->Bar->CancelButton->click();
  QVERIFY(WaitFor(workspace.Fit->Bar));
  QCOMPARE(workspace.Fit->Bar->Status->text(), QStringLiteral("Cancelled"));

  workspace.Calibrate->Daily->SetPath(kDaily);
  workspace.Calibrate->Observed->SetPath(kHourly);
  workspace.Calibrate->SeedsBox->setValue(1);
  workspace.Calibrate->Output->SetPath(in("calibrated.csv"));
  workspace.Calibrate->Report->SetPath(in("calibration.csv"));
  workspace.CalibrateActionExecute();
  QVERIFY2(QTest::qWaitFor([&] { return workspace.Calibrate->Bar->Bar->value() > 0; }, kJobTimeout),
           qPrintable(workspace.Calibrate->Bar->Status->text()));
  workspace.Calibrate->Bar->CancelButton->click();
  QVERIFY(WaitFor(workspace.Calibrate->Bar));
  QCOMPARE(workspace.Calibrate->Bar->Status->text(), QStringLiteral("Cancelled"));
  QCOMPARE(FilesIn(dir), QStringList());
  QCOMPARE(workspace.Parameters->SavedPath(), kParameters);
  QCOMPARE(workspace.Parameters->Grid->item(0, 3)->text(), lambda);
}

void SeriesWorkspaceTest::runsNeedRecordsAndASavedTable() {
  ScriptedPrompts prompts;
  HelpWindow help;
  SeriesWorkspace workspace(prompts, help);
  workspace.DisaggregateActionExecute();
  QVERIFY(workspace.Records->Open(kDaily));
  workspace.DisaggregateActionExecute();
  workspace.CalibrateActionExecute();
  QCOMPARE(prompts.Calls().size(), std::size_t{3});
  QVERIFY(!workspace.Disaggregate->Bar->Task->Running());
  QVERIFY(!workspace.Calibrate->Bar->Task->Running());
}

void SeriesWorkspaceTest::failedRunsKeepTheirWarningsAndErrorInView_data() {
  QTest::addColumn<QString>("job");
  QTest::addColumn<QString>("warning");  // before the error; empty: none
  QTest::addColumn<QString>("error");
  QTest::newRow("fit: a bad record") << QStringLiteral("fit") << QString()
                                     << QStringLiteral("bad_hourly.csv, line 3, column 3 (precip_mm)");
  QTest::newRow("calibrate: slow sets, then no observed file")
      << QStringLiteral("calibrate") << QStringLiteral("Warning: %1, line 2: ")
      << QStringLiteral("no_such_hourly.csv");
  QTest::newRow("disaggregate: slow sets, then an output folder missing")
      << QStringLiteral("disaggregate") << QStringLiteral("Warning: %1, line 2: ")
      << QStringLiteral("no_such_folder/hourly.csv");
}

// The run's warnings stay in view with the error that ended it, and no file is written.
void SeriesWorkspaceTest::failedRunsKeepTheirWarningsAndErrorInView() {
  QFETCH(QString, job);
  QFETCH(QString, warning);
  QFETCH(QString, error);
  QTemporaryDir dir;
  const auto in = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
  // Storms raining for more than a day on average: a set whose search is slow.
  Write(in("slow.csv"),
        "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x\n"
        "7,0.454678781,0.07465552635,0.005,3.9419622,0.02895838123,143.2772408,143.2772408\n");
  Write(in("bad_hourly.csv"), "station,time,precip_mm\nA,2020-07-01T00:00,0\nA,2020-07-01T01:00,x\n");
  ScriptedPrompts prompts;
  HelpWindow help;
  SeriesWorkspace workspace(prompts, help);
  QVERIFY(workspace.Records->Open(kDaily));
  QVERIFY(workspace.Parameters->Load(in("slow.csv")));
  TaskBar* bar = nullptr;
  if (job == QStringLiteral("fit")) {
    workspace.Fit->Input->SetPath(in("bad_hourly.csv"));
    workspace.Fit->Output->SetPath(in("fitted.csv"));
    bar = workspace.Fit->Bar;
  } else if (job == QStringLiteral("calibrate")) {
    workspace.Calibrate->Daily->SetPath(kDaily);
    workspace.Calibrate->Observed->SetPath(in("no_such_hourly.csv"));
    workspace.Calibrate->Output->SetPath(in("calibrated.csv"));
    bar = workspace.Calibrate->Bar;
  } else {
    workspace.Disaggregate->Output->SetPath(in("no_such_folder/hourly.csv"));
    bar = workspace.Disaggregate->Bar;
  }
  bar->RunButton->click();
  QVERIFY(WaitFor(bar));
  const QString shown = bar->Messages->toPlainText();
  const QStringList lines = shown.split(QLatin1Char('\n'));
  QCOMPARE(lines.last(), bar->Status->text());
  QVERIFY2(lines.last().contains(error), qPrintable(shown));
  if (!warning.isEmpty()) QVERIFY2(lines.first().startsWith(warning.arg(in("slow.csv"))), qPrintable(shown));
  QCOMPARE(FilesIn(dir), QStringList({"bad_hourly.csv", "slow.csv"}));
  QCOMPARE(workspace.Parameters->SavedPath(), in("slow.csv"));
}

void SeriesWorkspaceTest::helpKeyAndMenuOpenTheWorkspaceTopic() {
  ScriptedPrompts prompts;
  HelpWindow help;
  SeriesWorkspace workspace(prompts, help);
  workspace.show();
  QVERIFY(QTest::qWaitForWindowActive(&workspace));
  QTest::keyClick(&workspace, Qt::Key_F1);
  QVERIFY(help.isVisible());
  QCOMPARE(help.CurrentTitle(), QStringLiteral("Nimbra - series workspace"));
  help.ShowTopic(help_context::kMainWindow);
  const QList<QAction*> menu = workspace.menuBar()->actions().front()->menu()->actions();
  menu.front()->trigger();
  QCOMPARE(help.CurrentTitle(), QStringLiteral("Nimbra - series workspace"));
}

// Choices are written away from the window's thread; a workspace opened at once still sees
// them, and they reach the settings file.
void SeriesWorkspaceTest::choicesComeBackInTheNextWorkspaceAndTheSettingsFile() {
  ScriptedPrompts prompts;
  HelpWindow help;
  {
    SeriesWorkspace workspace(prompts, help);
    workspace.Fit->SeedBox->setValue(42);
    workspace.Fit->Output->SetPath(QStringLiteral("/data/fitted.csv"));
    workspace.Calibrate->SeasonsEdit->setText(QStringLiteral("6,7"));
    workspace.Disaggregate->ReportBox->setChecked(true);
  }
  const auto same = [](const SeriesWorkspace& again) {
    return again.Fit->SeedBox->value() == 42 &&
           again.Fit->Output->Path() == QStringLiteral("/data/fitted.csv") &&
           again.Calibrate->SeasonsEdit->text() == QStringLiteral("6,7") &&
           again.Disaggregate->ReportBox->isChecked();
  };
  QVERIFY(same(SeriesWorkspace(prompts, help)));
  WriteRememberedValues();
  QCOMPARE(QSettings().value(QStringLiteral("fit/seed")).toInt(), 42);
  QVERIFY(same(SeriesWorkspace(prompts, help)));
}

QTEST_MAIN(SeriesWorkspaceTest)
#include "series_workspace_test.moc"
