#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

#include "HelpWindow.h"
#include "TMainForm.h"
#include "TVout.h"
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
  void inputFileTwoCancels();
  void inputFileMissingThenExisting();
  void inputFileRaisesConstantLength();
  void outputFileToggle();
  void outputFileGivenUp();
  void endOfInputDisablesNextUntilInitialise();
  void passesAfterTheEndDoNothing();
  void clearVisualOutputKeepsTheRun();
  void commandErrorIsShownAndEndsTheCommand();
  void closingEndsTheProgramWithoutTheLogsSaveQuestion();
  void helpKeyInTheAboutBoxOpensItsTopic();

 private:
  std::string WriteFile(const QString& name, const std::string& text);
  EngineState& S() { return StateOf(form->engine()); }

  std::unique_ptr<QTemporaryDir> dir;
  std::unique_ptr<ScriptedPrompts> prompts;
  std::unique_ptr<TVout> vout;
  std::unique_ptr<HelpWindow> help;
  std::unique_ptr<TMainForm> form;
};

void MainFormTest::init() {
  dir = std::make_unique<QTemporaryDir>();
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
  QCOMPARE(form->minimumSize(), form->maximumSize());
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

void MainFormTest::inputFileTwoCancels() {
  prompts->QueueOpenCancel();
  prompts->QueueOpenCancel();
  form->FileOpenAction->trigger();
  const std::vector<std::string> expected{"open dialog: ", "message: Input file  does not exist",
                                          "open dialog: ", "message: Input file  does not exist",
                                          "message: Input file was not open"};
  QVERIFY(prompts->Calls() == expected);
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
  form->NextActionExecute();
  form->FileSaveAction->trigger();
  QVERIFY(!S().WriteToFile);
  QCOMPARE(form->StatusPanels[2]->text(), QStringLiteral("Ouput file: none"));
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
  form->NextActionExecute();
  QCOMPARE(form->StatusPanels[0]->text(), QStringLiteral("Sequence #: 1"));
  QVERIFY(form->NextAction->isEnabled());
  form->NextActionExecute();
  QCOMPARE(vout->LastLine(), std::string("End of input file"));
  QVERIFY(!form->NextAction->isEnabled());
  QVERIFY(!form->NextManyAction->isEnabled());
  form->InitActionExecute();
  QVERIFY(form->NextAction->isEnabled());
  QVERIFY(form->NextManyAction->isEnabled());
  QCOMPARE(form->StatusPanels[0]->text(), QStringLiteral("Sequence #: 0"));
  form->NextActionExecute();  // from the first record again
  QCOMPARE(S().SequenceStart.Day, 5);
  QCOMPARE(S().OriginalDaily.Count, 2);
}

void MainFormTest::passesAfterTheEndDoNothing() {
  prompts->QueueOpen(WriteFile("one.txt", "5 1 3 4.0\r\n"));
  form->FileOpenAction->trigger();
  form->HowManySpinEdit->SetValue(5);
  form->NextManyActionExecute();
  QCOMPARE(S().SequenceNumber, 2);
  QCOMPARE(form->StatusPanels[0]->text(), QStringLiteral("Sequence #: 2"));
  QVERIFY(!form->NextAction->isEnabled());
  QVERIFY(!form->NextManyAction->isEnabled());
}

void MainFormTest::clearVisualOutputKeepsTheRun() {
  form->NextActionExecute();
  QVERIFY(!vout->LastLine().empty());
  QVERIFY(vout->isVisible());
  form->ClearOutputAction->trigger();
  QCOMPARE(vout->LastLine(), std::string());
  QCOMPARE(S().SequenceNumber, 1);
}

void MainFormTest::commandErrorIsShownAndEndsTheCommand() {
  S().Parameters.MuX = -1;
  form->HowManySpinEdit->SetValue(3);
  form->NextManyActionExecute();
  QCOMPARE(prompts->Calls().size(), std::size_t{1});
  QVERIFY(prompts->Calls()[0].find("MuX") != std::string::npos);
  QCOMPARE(S().SequenceNumber, 0);
}

void MainFormTest::closingEndsTheProgramWithoutTheLogsSaveQuestion() {
  const std::string path = dir->filePath("hourly.txt").toStdString();
  prompts->QueueSave(path);
  form->FileSaveAction->trigger();
  form->NextActionExecute();
  QVERIFY(vout->Modified);
  form->close();
  QVERIFY(vout->isHidden());
  QCOMPARE(prompts->Calls().size(), std::size_t{1});  // the save dialog only
  std::ifstream written(path, std::ios::binary | std::ios::ate);
  QVERIFY(written.tellg() > 0);  // the output file was completed on disk
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
#include "main_form_test.moc"
