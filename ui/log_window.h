#pragma once
// The visual output window: the system's log, which is at the same time a small
// plain-text editor. It exists once, starts hidden and shows itself with the first
// line written to it.

#include <QMainWindow>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "output_log.h"
#include "prompts.h"

class QAction;
class QCloseEvent;
class QMenu;
class QMenuBar;
class QPlainTextEdit;

namespace nimbra {

class TVout : public QMainWindow, public OutputLog {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 999;
  // Lines the text area holds; beyond that the oldest lines make room for new ones.
  static constexpr int kDefaultLineCapacity = 100'000;

  explicit TVout(Prompts& prompts, int lineCapacity = kDefaultLineCapacity);

  void AddLine(const std::string& text) override;
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

  void FormCreate();
  void Memo1Change();
  bool FormCloseQuery();
  void New1Click();
  void Open1Click();
  void Save1Click();
  void Saveas1Click();
  void AlignLeft1Click();
  void AlignRight1Click();
  void Center1Click();
  void WordWrap1Click();
  void ReadOnly1Click();
  void Font1Click();
  void BackColor1Click();
  void Countchars1Click();

  // True means go on: the text was saved or the user chose not to save.
  bool AskToSave();
  bool SaveFile();
  bool SaveFileAs();

  QPlainTextEdit* Memo1 = nullptr;
  QMenuBar* MainMenu1 = nullptr;
  QAction* New1 = nullptr;
  QAction* Open1 = nullptr;
  QAction* Save1 = nullptr;
  QAction* Saveas1 = nullptr;
  QAction* Exit1 = nullptr;
  QAction* AlignLeft1 = nullptr;
  QAction* AlignRight1 = nullptr;
  QAction* Center1 = nullptr;
  QAction* WordWrap1 = nullptr;
  QAction* ReadOnly1 = nullptr;
  QAction* Font1 = nullptr;
  QAction* BackColor1 = nullptr;
  QAction* Countchars1 = nullptr;

  std::string FileName;
  bool Modified = false;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  using Handler = void (TVout::*)();

  void BuildMemo(int lineCapacity);
  void BuildFileMenu();
  void BuildTextMenu();
  void BuildOptionsMenu();
  QAction* AddAction(QMenu* menu, const QString& caption, const QString& name, Handler handler,
                     bool checkable = false);

  int LineCount() const;
  void AppendLine(const QString& line);
  void RemoveFirstLine();
  void ReplaceText(const QString& text);
  void SetAlignment(Qt::Alignment alignment, QAction* chosen);
  void SetCaption(const QString& name);
  void LoadFile(const std::string& path);
  void WriteFile(const std::string& path) const;
  std::optional<std::string> ChooseSavePath();

  Prompts& prompts_;
  int lineCapacity_;
};

}  // namespace nimbra
