#include "log_window.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QFontDialog>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
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

LogWindow::LogWindow(Prompts& prompts, int lineCapacity) : prompts_(prompts) {
  // Closing the main window must end the program even while the log is still open.
  setAttribute(Qt::WA_QuitOnClose, false);
  resize(586, 236);
  BuildTextArea(lineCapacity);
  menus_ = menuBar();
  menus_->setObjectName(QStringLiteral("menus"));
  BuildFileMenu();
  BuildTextMenu();
  BuildOptionsMenu();
  setWindowTitle(kCaptionPrefix + QStringLiteral("(Untitled)"));
  LoadStartValues();
}

void LogWindow::BuildTextArea(int lineCapacity) {
  // A capacity below one line would leave the drop-oldest rule nothing to keep.
  lineCapacity_ = std::max(lineCapacity, 1);
  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("text"));
  text_->setFrameShape(QFrame::NoFrame);
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(13);
  text_->setFont(font);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // One block more than the lines: the empty block after the last line break. The
  // limit also switches off undo, whose history would grow with every logged line.
  text_->setMaximumBlockCount(lineCapacity_ + 1);
  setCentralWidget(text_);
  text_->setFocus();
  connect(text_, &QPlainTextEdit::textChanged, this, &LogWindow::MarkModified);
}

void LogWindow::BuildFileMenu() {
  QMenu* menu = menus_->addMenu(QStringLiteral("&File"));
  newAction_ = AddAction(menu, QStringLiteral("&New"), QStringLiteral("new"), &LogWindow::StartNew);
  menu->addSeparator();
  openAction_ = AddAction(menu, QStringLiteral("&Open..."), QStringLiteral("open"), &LogWindow::OpenFile);
  saveAction_ = AddAction(menu, QStringLiteral("&Save"), QStringLiteral("save"), &LogWindow::Save);
  saveAction_->setShortcut(QKeySequence::Save);
  saveAsAction_ =
      AddAction(menu, QStringLiteral("Save &as..."), QStringLiteral("saveAs"), &LogWindow::SaveAs);
  menu->addSeparator();
  // Exit closes this window only, through the same save question as its close box.
  closeAction_ = menu->addAction(QStringLiteral("E&xit"));
  closeAction_->setObjectName(QStringLiteral("close"));
  connect(closeAction_, &QAction::triggered, this, &QWidget::close);
}

void LogWindow::BuildTextMenu() {
  QMenu* menu = menus_->addMenu(QStringLiteral("&Text"));
  alignLeftAction_ = AddAction(menu, QStringLiteral("Align &Left"), QStringLiteral("alignLeft"),
                               &LogWindow::AlignLeft, true);
  alignRightAction_ = AddAction(menu, QStringLiteral("Align &Right"), QStringLiteral("alignRight"),
                                &LogWindow::AlignRight, true);
  centreAction_ =
      AddAction(menu, QStringLiteral("&Center"), QStringLiteral("centre"), &LogWindow::Centre, true);
  alignLeftAction_->setChecked(true);
  menu->addSeparator();
  wordWrapAction_ = AddAction(menu, QStringLiteral("&Word Wrap"), QStringLiteral("wordWrap"),
                              &LogWindow::ToggleWordWrap, true);
  readOnlyAction_ = AddAction(menu, QStringLiteral("Read &Only"), QStringLiteral("readOnly"),
                              &LogWindow::ToggleReadOnly, true);
}

void LogWindow::BuildOptionsMenu() {
  QMenu* menu = menus_->addMenu(QStringLiteral("&Options"));
  fontAction_ = AddAction(menu, QStringLiteral("&Font..."), QStringLiteral("font"), &LogWindow::ChooseFont);
  backColourAction_ = AddAction(menu, QStringLiteral("Back &Color..."), QStringLiteral("backColour"),
                                &LogWindow::ChooseBackColour);
  menu->addSeparator();
  countCharactersAction_ = AddAction(menu, QStringLiteral("Count chars"), QStringLiteral("countCharacters"),
                                     &LogWindow::CountCharacters);
}

QAction* LogWindow::AddAction(QMenu* menu, const QString& caption, const QString& name, Handler handler,
                              bool checkable) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  action->setCheckable(checkable);
  connect(action, &QAction::triggered, this,
          [this, handler] { RunGuarded(prompts_, [this, handler] { (this->*handler)(); }); });
  return action;
}

