#pragma once
// The visual output window: the system's log, which is at the same time a small
// plain-text editor. It exists once, starts hidden and shows itself with the first
// line written to it.

#include <QList>
#include <QMainWindow>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "log_spill.h"
#include "output_log.h"
#include "prompts.h"

class QAction;
class QCloseEvent;
class QMenu;
class QMenuBar;
class QPlainTextEdit;

namespace nimbra {

class LogWindow : public QMainWindow, public OutputLog {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 999;
  // Lines the text area holds; beyond that the oldest lines move to a file beside it.
  static constexpr int kDefaultLineCapacity = 100'000;

  explicit LogWindow(Prompts& prompts, int lineCapacity = kDefaultLineCapacity);

  void AddLine(const std::string& text) override;
  // Lines in one insertion: a run that writes thousands a second keeps the window alive.
  void AddLines(const std::vector<std::string>& lines);
  void ClearText() override;
  std::string LastLine() const override;
  void ReplaceLastLine(const std::string& text) override;
  // The user's locale separator, so that logged reals read as the user writes them.
  std::string DecimalSeparator() const override;

  // The lines of the text area, as a save writes them.
  std::vector<std::string> Lines() const;
  // Right below mainWindow, as wide as it.
  void PlaceBelow(const QWidget& mainWindow);
  bool IsEmpty() const;
  // Lines written or typed since the text was last saved, opened or started anew.
  bool HasUnsavedContent() const;

  void LoadStartValues();
  void MarkModified();
  bool MayClose();
  void StartNew();
  void OpenFile();
  void Save();
  void SaveAs();
  void AlignLeft();
  void AlignRight();
  void Centre();
  void ToggleWordWrap();
  void ToggleReadOnly();
  void ChooseFont();
  void ChooseBackColour();
  void CountCharacters();

  // True means go on: the text was saved or the user chose not to save.
  bool AskToSave();
  bool SaveFile();
  bool SaveFileAs();

  // The file the text was last saved to or opened from; empty for a new text.
  const std::string& FileName() const { return fileName_; }
  // Lines written or typed since the text was last saved, opened or started anew.
  bool Modified() const { return modified_; }
  // False: as if the text had just been saved.
  void SetModified(bool modified) { modified_ = modified; }
  // The commands that replace the whole text.
  QList<QAction*> TextReplacingActions() const { return {newAction_, openAction_}; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  using Handler = void (LogWindow::*)();

  void BuildTextArea(int lineCapacity);
  void BuildFileMenu();
  void BuildTextMenu();
  void BuildOptionsMenu();
  QAction* AddAction(QMenu* menu, const QString& caption, const QString& name, Handler handler,
                     bool checkable = false);

  int LineCount() const;
  // Moves the first count lines of the text area to the spill file.
  void SpillFirstLines(int count);
  void ReplaceText(const QString& text);
  void SetAlignment(Qt::Alignment alignment, QAction* chosen);
  void SetCaption(const QString& name);
  void LoadFile(const std::string& path);
  void WriteFile(const std::string& path) const;
  std::optional<std::string> ChooseSavePath();

  Prompts& prompts_;
  int lineCapacity_;
  LogSpill spill_;
  QPlainTextEdit* text_ = nullptr;
  QMenuBar* menus_ = nullptr;
  QAction* newAction_ = nullptr;
  QAction* openAction_ = nullptr;
  QAction* saveAction_ = nullptr;
  QAction* saveAsAction_ = nullptr;
  QAction* closeAction_ = nullptr;
  QAction* alignLeftAction_ = nullptr;
  QAction* alignRightAction_ = nullptr;
  QAction* centreAction_ = nullptr;
  QAction* wordWrapAction_ = nullptr;
  QAction* readOnlyAction_ = nullptr;
  QAction* fontAction_ = nullptr;
  QAction* backColourAction_ = nullptr;
  QAction* countCharactersAction_ = nullptr;

  std::string fileName_;
  bool modified_ = false;
};

}  // namespace nimbra
