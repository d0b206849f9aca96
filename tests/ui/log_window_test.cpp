// The log window driven through its menus, its text area and its log operations,
// with scripted answers to every prompt.

#include "log_window.h"

#include <QFile>
#include <QLocale>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <deque>
#include <memory>

#include "child_widget.h"
#include "errors.h"

namespace QTest {
template <>
char* toString(const std::string& text) {
  return toString(QString::fromStdString(text));
}
template <>
char* toString(const std::vector<std::string>& lines) {
  QStringList list;
  for (const auto& line : lines) list << QString::fromStdString(line);
  return toString(list);
}
}  // namespace QTest

namespace nimbra {
namespace {

// Answers taken from queues; a prompt with no answer left counts as unexpected.
class ScriptedPrompts : public Prompts {
 public:
  std::deque<std::string> opens;
  std::deque<std::optional<std::string>> saves;
  std::deque<bool> confirms;
  std::deque<Answer> questions;
  std::vector<std::string> informed, asked, savePresets, saveFilters;
  int unexpected = 0;

  std::string ChooseFileToOpen(const std::string& proposed, const std::string&) override {
    return Next(opens, proposed);
  }
  std::optional<std::string> ChooseFileToSave(const std::string& proposed,
                                              const std::string& filters) override {
    savePresets.push_back(proposed);
    saveFilters.push_back(filters);
    return Next(saves, std::optional<std::string>());
  }
  void Inform(const std::string& text) override { informed.push_back(text); }
  bool Confirm(const std::string& text) override {
    asked.push_back(text);
    return Next(confirms, false);
  }
  Answer ConfirmOrCancel(const std::string& text) override {
    asked.push_back(text);
    return Next(questions, Answer::Cancel);
  }
  bool AllUsed() const { return opens.empty() && saves.empty() && confirms.empty() && questions.empty(); }

