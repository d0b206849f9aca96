#pragma once
// The prompts of the desktop program: Qt's file dialogs and message boxes, with the
// application title as caption.

#include <QWidget>

#include "prompts.h"

namespace nimbra {

class QtPrompts : public Prompts {
 public:
  explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}

  std::string ChooseFileToOpen(const std::string& proposed, const std::string& filters) override;
  std::optional<std::string> ChooseFileToSave(const std::string& proposed,
                                              const std::string& filters) override;
  void Inform(const std::string& text) override;
  bool Confirm(const std::string& text) override;
  Answer ConfirmOrCancel(const std::string& text) override;
  void ShowError(const std::string& text) override;
  void Warn(const std::string& text) override;

  // The next file dialog says in its caption what is chosen; a save dialog adds suffix
  // to a name chosen without one.
  void SetNextDialog(const QString& title, const QString& suffix);

 private:
  QWidget* parent_;
  QString title_;
  QString suffix_;
};

// Sets the next file dialog's caption and default suffix where the prompts are real dialogs.
void TitleNextDialog(Prompts& prompts, const QString& title, const QString& suffix = QString());

// Text of the system (8-bit, CR LF line breaks) as Qt shows it.
QString ToQString(const std::string& text);
std::string FromQString(const QString& text);

}  // namespace nimbra
