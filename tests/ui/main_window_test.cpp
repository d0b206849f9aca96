#include "main_window.h"

#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

#include "csv_daily_input.h"
#include "help_window.h"
#include "log_window.h"
#include "run_notices.h"
#include "run_statistics.h"
#include "scripted_prompts.h"
#include "started_engine.h"

using namespace nimbra;

class MainFormTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void startState();
  void countChangesTheHint();
  void detailLevelsSetThePrintFlags();
  void constantLengthToggle();
  void inputFileOpened();
  void inputFileCancelCancels();
  void inputFileMissingThenExisting();
  void inputFileRaisesConstantLength();
  void outputFileToggle();
  void outputFileGivenUp();
  void endOfInputDisablesNextUntilInitialise();
  void passesAfterTheEndDoNothing();
  void clearVisualOutputKeepsTheRun();
  void commandErrorIsShownAndEndsTheCommand();
  void closingAsksAboutTheUnsavedLogAndCompletesTheOutput();
  void runOfStepsKeepsTheWindowAliveAndStopsAfterTheCurrentStep();
  void closingDuringARunStopsItFirst();
  void repeatedWarningIsShownOnceAndCounted();
  void initialiseAsksBeforeClearingTheUnsavedLog();
  void outputFileThatCannotBeCreatedRaisesTheToggle();
  void fieldLimitsApplyWhenTheValueIsUsed();
  void csvDailyFileRunsItsFirstStationAsAClassicFile();
  void helpKeyInTheAboutBoxOpensItsTopic();

 private:
  std::string WriteFile(const QString& name, const std::string& text);
  // Runs one step, or the toolbar's count of steps, and waits for the run to end.
  void Step();
  void RunMany();
  bool FinishRun();
  // The hourly output of three steps of a fresh program on input.
  std::string HoursOf(const std::string& input);
  // A fresh program in the same folder.
  void Build();
  EngineState& S() { return StateOf(form->engine()); }

  std::unique_ptr<QTemporaryDir> dir;
  std::unique_ptr<ScriptedPrompts> prompts;
  std::unique_ptr<TVout> vout;
  std::unique_ptr<HelpWindow> help;
  std::unique_ptr<TMainForm> form;
};

void MainFormTest::init() {
  dir = std::make_unique<QTemporaryDir>();
  Build();
}

void MainFormTest::Build() {
  prompts = std::make_unique<ScriptedPrompts>();
  vout = std::make_unique<TVout>(*prompts);
  help = std::make_unique<HelpWindow>();
  form = std::make_unique<TMainForm>(*vout, *prompts, *help);
}

void MainFormTest::cleanup() {
  form.reset();
  help.reset();
  vout.reset();
}

