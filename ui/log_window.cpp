#include "log_window.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QFontDialog>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "errors.h"
#include "guarded_command.h"
#include "qt_prompts.h"
#include "text_lines.h"
#include "window_places.h"

namespace nimbra {

namespace {

const std::string kFilters = "Text Files (*.txt);;Log files (*.log);;All files (*)";
constexpr int kHeightBelowMainWindow = 236;
const QString kCaptionPrefix = QStringLiteral("Visual Output - ");

// A line break at the very end closes the last line; it does not open another one.
std::vector<std::string> SplitFileLines(const std::string& content) {
  std::vector<std::string> lines = SplitLines(content);
  if (lines.back().empty()) lines.pop_back();
  return lines;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw InOutError("Cannot open the file " + path);
  const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw InOutError("Cannot read the file " + path);
  return SplitFileLines(content);
}

void WriteLines(const std::string& path, const std::vector<std::string>& lines) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw InOutError("Cannot create the file " + path);
  for (const auto& line : lines) out << line << "\r\n";
  out.close();
  if (!out) throw InOutError("Cannot write the file " + path);
}

// One line of the log may carry line breaks of its own; the text area takes LF only.
QString JoinedWithLf(const std::string& text) {
  QStringList lines;
  for (const auto& line : SplitLines(text)) lines << ToQString(line);
  return lines.join(QLatin1Char('\n'));
}

}  // namespace

TVout::TVout(Prompts& prompts, int lineCapacity) : prompts_(prompts) {
  // Closing the main window must end the program even while the log is still open.
  setAttribute(Qt::WA_QuitOnClose, false);
  resize(586, 236);
  BuildMemo(lineCapacity);
  MainMenu1 = menuBar();
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  BuildFileMenu();
  BuildTextMenu();
  BuildOptionsMenu();
  setWindowTitle(kCaptionPrefix + QStringLiteral("(Untitled)"));
  FormCreate();
}

void TVout::BuildMemo(int lineCapacity) {
  // A capacity below one line would leave the drop-oldest rule nothing to keep.
  lineCapacity_ = std::max(lineCapacity, 1);
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setFrameShape(QFrame::NoFrame);
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(13);
  Memo1->setFont(font);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // One block more than the lines: the empty block after the last line break. The
  // limit also switches off undo, whose history would grow with every logged line.
  Memo1->setMaximumBlockCount(lineCapacity_ + 1);
  setCentralWidget(Memo1);
  Memo1->setFocus();
  connect(Memo1, &QPlainTextEdit::textChanged, this, &TVout::Memo1Change);
}

void TVout::BuildFileMenu() {
  QMenu* menu = MainMenu1->addMenu(QStringLiteral("&File"));
  New1 = AddAction(menu, QStringLiteral("&New"), QStringLiteral("New1"), &TVout::New1Click);
  menu->addSeparator();
  Open1 = AddAction(menu, QStringLiteral("&Open..."), QStringLiteral("Open1"), &TVout::Open1Click);
  Save1 = AddAction(menu, QStringLiteral("&Save"), QStringLiteral("Save1"), &TVout::Save1Click);
  Save1->setShortcut(QKeySequence::Save);
  Saveas1 = AddAction(menu, QStringLiteral("Save &as..."), QStringLiteral("Saveas1"), &TVout::Saveas1Click);
  menu->addSeparator();
  // Exit closes this window only, through the same save question as its close box.
  Exit1 = menu->addAction(QStringLiteral("E&xit"));
  Exit1->setObjectName(QStringLiteral("Exit1"));
  connect(Exit1, &QAction::triggered, this, &QWidget::close);
}

void TVout::BuildTextMenu() {
  QMenu* menu = MainMenu1->addMenu(QStringLiteral("&Text"));
  AlignLeft1 = AddAction(menu, QStringLiteral("Align &Left"), QStringLiteral("AlignLeft1"),
                         &TVout::AlignLeft1Click, true);
  AlignRight1 = AddAction(menu, QStringLiteral("Align &Right"), QStringLiteral("AlignRight1"),
                          &TVout::AlignRight1Click, true);
  Center1 = AddAction(menu, QStringLiteral("&Center"), QStringLiteral("Center1"), &TVout::Center1Click, true);
  AlignLeft1->setChecked(true);
  menu->addSeparator();
  WordWrap1 = AddAction(menu, QStringLiteral("&Word Wrap"), QStringLiteral("WordWrap1"),
                        &TVout::WordWrap1Click, true);
  ReadOnly1 = AddAction(menu, QStringLiteral("Read &Only"), QStringLiteral("ReadOnly1"),
                        &TVout::ReadOnly1Click, true);
}