void LogWindow::LoadStartValues() {
  fileName_.clear();
  modified_ = false;
}

void LogWindow::MarkModified() { modified_ = true; }

bool LogWindow::MayClose() { return !modified_ || AskToSave(); }

void LogWindow::closeEvent(QCloseEvent* event) {
  bool mayClose = false;
  RunGuarded(prompts_, [&] { mayClose = MayClose(); });
  event->setAccepted(mayClose);
}

// --- The log ---------------------------------------------------------------

// Every line ends with a line break, so the text area's last block is empty unless
// the user typed after the last break; such an unfinished line counts too.
int LogWindow::LineCount() const {
  const QTextDocument* document = text_->document();
  return document->blockCount() - (document->lastBlock().text().isEmpty() ? 1 : 0);
}

void LogWindow::AddLine(const std::string& text) {
  // Raised when it appears, not with every line: a window the user brought to the front
  // during a run (the graphs) stays there.
  AddLines(SplitLines(text));
}

// The oldest lines make room first, those of the text area, then those of the batch.
void LogWindow::AddLines(const std::vector<std::string>& lines) {
  if (isHidden()) {
    show();
    raise();
  }
  const long long total = LineCount() + static_cast<long long>(lines.size());
  const long long overflow = total - lineCapacity_;
  if (overflow > 0) SpillFirstLines(static_cast<int>(std::min<long long>(overflow, LineCount())));
  std::size_t first = 0;
  for (; static_cast<long long>(lines.size() - first) > lineCapacity_; ++first)
    spill_.Add(ToQString(lines[first]));
  if (overflow > 0) {
    statusBar()->showMessage(
        QStringLiteral("%1 earlier lines are not shown here; Save writes the whole log").arg(spill_.Count()));
  }
  QString text;
  for (std::size_t k = first; k < lines.size(); ++k) text += ToQString(lines[k]) + QLatin1Char('\n');
  text_->moveCursor(QTextCursor::End);
  if (!text_->document()->lastBlock().text().isEmpty()) text_->insertPlainText(QStringLiteral("\n"));
  text_->insertPlainText(text);
}

void LogWindow::SpillFirstLines(int count) {
  QTextDocument* document = text_->document();
  QTextBlock block = document->firstBlock();
  for (int k = 0; k < count && block.isValid(); ++k, block = block.next()) spill_.Add(block.text());
  QTextCursor cursor(document);
  if (!cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, count))
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
}

void LogWindow::ClearText() {
  ReplaceText(QString());
  // Clearing an empty text still counts as a change of it.
  MarkModified();
}

void LogWindow::ReplaceText(const QString& text) {
  spill_.Clear();
  statusBar()->clearMessage();
  QTextCursor cursor(text_->document());
  cursor.select(QTextCursor::Document);
  cursor.insertText(text);
}

std::string LogWindow::LastLine() const {
  const int count = LineCount();
  return count == 0 ? std::string() : FromQString(text_->document()->findBlockByNumber(count - 1).text());
}

void LogWindow::ReplaceLastLine(const std::string& text) {
  const int count = LineCount();
  if (count == 0) return;
  QTextCursor cursor(text_->document()->findBlockByNumber(count - 1));
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  cursor.insertText(JoinedWithLf(text));
}

std::string LogWindow::DecimalSeparator() const { return FromQString(QLocale().decimalPoint()); }

std::vector<std::string> LogWindow::Lines() const {
  std::vector<std::string> lines = spill_.Lines();
  const std::vector<std::string> shown = SplitFileLines(FromQString(text_->toPlainText()));
  lines.insert(lines.end(), shown.begin(), shown.end());
  return lines;
}

void LogWindow::PlaceBelow(const QWidget& mainWindow) {
  nimbra::PlaceBelow(*this, mainWindow, kHeightBelowMainWindow);
}

bool LogWindow::IsEmpty() const { return LineCount() == 0; }

bool LogWindow::HasUnsavedContent() const { return modified_ && !IsEmpty(); }

// --- Files -----------------------------------------------------------------

