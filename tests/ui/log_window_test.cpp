// The log window driven through its menus, its text area and its log operations,
// with scripted answers to every prompt.

#include "log_window.h"

#include <QFile>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <deque>
#include <memory>

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

class TVoutTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<ScriptedPrompts> prompts_;
  std::unique_ptr<TVout> vout_;

  std::string Path(const char* name) const { return dir_->filePath(QString::fromLatin1(name)).toStdString(); }
  std::string Caption() const { return vout_->windowTitle().toStdString(); }
  void SaveAs(const std::string& path) {
    prompts_->saves.push_back(path);
    vout_->Saveas1->trigger();
  }
  void Open(const std::string& path) {
    prompts_->opens.push_back(path);
    vout_->Open1->trigger();
  }
  // Left, Right, Center: 1 where checked.
  std::string AlignChecks() const {
    std::string checks;
    for (const QAction* entry : {vout_->AlignLeft1, vout_->AlignRight1, vout_->Center1})
      checks += entry->isChecked() ? '1' : '0';
    return checks;
  }
  Qt::Alignment Alignment() const { return vout_->Memo1->document()->defaultTextOption().alignment(); }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    prompts_ = std::make_unique<ScriptedPrompts>();
    vout_ = std::make_unique<TVout>(*prompts_);
  }

  void cleanup() {
    QCOMPARE(prompts_->unexpected, 0);
    QVERIFY(prompts_->AllUsed());
    vout_.reset();
    QLocale::setDefault(QLocale::c());
  }

  void startsHiddenUntitledAndUnwrapped() {
    QVERIFY(vout_->isHidden());
    QCOMPARE(Caption(), "Visual Output - (Untitled)");
    QVERIFY(!vout_->Modified);
    QCOMPARE(vout_->Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(vout_->Memo1->font().pixelSize(), 13);
    QCOMPARE(vout_->Memo1->font().family(), QStringLiteral("Courier New"));
    QVERIFY(!vout_->Memo1->isReadOnly() && !vout_->ReadOnly1->isChecked());
  }

  void captionsFollowNewOpenAndSaveAs() {
    const std::string path = Path("log.txt");
    WriteBytes(path, "x\r\n");
    vout_->New1->trigger();
    QCOMPARE(Caption(), "Visual Output - [Untitled]");
    Open(path);
    QCOMPARE(Caption(), "Visual Output - " + path);
    vout_->AddLine("more");
    vout_->ClearText();
    QCOMPARE(Caption(), "Visual Output - " + path);
    QCOMPARE(vout_->FileName, path);
    SaveAs(Path("other.txt"));
    QCOMPARE(Caption(), "Visual Output - " + Path("other.txt"));
    QVERIFY(!vout_->Modified);
  }

  void askToSaveFollowsTheAnswer() {
    vout_->AddLine("log");
    prompts_->questions = {Answer::Yes};  // untitled: the save dialog, cancelled, refuses
    prompts_->saves = {std::nullopt};
    QVERIFY(!vout_->close());
    QCOMPARE(prompts_->asked, Lines{kUntitledQuestion});
    QCOMPARE(prompts_->savePresets.size(), 1u);
    QVERIFY(vout_->isVisible() && vout_->Modified);

    SaveAs(Path("named.txt"));
    vout_->AddLine("second");
    prompts_->questions = {Answer::Cancel};
    vout_->New1->trigger();
    QCOMPARE(vout_->Lines(), (Lines{"log", "second"}));
    QCOMPARE(Caption(), "Visual Output - " + Path("named.txt"));
    QVERIFY(vout_->Modified);
    QCOMPARE(prompts_->asked.back(),
             "The document " + Path("named.txt") + " has changed.\r\rDo you want to save the changes?");

    prompts_->questions = {Answer::Yes};  // named: saved without a dialog
    vout_->New1->trigger();
    QCOMPARE(ReadBytes(Path("named.txt")), "log\r\nsecond\r\n");
    QCOMPARE(vout_->Lines(), Lines{});
    QCOMPARE(prompts_->savePresets.size(), 2u);

    vout_->AddLine("discard me");
    prompts_->questions = {Answer::No};
    vout_->New1->trigger();
    QCOMPARE(vout_->Lines(), Lines{});
    QCOMPARE(Caption(), "Visual Output - [Untitled]");
    QVERIFY(vout_->FileName.empty() && !vout_->Modified);
  }

  void closeAfterLoggingHidesOnNoAndComesBackWithTheNextLine() {
    vout_->AddLine("first");
    QVERIFY(vout_->isVisible());
    prompts_->questions = {Answer::Cancel, Answer::No};
    vout_->Exit1->trigger();
    QVERIFY(vout_->isVisible());
    QVERIFY(vout_->close());
    QVERIFY(vout_->isHidden());
    QCOMPARE(vout_->Lines(), Lines{"first"});
    vout_->AddLine("second");
    QVERIFY(vout_->isVisible());
    QCOMPARE(prompts_->asked, (Lines{kUntitledQuestion, kUntitledQuestion}));
    vout_->Modified = false;  // unchanged text closes without a question
    vout_->Exit1->trigger();
    QVERIFY(vout_->isHidden());
    QCOMPARE(prompts_->asked.size(), 2u);
  }

  void saveOnlyWhenChangedSaveAsAlways() {
    vout_->Save1->trigger();  // unchanged and untitled: no dialog at all
    const std::string path = Path("kept.txt");
    WriteBytes(path, "on disk\r\n");
    Open(path);
    WriteBytes(path, "changed elsewhere\r\n");
    vout_->Save1->trigger();
    QCOMPARE(ReadBytes(path), "changed elsewhere\r\n");

    prompts_->saves = {std::nullopt};
    vout_->Saveas1->trigger();
    QCOMPARE(prompts_->savePresets, Lines{path});
    QCOMPARE(prompts_->saveFilters.front().rfind("Text Files (*.txt);;", 0), 0u);

    prompts_->saves = {path, path};
    prompts_->confirms = {false, true};  // refuse to replace, then accept
    vout_->Saveas1->trigger();
    QCOMPARE(prompts_->asked.size(), 2u);
    QVERIFY(prompts_->asked.front().find(path) != std::string::npos);
    QCOMPARE(ReadBytes(path), "on disk\r\n");
  }

  void failedFilesAreReportedAndStopTheCommand() {
    vout_->AddLine("text");
    const std::string unwritable = Path("missing/dir.txt");
    SaveAs(unwritable);
    QCOMPARE(prompts_->informed.size(), 1u);
    QVERIFY(prompts_->informed.front().find(unwritable) != std::string::npos);
    QCOMPARE(vout_->FileName, std::string());  // the next save does not offer it
    QVERIFY(vout_->Modified);
    QCOMPARE(Caption(), "Visual Output - (Untitled)");

    vout_->Modified = false;  // the user gives the text up
    Open(Path("absent.txt"));
    QCOMPARE(prompts_->informed.size(), 2u);
    QCOMPARE(vout_->Lines(), Lines{"text"});
  }

  void countCharsCountsLineBreaksAsTwo() {
    vout_->Countchars1->trigger();
    vout_->Memo1->setPlainText(QStringLiteral("ab\nc"));
    vout_->Countchars1->trigger();
    QCOMPARE(prompts_->informed, (Lines{"The text has 0 characters", "The text has 5 characters"}));
    vout_->ClearText();
    vout_->AddLine("ab\r\nc");
    SaveAs(Path("count.txt"));
    vout_->Countchars1->trigger();
    QCOMPARE(prompts_->informed.back(),
             "The text has " + std::to_string(ReadBytes(Path("count.txt")).size()) + " characters");
  }

  void alignmentChecksAreExclusive() {
    QCOMPARE(AlignChecks(), "100");
    vout_->Center1->trigger();
    QCOMPARE(AlignChecks(), "001");
    QCOMPARE(Alignment(), Qt::AlignHCenter);
    vout_->AlignRight1->trigger();
    QCOMPARE(AlignChecks(), "010");
    QCOMPARE(Alignment(), Qt::AlignRight);
    vout_->AlignLeft1->trigger();
    vout_->AlignLeft1->trigger();
    QCOMPARE(AlignChecks(), "100");
    QCOMPARE(Alignment(), Qt::AlignLeft);
    QVERIFY(!vout_->Modified);
  }

  void wordWrapAndReadOnlyToggleWithTheirChecks() {
    QPlainTextEdit* memo = vout_->Memo1;
    QVERIFY(!vout_->WordWrap1->isChecked());
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    vout_->WordWrap1->trigger();
    QVERIFY(vout_->WordWrap1->isChecked());
    QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    vout_->WordWrap1->trigger();
    QVERIFY(!vout_->WordWrap1->isChecked());
    QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    vout_->ReadOnly1->trigger();
    QVERIFY(memo->isReadOnly() && vout_->ReadOnly1->isChecked());
    QTest::keyClicks(memo, "typed");
    QVERIFY(memo->toPlainText().isEmpty() && !vout_->Modified);
    vout_->AddLine("logged");  // the program still writes to a read-only log
    QCOMPARE(vout_->LastLine(), "logged");
    vout_->ReadOnly1->trigger();
    QVERIFY(!memo->isReadOnly() && !vout_->ReadOnly1->isChecked());
    vout_->Modified = false;
    QTest::keyClicks(memo, "typed");
    QCOMPARE(vout_->LastLine(), "typed");
    QVERIFY(vout_->Modified);
    vout_->AddLine("next");  // a typed line without a break still ends before the next log line
    QCOMPARE(vout_->Lines(), (Lines{"logged", "typed", "next"}));
  }

  void lastLineAndReplaceLastLine() {
    QCOMPARE(vout_->LastLine(), "");
    vout_->ReplaceLastLine("nothing to replace");
    QCOMPARE(vout_->Lines(), Lines{});
    vout_->AddLine("first");
    vout_->AddLine("@ searching 1");
    vout_->ReplaceLastLine("@ searching 2");
    QCOMPARE(vout_->Lines(), (Lines{"first", "@ searching 2"}));
    QCOMPARE(vout_->LastLine(), "@ searching 2");
    vout_->AddLine("");
    QCOMPARE(vout_->LastLine(), "");
    QCOMPARE(vout_->Lines().size(), 3u);
  }

  void fullLogDropsTheOldestLines() {
    TVout small(*prompts_, 3);
    for (const char* line : {"1", "2", "3", "4"}) small.AddLine(line);
    QCOMPARE(small.Lines(), (Lines{"2", "3", "4"}));
    small.AddLine("5\r\n6");
    QCOMPARE(small.Lines(), (Lines{"4", "5", "6"}));
    WriteBytes(Path("long.txt"), "a\r\nb\r\nc\r\nd\r\n");  // the text area holds no more than its capacity
    prompts_->questions = {Answer::No};
    prompts_->opens = {Path("long.txt")};
    small.Open1->trigger();
    QCOMPARE(small.Lines(), (Lines{"b", "c", "d"}));
    TVout none(*prompts_, 0);
    none.AddLine("a");
    none.AddLine("b");
    QCOMPARE(none.Lines(), Lines{"b"});
  }

  void lineBreaksInsideTextStartFurtherLines() {
    vout_->AddLine("\r\nWet days");
    QCOMPARE(vout_->Lines(), (Lines{"", "Wet days"}));
    vout_->Modified = false;
    vout_->ClearText();
    QVERIFY(vout_->Modified && vout_->Lines().empty());
    vout_->Modified = false;
    vout_->ClearText();  // clearing an empty text is a change too
    QVERIFY(vout_->Modified);
    vout_->AddLine("a\rb\nc");
    QCOMPARE(vout_->Lines(), (Lines{"a", "b", "c"}));
  }

  void addLineFmtUsesTheLocaleSeparator() {
    vout_->AddLineFmt("Sequence #%d", 7);
    vout_->AddLineFmt("& Repetitions performed %d - Distance %f", 12, 0.0934);
    QLocale::setDefault(QLocale(QLocale::German));
    vout_->AddLineFmt("& Repetitions performed %d - Distance %f", 12, 0.0934);
    QCOMPARE(vout_->Lines(), (Lines{"Sequence #7", "& Repetitions performed 12 - Distance 0.09",
                                    "& Repetitions performed 12 - Distance 0,09"}));
  }

  void loadAndSaveKeepLinesWithCrLf() {
    const std::string bytes = "first\r\n\r\n\xce\xbb = 0.05\r\nlast\r\n";
    WriteBytes(Path("in.txt"), bytes);
    Open(Path("in.txt"));
    QCOMPARE(vout_->Lines(), (Lines{"first", "", "\xce\xbb = 0.05", "last"}));
    QVERIFY(!vout_->Modified);
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
    vout_->PlaceBelow(main);
    QCOMPARE(vout_->frameGeometry().left(), main.frameGeometry().left());
    QCOMPARE(vout_->frameGeometry().width(), main.frameGeometry().width());
    QVERIFY(vout_->frameGeometry().top() > main.frameGeometry().bottom());
  }
};

}  // namespace nimbra

QTEST_MAIN(nimbra::TVoutTest)
#include "log_window_test.moc"