void TVout::BuildOptionsMenu() {
  QMenu* menu = MainMenu1->addMenu(QStringLiteral("&Options"));
  Font1 = AddAction(menu, QStringLiteral("&Font..."), QStringLiteral("Font1"), &TVout::Font1Click);
  BackColor1 = AddAction(menu, QStringLiteral("Back &Color..."), QStringLiteral("BackColor1"),
                         &TVout::BackColor1Click);
  menu->addSeparator();
  Countchars1 =
      AddAction(menu, QStringLiteral("Count chars"), QStringLiteral("Countchars1"), &TVout::Countchars1Click);
}

QAction* TVout::AddAction(QMenu* menu, const QString& caption, const QString& name, Handler handler,
                          bool checkable) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  action->setCheckable(checkable);
  connect(action, &QAction::triggered, this,
          [this, handler] { RunGuarded(prompts_, [this, handler] { (this->*handler)(); }); });
  return action;
}

void TVout::FormCreate() {
  FileName.clear();
  Modified = false;
}

void TVout::Memo1Change() { Modified = true; }

bool TVout::FormCloseQuery() { return !Modified || AskToSave(); }

void TVout::closeEvent(QCloseEvent* event) {
  bool mayClose = false;
  RunGuarded(prompts_, [&] { mayClose = FormCloseQuery(); });
  event->setAccepted(mayClose);
}

// --- The log ---------------------------------------------------------------

// Every line ends with a line break, so the text area's last block is empty unless
// the user typed after the last break; such an unfinished line counts too.
int TVout::LineCount() const {
  const QTextDocument* document = Memo1->document();
  return document->blockCount() - (document->lastBlock().text().isEmpty() ? 1 : 0);
}

void TVout::AddLine(const std::string& text) {
  // Raised when it appears, not with every line: a window the user brought to the front
  // during a run (the graphs) stays there.
  if (isHidden()) {
    show();
    raise();
  }
  for (const auto& line : SplitLines(text)) AppendLine(ToQString(line));
}

void TVout::AppendLine(const QString& line) {
  while (LineCount() >= lineCapacity_ && LineCount() > 0) RemoveFirstLine();
  Memo1->moveCursor(QTextCursor::End);
  if (!Memo1->document()->lastBlock().text().isEmpty()) Memo1->insertPlainText(QStringLiteral("\n"));
  Memo1->insertPlainText(line + QLatin1Char('\n'));
}

void TVout::RemoveFirstLine() {
  QTextCursor cursor(Memo1->document());
  if (!cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor))
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
}

void TVout::ClearText() {
  ReplaceText(QString());
  // Clearing an empty text still counts as a change of it.
  Memo1Change();
}

void TVout::ReplaceText(const QString& text) {
  QTextCursor cursor(Memo1->document());
  cursor.select(QTextCursor::Document);
  cursor.insertText(text);
}

std::string TVout::LastLine() const {
  const int count = LineCount();
  return count == 0 ? std::string() : FromQString(Memo1->document()->findBlockByNumber(count - 1).text());
}

void TVout::ReplaceLastLine(const std::string& text) {
  const int count = LineCount();
  if (count == 0) return;
  QTextCursor cursor(Memo1->document()->findBlockByNumber(count - 1));
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  cursor.insertText(JoinedWithLf(text));
}

std::string TVout::DecimalSeparator() const { return FromQString(QLocale().decimalPoint()); }

std::vector<std::string> TVout::Lines() const { return SplitFileLines(FromQString(Memo1->toPlainText())); }

void TVout::PlaceBelow(const QWidget& mainWindow) {
  nimbra::PlaceBelow(*this, mainWindow, kHeightBelowMainWindow);
}

bool TVout::IsEmpty() const { return LineCount() == 0; }

bool TVout::HasUnsavedContent() const { return Modified && !IsEmpty(); }

// --- Files -----------------------------------------------------------------

bool TVout::AskToSave() {
  const std::string subject = FileName.empty() ? "The log" : "The document " + FileName;
  const std::string message = subject + " has changed.\r\rDo you want to save the changes?";
  switch (prompts_.ConfirmOrCancel(message)) {
    case Answer::Yes:
      return SaveFile();
    case Answer::No:
      return true;
    case Answer::Cancel:
      break;
  }
  return false;
}