bool LogWindow::AskToSave() {
  const std::string subject = fileName_.empty() ? "The log" : "The document " + fileName_;
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

bool LogWindow::SaveFile() {
  if (fileName_.empty()) return SaveFileAs();
  WriteFile(fileName_);
  modified_ = false;
  return true;
}

// A file that cannot be written leaves the name and the caption as they were.
bool LogWindow::SaveFileAs() {
  const std::optional<std::string> path = ChooseSavePath();
  if (!path) return false;
  WriteFile(*path);
  fileName_ = *path;
  modified_ = false;
  SetCaption(ToQString(fileName_));
  return true;
}

// Like a save dialog that prompts before overwriting: No brings the dialog back.
std::optional<std::string> LogWindow::ChooseSavePath() {
  std::string proposed = fileName_;
  for (;;) {
    TitleNextDialog(prompts_, QStringLiteral("Save the log"), QStringLiteral("txt"));
    std::optional<std::string> chosen = prompts_.ChooseFileToSave(proposed, kFilters);
    std::error_code unknown;
    if (!chosen || !std::filesystem::exists(*chosen, unknown)) return chosen;
    if (prompts_.Confirm(*chosen + " already exists.\r\nDo you want to replace it?")) return chosen;
    proposed = *chosen;
  }
}

void LogWindow::WriteFile(const std::string& path) const { WriteLines(path, Lines()); }

void LogWindow::LoadFile(const std::string& path) {
  const std::vector<std::string> lines = ReadLines(path);  // a file that cannot be read leaves the text
  ReplaceText(QString());
  AddLines(lines);
}

void LogWindow::SetCaption(const QString& name) { setWindowTitle(kCaptionPrefix + name); }

// --- Menu handlers -----------------------------------------------------------

void LogWindow::StartNew() {
  if (modified_ && !AskToSave()) return;
  ReplaceText(QString());
  modified_ = false;
  fileName_.clear();
  SetCaption(QStringLiteral("[Untitled]"));
}

void LogWindow::OpenFile() {
  if (modified_ && !AskToSave()) return;
  // The open prompt hands back what it was given on a cancel, so it starts empty.
  const std::string path = prompts_.ChooseFileToOpen(std::string(), kFilters);
  if (path.empty()) return;
  fileName_ = path;
  LoadFile(path);
  modified_ = false;
  SetCaption(ToQString(fileName_));
}

void LogWindow::Save() {
  if (modified_) SaveFile();
}

void LogWindow::SaveAs() { SaveFileAs(); }

void LogWindow::AlignLeft() { SetAlignment(Qt::AlignLeft, alignLeftAction_); }

void LogWindow::AlignRight() { SetAlignment(Qt::AlignRight, alignRightAction_); }

void LogWindow::Centre() { SetAlignment(Qt::AlignHCenter, centreAction_); }

void LogWindow::SetAlignment(Qt::Alignment alignment, QAction* chosen) {
  QTextOption option = text_->document()->defaultTextOption();
  option.setAlignment(alignment);
  text_->document()->setDefaultTextOption(option);
  for (QAction* entry : {alignLeftAction_, alignRightAction_, centreAction_})
    entry->setChecked(entry == chosen);
}

void LogWindow::ToggleWordWrap() {
  const bool wrap = text_->lineWrapMode() == QPlainTextEdit::NoWrap;
  text_->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  text_->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
  wordWrapAction_->setChecked(wrap);
}

void LogWindow::ToggleReadOnly() {
  text_->setReadOnly(!text_->isReadOnly());
  readOnlyAction_->setChecked(text_->isReadOnly());
}

void LogWindow::ChooseFont() {
  bool accepted = false;
  const QFont font = QFontDialog::getFont(&accepted, text_->font(), this);
  if (accepted) text_->setFont(font);
}

void LogWindow::ChooseBackColour() {
  QPalette palette = text_->palette();
  const QColor color = QColorDialog::getColor(palette.color(QPalette::Base), this);
  if (!color.isValid()) return;
  palette.setColor(QPalette::Base, color);
  text_->setPalette(palette);
}

// A line break counts as the two characters a saved file holds for it.
void LogWindow::CountCharacters() {
  const QString text = text_->toPlainText();
  const auto count = text.size() + text.count(QLatin1Char('\n'));
  prompts_.Inform("The text has " + std::to_string(count) + " characters");
}

}  // namespace nimbra