std::string MainFormTest::WriteFile(const QString& name, const std::string& text) {
  const std::string path = dir->filePath(name).toStdString();
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

void MainFormTest::Step() {
  form->NextActionExecute();
  QVERIFY(FinishRun());
}

void MainFormTest::RunMany() {
  form->NextManyActionExecute();
  QVERIFY(FinishRun());
}

bool MainFormTest::FinishRun() {
  return QTest::qWaitFor([this] { return !form->RunGoing(); }, 120000);
}

void MainFormTest::startState() {
  QCOMPARE(form->windowTitle(), QStringLiteral("Nimbra: Temporal Rainfall Disaggregation"));
  QCOMPARE(form->InitButton->toolTip(), QStringLiteral("Initialise"));
  QCOMPARE(form->NextButton->toolTip(), QStringLiteral("Next wet day sequence"));
  QCOMPARE(form->NextManyButton->toolTip(), QStringLiteral("Next 10 wet day sequences"));
  QCOMPARE(form->HowManySpinEdit->Value(), 10);
  QCOMPARE(form->UseConstLengthButton->toolTip(), QStringLiteral("Use constant length of wet day sequences"));
  QCOMPARE(form->OpenFileButton->toolTip(), QStringLiteral("Read historical data from file"));
  QCOMPARE(form->FileSaveButton->toolTip(), QStringLiteral("Write synthetic data to file"));
  QCOMPARE(form->PrintStatisticsButton->toolTip(), QStringLiteral("Print statistics"));
  QCOMPARE(form->HelpButton->toolTip(), QStringLiteral("Model information "));
  QCOMPARE(form->StatusPanels[0]->text(), QStringLiteral("Sequence #: 0"));
  QCOMPARE(form->StatusPanels[1]->text(), QStringLiteral("Input file: none"));
  QCOMPARE(form->StatusPanels[2]->text(), QStringLiteral("Output file: none"));
  QVERIFY(!form->UseConstLengthSpinEdit->isEnabled());
  QCOMPARE(form->UseConstLengthSpinEdit->Value(), 1);
  QVERIFY(S().OriginalHourlyAvailable);
  QCOMPARE(S().Parameters.Lambda, 0.9396);
  QVERIFY(form->minimumSize() != form->maximumSize());  // the user may resize it
  QVERIFY(vout->isHidden());
}

void MainFormTest::countChangesTheHint() {
  form->HowManySpinEdit->SetValue(25);
  QCOMPARE(form->NextManyButton->toolTip(), QStringLiteral("Next 25 wet day sequences"));
}

void MainFormTest::detailLevelsSetThePrintFlags() {
  const struct {
    int level;
    bool cells, storms, progress;
  } cases[] = {
      {3, true, true, true}, {2, false, true, true}, {1, false, false, true}, {0, false, false, false}};
  for (const auto& c : cases) {
    form->PrintDetailsSpinEdit->SetValue(c.level);
    QCOMPARE(S().PrintCellDetails, c.cells);
    QCOMPARE(S().PrintStormNumbers, c.storms);
    QCOMPARE(S().PrintProgress, c.progress);
  }
}

void MainFormTest::constantLengthToggle() {
  S().Options.ConstLength = 4;
  form->UseConstLengthAction->trigger();
  QVERIFY(S().Options.UseConstLength);
  QVERIFY(form->UseConstLengthSpinEdit->isEnabled());
  QCOMPARE(form->UseConstLengthSpinEdit->Value(), 4);
  form->UseConstLengthSpinEdit->SetValue(7);
  QCOMPARE(S().Options.ConstLength, 7);
  form->UseConstLengthAction->trigger();
  QVERIFY(!S().Options.UseConstLength);
  QVERIFY(!form->UseConstLengthSpinEdit->isEnabled());
  QCOMPARE(S().Options.ConstLength, 7);
}

void MainFormTest::inputFileOpened() {
  const std::string path = WriteFile("daily.txt", "D 0\r\n5 1 3 4.0\r\n6 1 3 2.0\r\n");
  prompts->QueueOpen(path);
  form->FileOpenAction->trigger();
  QVERIFY(form->FileOpenAction->isChecked());
  QVERIFY(S().ReadFromFile);
  QVERIFY(!S().OriginalHourlyAvailable);  // a D header: daily depths only
  QCOMPARE(form->StatusPanels[1]->text(), QStringLiteral("Input file: daily.txt"));
  QVERIFY(prompts->Calls() == std::vector<std::string>{"open dialog: "});
  form->FileOpenAction->trigger();
  QVERIFY(!S().ReadFromFile);
  QVERIFY(S().OriginalHourlyAvailable);
  QCOMPARE(form->StatusPanels[1]->text(), QStringLiteral("Input file: none"));
}

void MainFormTest::inputFileCancelCancels() {
  prompts->QueueOpenCancel();
  form->FileOpenAction->trigger();
  QVERIFY(prompts->Calls() == std::vector<std::string>{"open dialog: "});
  QVERIFY(!form->FileOpenAction->isChecked());
  QVERIFY(!S().ReadFromFile);
  QCOMPARE(form->StatusPanels[1]->text(), QStringLiteral("Input file: none"));
}

void MainFormTest::inputFileMissingThenExisting() {
  const std::string path = WriteFile("rain.txt", "7 2 1990 3.5\r\n");
  prompts->QueueOpen(dir->filePath("missing.txt").toStdString());
  prompts->QueueOpen(path);
  form->FileOpenAction->trigger();
  QCOMPARE(prompts->Calls().size(), std::size_t{3});
  QCOMPARE(QString::fromStdString(prompts->Calls()[1]),
           QStringLiteral("message: Input file %1 does not exist").arg(dir->filePath("missing.txt")));
  QVERIFY(S().ReadFromFile);
  QCOMPARE(form->StatusPanels[1]->text(), QStringLiteral("Input file: rain.txt"));
}

void MainFormTest::inputFileRaisesConstantLength() {
  form->UseConstLengthAction->trigger();
  prompts->QueueOpen(WriteFile("rain.txt", "7 2 1990 3.5\r\n"));
  form->FileOpenAction->trigger();
  QVERIFY(!form->UseConstLengthAction->isChecked());
  QVERIFY(!form->UseConstLengthAction->isEnabled());
  QVERIFY(!form->UseConstLengthSpinEdit->isEnabled());
  QVERIFY(!S().Options.UseConstLength);
  form->FileOpenAction->trigger();
  QVERIFY(form->UseConstLengthAction->isEnabled());
  QVERIFY(!form->UseConstLengthAction->isChecked());
  QVERIFY(!form->UseConstLengthSpinEdit->isEnabled());
}

void MainFormTest::outputFileToggle() {
  const std::string path = dir->filePath("hourly.txt").toStdString();
  prompts->QueueSave(path);
  form->FileSaveAction->trigger();
  QVERIFY(S().WriteToFile);
  QCOMPARE(form->StatusPanels[2]->text(), QStringLiteral("Output file: hourly.txt"));
  Step();
  form->FileSaveAction->trigger();
  QVERIFY(!S().WriteToFile);
  QCOMPARE(form->StatusPanels[2]->text(), QStringLiteral("Output file: none"));
  std::ifstream written(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
  QCOMPARE(text.substr(0, 10), std::string("\r\n 24  0  "));  // the first start of seed 0: day 24
}

void MainFormTest::outputFileGivenUp() {
  prompts->QueueSaveCancel();
  form->FileSaveAction->trigger();
  QVERIFY(!form->FileSaveAction->isChecked());
  QVERIFY(!S().WriteToFile);
  QCOMPARE(form->StatusPanels[2]->text(), QStringLiteral("Output file: none"));
  QVERIFY(prompts->Calls() == std::vector<std::string>{"save dialog: "});
}

void MainFormTest::endOfInputDisablesNextUntilInitialise() {
  prompts->QueueOpen(WriteFile("one.txt", "5 1 3 4.0\r\n6 1 3 2.0\r\n"));
  form->FileOpenAction->trigger();
  Step();
  QCOMPARE(form->StatusPanels[0]->text(), QStringLiteral("Sequence #: 1"));
  QVERIFY(form->NextAction->isEnabled());
  Step();
  QCOMPARE(vout->LastLine(), std::string("End of input file"));
  QVERIFY(!form->NextAction->isEnabled());
  QVERIFY(!form->NextManyAction->isEnabled());
  prompts->QueueConfirmOrCancel(Answer::No);  // the log goes unsaved
  form->InitActionExecute();
  QVERIFY(form->NextAction->isEnabled());
  QVERIFY(form->NextManyAction->isEnabled());
  QCOMPARE(form->StatusPanels[0]->text(), QStringLiteral("Sequence #: 0"));
  Step();  // from the first record again
  QCOMPARE(S().SequenceStart.Day, 5);
  QCOMPARE(S().OriginalDaily.Count, 2);
}

void MainFormTest::passesAfterTheEndDoNothing() {
  prompts->QueueOpen(WriteFile("one.txt", "5 1 3 4.0\r\n"));
  form->FileOpenAction->trigger();
  form->HowManySpinEdit->SetValue(5);
  RunMany();
  QCOMPARE(S().SequenceNumber, 2);
  QCOMPARE(form->StatusPanels[0]->text(), QStringLiteral("Sequence #: 2"));
  QVERIFY(!form->NextAction->isEnabled());
  QVERIFY(!form->NextManyAction->isEnabled());
}

void MainFormTest::clearVisualOutputKeepsTheRun() {
  Step();
  QVERIFY(!vout->LastLine().empty());
  QVERIFY(vout->isVisible());
  form->ClearOutputAction->trigger();
  QCOMPARE(vout->LastLine(), std::string());
  QCOMPARE(S().SequenceNumber, 1);
}

void MainFormTest::commandErrorIsShownAndEndsTheCommand() {
  S().Parameters.MuX = -1;
  form->HowManySpinEdit->SetValue(3);
  RunMany();
  QCOMPARE(prompts->Calls().size(), std::size_t{1});
  QVERIFY(prompts->Calls()[0].find("MuX") != std::string::npos);
  QCOMPARE(S().SequenceNumber, 0);
}

void MainFormTest::closingAsksAboutTheUnsavedLogAndCompletesTheOutput() {
  const std::string path = dir->filePath("hourly.txt").toStdString();
  prompts->QueueSave(path);
  form->FileSaveAction->trigger();
  Step();
  form->show();
  prompts->QueueConfirmOrCancel(Answer::Cancel);
  form->close();
  QVERIFY(form->isVisible());
  prompts->QueueConfirmOrCancel(Answer::No);
  form->close();
  QVERIFY(vout->isHidden());
  QCOMPARE(prompts->Calls().size(), std::size_t{3});  // the save dialog and the question twice
  std::ifstream written(path, std::ios::binary | std::ios::ate);
  QVERIFY(written.tellg() > 0);  // the output file was completed on disk
}

void MainFormTest::runOfStepsKeepsTheWindowAliveAndStopsAfterTheCurrentStep() {
  form->HowManySpinEdit->SetValue(1000);
  form->NextManyActionExecute();
  QVERIFY(form->RunGoing());
  QVERIFY(!form->InitAction->isEnabled());  // nothing touches the engine meanwhile
  QVERIFY(QTest::qWaitFor([this] { return form->Progress->value() >= 2; }, 60000));
  QVERIFY(form->StopAction->isEnabled());
  form->StopAction->trigger();
  QVERIFY(FinishRun());
  QVERIFY(S().SequenceNumber < 1000);
  QCOMPARE(S().SequenceNumber, form->Progress->value());
  QCOMPARE(form->StatusPanels[0]->text(), QStringLiteral("Sequence #: %1").arg(S().SequenceNumber));
  QVERIFY(form->InitAction->isEnabled());
  QVERIFY(form->NextAction->isEnabled());
  QVERIFY(!form->StopAction->isEnabled());
}

void MainFormTest::closingDuringARunStopsItFirst() {
  form->show();
  form->HowManySpinEdit->SetValue(1000);
  form->NextManyActionExecute();
  prompts->QueueConfirmOrCancel(Answer::No);
  form->close();
  QVERIFY(form->isVisible());
  QVERIFY(FinishRun());
  QVERIFY(QTest::qWaitFor([this] { return !form->isVisible(); }, 10000));
  QVERIFY(S().SequenceNumber < 1000);
}

// Ten attempts never find twenty wet days in a row: every search of every step fails.
void MainFormTest::repeatedWarningIsShownOnceAndCounted() {
  S().Options.UseConstLength = true;
  S().Options.ConstLength = 20;
  S().Options.RepAllowed = 1;
  form->HowManySpinEdit->SetValue(3);
  RunMany();
  QCOMPARE(S().SequenceNumber, 3);
  QVERIFY(prompts->Calls() == std::vector<std::string>{std::string("message: ") + kImpossibleStorm});
  const std::string note = vout->LastLine();
  const std::string shown = RepeatNote({kImpossibleStorm, 2});
  QVERIFY2(note.starts_with(shown.substr(0, shown.size() - std::string("2 times").size())), note.c_str());
  QVERIFY(std::stoi(note.substr(note.rfind("shown ") + 6)) >= 6);  // two searches a step
  QCOMPARE(form->WarningPanel->text(), QString::fromStdString(note));
}

void MainFormTest::initialiseAsksBeforeClearingTheUnsavedLog() {
  Step();
  const std::string last = vout->LastLine();
  prompts->QueueConfirmOrCancel(Answer::Cancel);
  form->InitActionExecute();
  QCOMPARE(vout->LastLine(), last);
  QCOMPARE(S().SequenceNumber, 1);
  prompts->QueueConfirmOrCancel(Answer::No);
  form->InitActionExecute();
  QCOMPARE(S().SequenceNumber, 0);
  form->InitActionExecute();  // nothing unsaved now: no question
  QCOMPARE(prompts->Calls().size(), std::size_t{2});
}

void MainFormTest::outputFileThatCannotBeCreatedRaisesTheToggle() {
  const QString none = form->StatusPanels[2]->text();
  prompts->QueueSave(dir->filePath("missing/hourly.txt").toStdString());
  form->FileSaveAction->trigger();
  QVERIFY(!form->FileSaveAction->isChecked());
  QVERIFY(!S().WriteToFile);
  QCOMPARE(form->StatusPanels[2]->text(), none);
  QCOMPARE(prompts->Calls().size(), std::size_t{2});  // the dialog and the error
  Step();
  QCOMPARE(prompts->Calls().size(), std::size_t{2});
}

// Typed and used at once, before the field is left.
void MainFormTest::fieldLimitsApplyWhenTheValueIsUsed() {
  form->UseConstLengthAction->trigger();
  form->UseConstLengthSpinEdit->SetText(QStringLiteral("25"));
  QCOMPARE(S().Options.ConstLength, 20);
  form->HowManySpinEdit->SetText(QStringLiteral("50000"));
  QVERIFY(form->NextManyButton->toolTip().contains(QStringLiteral("1000")));
  QVERIFY(!form->NextManyButton->toolTip().contains(QStringLiteral("50000")));
  form->NextManyActionExecute();
  QCOMPARE(form->HowManySpinEdit->text(), QStringLiteral("1000"));
  QCOMPARE(form->Progress->maximum(), 1000);
  form->StopAction->trigger();
  QVERIFY(FinishRun());
}

std::string MainFormTest::HoursOf(const std::string& input) {
  cleanup();
  Build();
  const std::string output = input + ".hours";
  prompts->QueueOpen(input);
  form->FileOpenAction->trigger();
  prompts->QueueSave(output);
  form->FileSaveAction->trigger();
  form->HowManySpinEdit->SetValue(3);
  RunMany();
  form->FileSaveAction->trigger();
  std::ifstream written(output, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
}

// The stations come sorted by name: "Alpha" is the first; its missing day reads as dry.
void MainFormTest::csvDailyFileRunsItsFirstStationAsAClassicFile() {
  const std::string csv = WriteFile("stations.csv",
                                    "station,date,precip_mm\n"
                                    "Zeta,2010-07-01,9.0\n"
                                    "Alpha,2010-07-01,4.5\nAlpha,2010-07-02,12.25\nAlpha,2010-07-03,0\n"
                                    "Alpha,2010-07-04,NA\nAlpha,2010-07-05,3\nAlpha,2010-07-06,7.5\n"
                                    "Alpha,2010-07-07,0.4\n");
  const std::string classic = WriteFile("alpha.txt",
                                        "1 7 2010 4.5\r\n2 7 2010 12.25\r\n3 7 2010 0\r\n4 7 2010 -1\r\n"
                                        "5 7 2010 3\r\n6 7 2010 7.5\r\n7 7 2010 0.4\r\n");
  const std::string fromCsv = HoursOf(csv);
  QCOMPARE(vout->Lines().front(), StationTakenLine({"Alpha", 2, {}}, csv));
  QCOMPARE(S().SequenceNumber, 3);
  const std::string fromClassic = HoursOf(classic);
  QVERIFY(!fromCsv.empty());
  QCOMPARE(fromCsv, fromClassic);
}

void MainFormTest::helpKeyInTheAboutBoxOpensItsTopic() {
  QString title;
  QTimer::singleShot(0, this, [this, &title] {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr) return;
    box->activateWindow();
    if (QTest::qWaitForWindowActive(box)) QTest::keyClick(box, Qt::Key_F1);
    title = help->CurrentTitle();
    help->hide();
    box->close();
  });
  form->HelpAboutButton->click();
  QCOMPARE(title, QStringLiteral("About Nimbra"));
}

QTEST_MAIN(MainFormTest)
#include "main_window_test.moc"