 private:
  template <class T>
  T Next(std::deque<T>& queue, T fallback) {
    if (queue.empty()) return ++unexpected, fallback;
    T answer = queue.front();
    queue.pop_front();
    return answer;
  }
};

const std::string kUntitledQuestion = "The log has changed.\r\rDo you want to save the changes?";

std::string ReadBytes(const std::string& path) {
  QFile file(QString::fromStdString(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<unreadable>";
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  QFile file(QString::fromStdString(path));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

using Lines = std::vector<std::string>;

}  // namespace

class LogWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<ScriptedPrompts> prompts_;
  std::unique_ptr<LogWindow> logWindow_;

  std::string Path(const char* name) const { return dir_->filePath(QString::fromLatin1(name)).toStdString(); }
  std::string Caption() const { return logWindow_->windowTitle().toStdString(); }
  void SaveAs(const std::string& path) {
    prompts_->saves.push_back(path);
    Child<QAction>(logWindow_, "saveAs")->trigger();
  }
  void Open(const std::string& path) {
    prompts_->opens.push_back(path);
    Child<QAction>(logWindow_, "open")->trigger();
  }
  // Left, Right, Center: 1 where checked.
  std::string AlignChecks() const {
    std::string checks;
    for (const QAction* entry :
         {Child<QAction>(logWindow_, "alignLeft"), Child<QAction>(logWindow_, "alignRight"),
          Child<QAction>(logWindow_, "centre")})
      checks += entry->isChecked() ? '1' : '0';
    return checks;
  }
  Qt::Alignment Alignment() const {
    return Child<QPlainTextEdit>(logWindow_, "text")->document()->defaultTextOption().alignment();
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    prompts_ = std::make_unique<ScriptedPrompts>();
    logWindow_ = std::make_unique<LogWindow>(*prompts_);
  }

  void cleanup() {
    QCOMPARE(prompts_->unexpected, 0);
    QVERIFY(prompts_->AllUsed());
    logWindow_.reset();
    QLocale::setDefault(QLocale::c());
  }

  void startsHiddenUntitledAndUnwrapped() {
    QVERIFY(logWindow_->isHidden());
    QCOMPARE(Caption(), "Visual Output - (Untitled)");
    QVERIFY(!logWindow_->Modified());
    QCOMPARE(Child<QPlainTextEdit>(logWindow_, "text")->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(Child<QPlainTextEdit>(logWindow_, "text")->font().pixelSize(), 13);
    QCOMPARE(Child<QPlainTextEdit>(logWindow_, "text")->font().family(), QStringLiteral("Courier New"));
    QVERIFY(!Child<QPlainTextEdit>(logWindow_, "text")->isReadOnly() &&
            !Child<QAction>(logWindow_, "readOnly")->isChecked());
  }

  void captionsFollowNewOpenAndSaveAs() {
    const std::string path = Path("log.txt");
    WriteBytes(path, "x\r\n");
    Child<QAction>(logWindow_, "new")->trigger();
    QCOMPARE(Caption(), "Visual Output - [Untitled]");
    Open(path);
    QCOMPARE(Caption(), "Visual Output - " + path);
    logWindow_->AddLine("more");
    logWindow_->ClearText();
    QCOMPARE(Caption(), "Visual Output - " + path);
    QCOMPARE(logWindow_->FileName(), path);
    SaveAs(Path("other.txt"));
    QCOMPARE(Caption(), "Visual Output - " + Path("other.txt"));
    QVERIFY(!logWindow_->Modified());
  }

  void askToSaveFollowsTheAnswer() {
    logWindow_->AddLine("log");
    prompts_->questions = {Answer::Yes};  // untitled: the save dialog, cancelled, refuses
    prompts_->saves = {std::nullopt};
    QVERIFY(!logWindow_->close());
    QCOMPARE(prompts_->asked, Lines{kUntitledQuestion});
    QCOMPARE(prompts_->savePresets.size(), 1u);
    QVERIFY(logWindow_->isVisible() && logWindow_->Modified());

    SaveAs(Path("named.txt"));
    logWindow_->AddLine("second");
    prompts_->questions = {Answer::Cancel};
    Child<QAction>(logWindow_, "new")->trigger();
    QCOMPARE(logWindow_->Lines(), (Lines{"log", "second"}));
    QCOMPARE(Caption(), "Visual Output - " + Path("named.txt"));
    QVERIFY(logWindow_->Modified());
    QCOMPARE(prompts_->asked.back(),
             "The document " + Path("named.txt") + " has changed.\r\rDo you want to save the changes?");

    prompts_->questions = {Answer::Yes};  // named: saved without a dialog
    Child<QAction>(logWindow_, "new")->trigger();
    QCOMPARE(ReadBytes(Path("named.txt")), "log\r\nsecond\r\n");
    QCOMPARE(logWindow_->Lines(), Lines{});
    QCOMPARE(prompts_->savePresets.size(), 2u);

    logWindow_->AddLine("discard me");
    prompts_->questions = {Answer::No};
    Child<QAction>(logWindow_, "new")->trigger();
    QCOMPARE(logWindow_->Lines(), Lines{});
    QCOMPARE(Caption(), "Visual Output - [Untitled]");
    QVERIFY(logWindow_->FileName().empty() && !logWindow_->Modified());
  }

  void closeAfterLoggingHidesOnNoAndComesBackWithTheNextLine() {
    logWindow_->AddLine("first");
    QVERIFY(logWindow_->isVisible());
    prompts_->questions = {Answer::Cancel, Answer::No};
    Child<QAction>(logWindow_, "close")->trigger();
    QVERIFY(logWindow_->isVisible());
    QVERIFY(logWindow_->close());
    QVERIFY(logWindow_->isHidden());
    QCOMPARE(logWindow_->Lines(), Lines{"first"});
    logWindow_->AddLine("second");
    QVERIFY(logWindow_->isVisible());
    QCOMPARE(prompts_->asked, (Lines{kUntitledQuestion, kUntitledQuestion}));
    logWindow_->SetModified(false);  // unchanged text closes without a question
    Child<QAction>(logWindow_, "close")->trigger();
    QVERIFY(logWindow_->isHidden());
    QCOMPARE(prompts_->asked.size(), 2u);
  }

  void saveOnlyWhenChangedSaveAsAlways() {
    Child<QAction>(logWindow_, "save")->trigger();  // unchanged and untitled: no dialog at all
    const std::string path = Path("kept.txt");
    WriteBytes(path, "on disk\r\n");
    Open(path);
    WriteBytes(path, "changed elsewhere\r\n");
    Child<QAction>(logWindow_, "save")->trigger();
    QCOMPARE(ReadBytes(path), "changed elsewhere\r\n");

    prompts_->saves = {std::nullopt};
    Child<QAction>(logWindow_, "saveAs")->trigger();
    QCOMPARE(prompts_->savePresets, Lines{path});
    QCOMPARE(prompts_->saveFilters.front().rfind("Text Files (*.txt);;", 0), 0u);

    prompts_->saves = {path, path};
    prompts_->confirms = {false, true};  // refuse to replace, then accept
    Child<QAction>(logWindow_, "saveAs")->trigger();
    QCOMPARE(prompts_->asked.size(), 2u);
    QVERIFY(prompts_->asked.front().find(path) != std::string::npos);
    QCOMPARE(ReadBytes(path), "on disk\r\n");
  }

  void failedFilesAreReportedAndStopTheCommand() {
    logWindow_->AddLine("text");
    const std::string unwritable = Path("missing/dir.txt");
    SaveAs(unwritable);
    QCOMPARE(prompts_->informed.size(), 1u);
    QVERIFY(prompts_->informed.front().find(unwritable) != std::string::npos);
    QCOMPARE(logWindow_->FileName(), std::string());  // the next save does not offer it
    QVERIFY(logWindow_->Modified());
    QCOMPARE(Caption(), "Visual Output - (Untitled)");

    logWindow_->SetModified(false);  // the user gives the text up
    Open(Path("absent.txt"));
    QCOMPARE(prompts_->informed.size(), 2u);
    QCOMPARE(logWindow_->Lines(), Lines{"text"});
  }

  void countCharsCountsLineBreaksAsTwo() {
    Child<QAction>(logWindow_, "countCharacters")->trigger();
    Child<QPlainTextEdit>(logWindow_, "text")->setPlainText(QStringLiteral("ab\nc"));
    Child<QAction>(logWindow_, "countCharacters")->trigger();
    QCOMPARE(prompts_->informed, (Lines{"The text has 0 characters", "The text has 5 characters"}));
    logWindow_->ClearText();
    logWindow_->AddLine("ab\r\nc");
    SaveAs(Path("count.txt"));
    Child<QAction>(logWindow_, "countCharacters")->trigger();
    QCOMPARE(prompts_->informed.back(),
             "The text has " + std::to_string(ReadBytes(Path("count.txt")).size()) + " characters");
  }

  void alignmentChecksAreExclusive() {
    QCOMPARE(AlignChecks(), "100");
    Child<QAction>(logWindow_, "centre")->trigger();
    QCOMPARE(AlignChecks(), "001");
    QCOMPARE(Alignment(), Qt::AlignHCenter);
    Child<QAction>(logWindow_, "alignRight")->trigger();
    QCOMPARE(AlignChecks(), "010");
    QCOMPARE(Alignment(), Qt::AlignRight);
    Child<QAction>(logWindow_, "alignLeft")->trigger();
    Child<QAction>(logWindow_, "alignLeft")->trigger();
    QCOMPARE(AlignChecks(), "100");
    QCOMPARE(Alignment(), Qt::AlignLeft);
    QVERIFY(!logWindow_->Modified());
  }

  void wordWrapAndReadOnlyToggleWithTheirChecks() {
    QPlainTextEdit* memo = Child<QPlainTextEdit>(logWindow_, "text");
    QVERIFY(!Child<QAction>(logWindow_, "wordWrap")->isChecked());
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    Child<QAction>(logWindow_, "wordWrap")->trigger();
    QVERIFY(Child<QAction>(logWindow_, "wordWrap")->isChecked());
    QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    Child<QAction>(logWindow_, "wordWrap")->trigger();
    QVERIFY(!Child<QAction>(logWindow_, "wordWrap")->isChecked());
    QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    Child<QAction>(logWindow_, "readOnly")->trigger();
    QVERIFY(memo->isReadOnly() && Child<QAction>(logWindow_, "readOnly")->isChecked());
    QTest::keyClicks(memo, "typed");
    QVERIFY(memo->toPlainText().isEmpty() && !logWindow_->Modified());
    logWindow_->AddLine("logged");  // the program still writes to a read-only log
    QCOMPARE(logWindow_->LastLine(), "logged");
    Child<QAction>(logWindow_, "readOnly")->trigger();
    QVERIFY(!memo->isReadOnly() && !Child<QAction>(logWindow_, "readOnly")->isChecked());
    logWindow_->SetModified(false);
    QTest::keyClicks(memo, "typed");
    QCOMPARE(logWindow_->LastLine(), "typed");
    QVERIFY(logWindow_->Modified());
    logWindow_->AddLine("next");  // a typed line without a break still ends before the next log line
    QCOMPARE(logWindow_->Lines(), (Lines{"logged", "typed", "next"}));
  }

  void lastLineAndReplaceLastLine() {
    QCOMPARE(logWindow_->LastLine(), "");
    logWindow_->ReplaceLastLine("nothing to replace");
    QCOMPARE(logWindow_->Lines(), Lines{});
    logWindow_->AddLine("first");
    logWindow_->AddLine("@ searching 1");
    logWindow_->ReplaceLastLine("@ searching 2");
    QCOMPARE(logWindow_->Lines(), (Lines{"first", "@ searching 2"}));
    QCOMPARE(logWindow_->LastLine(), "@ searching 2");
    logWindow_->AddLine("");
    QCOMPARE(logWindow_->LastLine(), "");
    QCOMPARE(logWindow_->Lines().size(), 3u);
  }

  // The text area shows the newest lines; every line of the run stays in the log.
  void fullLogKeepsEveryLine() {
    LogWindow small(*prompts_, 3);
    const auto shown = [&small] { return Child<QPlainTextEdit>(&small, "text")->toPlainText(); };
    for (const char* line : {"1", "2", "3", "4"}) small.AddLine(line);
    QCOMPARE(small.Lines(), (Lines{"1", "2", "3", "4"}));
    QCOMPARE(shown(), QStringLiteral("2\n3\n4\n"));
    small.AddLine("5\r\n6");
    QCOMPARE(small.Lines(), (Lines{"1", "2", "3", "4", "5", "6"}));
    QCOMPARE(shown(), QStringLiteral("4\n5\n6\n"));
    QVERIFY(small.statusBar()->currentMessage().startsWith(QStringLiteral("3 ")));
    WriteBytes(Path("long.txt"), "a\r\nb\r\nc\r\nd\r\n");
    prompts_->questions = {Answer::No};
    prompts_->opens = {Path("long.txt")};
    Child<QAction>(&small, "open")->trigger();
    QCOMPARE(small.Lines(), (Lines{"a", "b", "c", "d"}));
    prompts_->saves = {Path("saved.txt")};
    Child<QAction>(&small, "saveAs")->trigger();
    QCOMPARE(ReadBytes(Path("saved.txt")), std::string("a\r\nb\r\nc\r\nd\r\n"));
    LogWindow none(*prompts_, 0);
    none.AddLine("a");
    none.AddLine("b");
    QCOMPARE(none.Lines(), (Lines{"a", "b"}));
  }

  void lineBreaksInsideTextStartFurtherLines() {
    logWindow_->AddLine("\r\nWet days");
    QCOMPARE(logWindow_->Lines(), (Lines{"", "Wet days"}));
    logWindow_->SetModified(false);
    logWindow_->ClearText();
    QVERIFY(logWindow_->Modified() && logWindow_->Lines().empty());
    logWindow_->SetModified(false);
    logWindow_->ClearText();  // clearing an empty text is a change too
    QVERIFY(logWindow_->Modified());
    logWindow_->AddLine("a\rb\nc");
    QCOMPARE(logWindow_->Lines(), (Lines{"a", "b", "c"}));
  }

  void addLineFmtUsesTheLocaleSeparator() {
    logWindow_->AddLineFmt("Sequence #%d", 7);
    logWindow_->AddLineFmt("& Repetitions performed %d - Distance %f", 12, 0.0934);
    QLocale::setDefault(QLocale(QLocale::German));
    logWindow_->AddLineFmt("& Repetitions performed %d - Distance %f", 12, 0.0934);
    QCOMPARE(logWindow_->Lines(), (Lines{"Sequence #7", "& Repetitions performed 12 - Distance 0.09",
                                         "& Repetitions performed 12 - Distance 0,09"}));
  }

  void loadAndSaveKeepLinesWithCrLf() {
    const std::string bytes = "first\r\n\r\n\xce\xbb = 0.05\r\nlast\r\n";
    WriteBytes(Path("in.txt"), bytes);
    Open(Path("in.txt"));
    QCOMPARE(logWindow_->Lines(), (Lines{"first", "", "\xce\xbb = 0.05", "last"}));
    QVERIFY(!logWindow_->Modified());
    SaveAs(Path("out.txt"));
    QCOMPARE(ReadBytes(Path("out.txt")), bytes);

    WriteBytes(Path("lf.txt"), "a\nb");  // other line endings come back as CR LF
    WriteBytes(Path("cr.txt"), "a\rb\r");
    for (const char* name : {"lf.txt", "cr.txt"}) {
      Open(Path(name));
      SaveAs(Path(name) + ".out");
      QCOMPARE(ReadBytes(Path(name) + ".out"), "a\r\nb\r\n");
    }
  }

  // Below the main window's toolbar and status bar, not over them.
  void placeBelowTheMainWindow() {
    QWidget main;
    main.setGeometry(120, 40, 500, 90);
    logWindow_->PlaceBelow(main);
    QCOMPARE(logWindow_->frameGeometry().left(), main.frameGeometry().left());
    QCOMPARE(logWindow_->frameGeometry().width(), main.frameGeometry().width());
    QVERIFY(logWindow_->frameGeometry().top() > main.frameGeometry().bottom());
  }
};

}  // namespace nimbra

QTEST_MAIN(nimbra::LogWindowTest)
#include "log_window_test.moc"
