#pragma once
// The program's help viewer: a contents list with a search field beside the page shown.
// One object for the whole run; each window opens its own topic with the help key.

#include <QWidget>

#include "help_topics.h"

class QLayout;
class QLineEdit;
class QListWidget;
class QSplitter;
class QTextBrowser;

namespace nimbra {

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // The topic of a window's help context (1, 2, 21, 22, 23, 30, 999); the contents for any
  // other number.
  void ShowTopic(int context);
  // The contents page, with the focus in the search field.
  void ShowContents();
  // Title of the page shown.
  QString CurrentTitle() const;

 private:
  QLayout* MakeNavigation();  // creates the browser, which the buttons drive
  QSplitter* MakeSplitter();
  void BuildContents();
  void OpenUrl(const QUrl& url);
  void SelectTopicOf(const QUrl& url);
  void FilterTopics(const QString& query);
  void Present();

  QLineEdit* SearchEdit;
  QListWidget* ContentsList;
  QTextBrowser* Browser;
};

// F1 in the window opens the topic of the given help context.
void InstallHelpKey(QWidget* window, int context, HelpWindow& help);

}  // namespace nimbra