bool TVout::SaveFile() {
  if (FileName.empty()) return SaveFileAs();
  WriteFile(FileName);
  Modified = false;
  return true;
}

// A file that cannot be written leaves the name and the caption as they were.
bool TVout::SaveFileAs() {
  const std::optional<std::string> path = ChooseSavePath();
  if (!path) return false;
  WriteFile(*path);
  FileName = *path;
  Modified = false;
  SetCaption(ToQString(FileName));
  return true;
}

// Like a save dialog that prompts before overwriting: No brings the dialog back.
std::optional<std::string> TVout::ChooseSavePath() {
  std::string proposed = FileName;
  for (;;) {
    TitleNextDialog(prompts_, QStringLiteral("Save the log"), QStringLiteral("txt"));
    std::optional<std::string> chosen = prompts_.ChooseFileToSave(proposed, kFilters);
    std::error_code unknown;
    if (!chosen || !std::filesystem::exists(*chosen, unknown)) return chosen;
    if (prompts_.Confirm(*chosen + " already exists.\r\nDo you want to replace it?")) return chosen;
    proposed = *chosen;
  }
}

void TVout::WriteFile(const std::string& path) const { WriteLines(path, Lines()); }

void TVout::LoadFile(const std::string& path) {
  const std::vector<std::string> lines = ReadLines(path);
  QString text;
  for (const auto& line : lines) text += ToQString(line) + QLatin1Char('\n');
  ReplaceText(text);
}

void TVout::SetCaption(const QString& name) { setWindowTitle(kCaptionPrefix + name); }

// --- Menu handlers -----------------------------------------------------------

void TVout::New1Click() {
  if (Modified && !AskToSave()) return;
  ReplaceText(QString());
  Modified = false;
  FileName.clear();
  SetCaption(QStringLiteral("[Untitled]"));
}

void TVout::Open1Click() {
  if (Modified && !AskToSave()) return;
  // The open prompt hands back what it was given on a cancel, so it starts empty.
  const std::string path = prompts_.ChooseFileToOpen(std::string(), kFilters);
  if (path.empty()) return;
  FileName = path;
  LoadFile(path);
  Modified = false;
  SetCaption(ToQString(FileName));
}

void TVout::Save1Click() {
  if (Modified) SaveFile();
}

void TVout::Saveas1Click() { SaveFileAs(); }

void TVout::AlignLeft1Click() { SetAlignment(Qt::AlignLeft, AlignLeft1); }

void TVout::AlignRight1Click() { SetAlignment(Qt::AlignRight, AlignRight1); }

void TVout::Center1Click() { SetAlignment(Qt::AlignHCenter, Center1); }

void TVout::SetAlignment(Qt::Alignment alignment, QAction* chosen) {
  QTextOption option = Memo1->document()->defaultTextOption();
  option.setAlignment(alignment);
  Memo1->document()->setDefaultTextOption(option);
  for (QAction* entry : {AlignLeft1, AlignRight1, Center1}) entry->setChecked(entry == chosen);
}

void TVout::WordWrap1Click() {
  const bool wrap = Memo1->lineWrapMode() == QPlainTextEdit::NoWrap;
  Memo1->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  Memo1->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
  WordWrap1->setChecked(wrap);
}

void TVout::ReadOnly1Click() {
  Memo1->setReadOnly(!Memo1->isReadOnly());
  ReadOnly1->setChecked(Memo1->isReadOnly());
}

void TVout::Font1Click() {
  bool accepted = false;
  const QFont font = QFontDialog::getFont(&accepted, Memo1->font(), this);
  if (accepted) Memo1->setFont(font);
}

void TVout::BackColor1Click() {
  QPalette palette = Memo1->palette();
  const QColor color = QColorDialog::getColor(palette.color(QPalette::Base), this);
  if (!color.isValid()) return;
  palette.setColor(QPalette::Base, color);
  Memo1->setPalette(palette);
}

// A line break counts as the two characters a saved file holds for it.
void TVout::Countchars1Click() {
  const QString text = Memo1->toPlainText();
  const auto count = text.size() + text.count(QLatin1Char('\n'));
  prompts_.Inform("The text has " + std::to_string(count) + " characters");
}

}  // namespace nimbra
