// The main window never destroys its input, and each run's output holds that run.
#include <QAction>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "child_widget.h"
#include "help_window.h"
#include "log_window.h"
#include "main_window.h"
#include "scripted_prompts.h"
#include "started_engine.h"
#include "whole_file.h"

using namespace nimbra;

class MainWindowFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void outputThatIsTheInputIsRefused_data();
  void outputThatIsTheInputIsRefused();
  void inputThatIsTheOutputIsRefused();
  void cancelAfterNoToOverwriteCancels();
  void restartedRunStartsItsOutputAnewOrAppends_data();
  void restartedRunStartsItsOutputAnewOrAppends();
  void openingAFileAfterTheEndOfInputStartsARun();
  void testModeAfterClosingTheInputRunsWithoutDateErrors();

 private:
  std::string Path(const char* name) const { return dir_.filePath(QLatin1String(name)).toStdString(); }
  std::string Write(const char* name, const std::string& text) const;
  void Step();
  void OpenInput(const std::string& path);
  void OpenOutput(const std::string& path);
  RunView S() { return window_->engine().View(); }

  QTemporaryDir dir_;
  std::unique_ptr<ScriptedPrompts> prompts_;
  std::unique_ptr<LogWindow> log_;
  std::unique_ptr<HelpWindow> help_;
  std::unique_ptr<MainWindow> window_;
};

namespace {

const std::string kDaily = "D 0\r\n5 1 3 4.0\r\n6 1 3 2.0\r\n9 1 3 1.5\r\n";

bool Contains(const std::vector<std::string>& calls, const std::string& call) {
  return std::find(calls.begin(), calls.end(), call) != calls.end();
}

}  // namespace

void MainWindowFilesTest::init() {
  prompts_ = std::make_unique<ScriptedPrompts>();
  log_ = std::make_unique<LogWindow>(*prompts_);
  help_ = std::make_unique<HelpWindow>();
  window_ = std::make_unique<MainWindow>(*log_, *prompts_, *help_);
}

void MainWindowFilesTest::cleanup() {
  window_.reset();
  help_.reset();
  log_.reset();
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path().toStdString()))
    std::filesystem::remove(entry.path());
}

std::string MainWindowFilesTest::Write(const char* name, const std::string& text) const {
  std::ofstream(Path(name), std::ios::binary) << text;
  return Path(name);
}

void MainWindowFilesTest::Step() {
  window_->StepOnce();
  QVERIFY(QTest::qWaitFor([this] { return !window_->RunGoing(); }, 120000));
}

void MainWindowFilesTest::OpenInput(const std::string& path) {
  prompts_->QueueOpen(path);
  Child<QAction>(window_, "input")->trigger();
}

void MainWindowFilesTest::OpenOutput(const std::string& path) {
  prompts_->QueueSave(path);
  Child<QAction>(window_, "output")->trigger();
}

void MainWindowFilesTest::outputThatIsTheInputIsRefused_data() {
  QTest::addColumn<bool>("throughLink");
  QTest::newRow("same path") << false;
  QTest::newRow("link to the input") << true;
}

void MainWindowFilesTest::outputThatIsTheInputIsRefused() {
  QFETCH(bool, throughLink);
  const std::string input = Write("daily.txt", kDaily);
  const std::string output = throughLink ? Path("link.txt") : input;
  if (throughLink) std::filesystem::create_symlink(input, output);
  OpenInput(input);
  prompts_->QueueSave(output);
  prompts_->QueueSaveCancel();  // the dialog comes back; the user gives up
  Child<QAction>(window_, "output")->trigger();
  QVERIFY(
      Contains(prompts_->Calls(), "message: Output file " + output + " is the input file " + input +
                                      ": writing it would destroy the input. Choose another output file."));
  QVERIFY(!Child<QAction>(window_, "output")->isChecked());
  QVERIFY(!S().WriteToFile);
  QCOMPARE(ReadWhole(input), kDaily);
  QVERIFY(prompts_->AllAnswersUsed());
}

void MainWindowFilesTest::inputThatIsTheOutputIsRefused() {
  const std::string path = Path("hourly.txt");
  OpenOutput(path);
  OpenInput(path);
  QVERIFY(
      Contains(prompts_->Calls(), "message: Output file " + path + " is the input file " + path +
                                      ": writing it would destroy the input. Choose another output file."));
  QVERIFY(!Child<QAction>(window_, "input")->isChecked());
  QVERIFY(!S().ReadFromFile);
}

// The overwrite question's No brings the dialog back with its filters; its Cancel ends
// the choice instead of asking again.
void MainWindowFilesTest::cancelAfterNoToOverwriteCancels() {
  const std::string existing = Write("old.txt", "kept");
  prompts_->QueueSave(existing);
  prompts_->QueueConfirm(false);
  prompts_->QueueSaveCancel();
  Child<QAction>(window_, "output")->trigger();
  QCOMPARE(
      prompts_->Calls(),
      (std::vector<std::string>{"save dialog: ", "question: Output file " + existing + " exists. Overwrite?",
                                "save dialog: " + existing}));
  QCOMPARE(prompts_->Filters()[0], prompts_->Filters()[1]);
  QVERIFY(!Child<QAction>(window_, "output")->isChecked());
  QCOMPARE(ReadWhole(existing), std::string("kept"));
}

void MainWindowFilesTest::restartedRunStartsItsOutputAnewOrAppends_data() {
  QTest::addColumn<int>("answer");
  QTest::addColumn<int>("copies");
  QTest::newRow("anew") << static_cast<int>(Answer::Yes) << 1;
  QTest::newRow("appended") << static_cast<int>(Answer::No) << 2;
}

void MainWindowFilesTest::restartedRunStartsItsOutputAnewOrAppends() {
  QFETCH(int, answer);
  QFETCH(int, copies);
  const std::string path = Path("hourly.txt");
  OpenOutput(path);
  Step();
  const std::string first = ReadWhole(path);
  prompts_->QueueConfirmOrCancel(Answer::No);  // the log goes unsaved
  prompts_->QueueConfirmOrCancel(static_cast<Answer>(answer));
  window_->Initialise();
  Step();
  Child<QAction>(window_, "output")->trigger();  // closes the file
  std::string expected;
  for (int i = 0; i < copies; ++i) expected += first;
  QVERIFY(!first.empty());
  QCOMPARE(ReadWhole(path), expected);
}

void MainWindowFilesTest::openingAFileAfterTheEndOfInputStartsARun() {
  OpenInput(Write("one.txt", "5 1 3 4.0\r\n"));
  Step();
  Step();  // the end of the input
  QVERIFY(!Child<QAction>(window_, "next")->isEnabled());
  prompts_->QueueConfirmOrCancel(Answer::No);
  Child<QAction>(window_, "input")->trigger();  // closes
  prompts_->QueueConfirmOrCancel(Answer::No);
  OpenInput(Write("two.txt", kDaily));
  QVERIFY(Child<QAction>(window_, "next")->isEnabled());
  QVERIFY(Child<QAction>(window_, "nextMany")->isEnabled());
}

void MainWindowFilesTest::testModeAfterClosingTheInputRunsWithoutDateErrors() {
  OpenInput(Write("daily.txt", "5 1 3000 4.0\r\n"));
  Step();
  prompts_->QueueConfirmOrCancel(Answer::No);
  Child<QAction>(window_, "input")->trigger();
  const std::size_t asked = prompts_->Calls().size();
  Step();
  Step();
  QCOMPARE(prompts_->Calls().size(), asked);  // no message: no date-order error
  QCOMPARE(S().SequenceNumber, 2);
}

QTEST_MAIN(MainWindowFilesTest)
#include "main_window_files_test.moc"
