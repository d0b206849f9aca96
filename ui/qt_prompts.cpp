#include "qt_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace nimbra {

QString ToQString(const std::string& text) {
  QString result = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  return result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string FromQString(const QString& text) { return text.toStdString(); }

std::string QtPrompts::ChooseFileToOpen(const std::string& proposed, const std::string& filters) {
  const QString chosen =
      QFileDialog::getOpenFileName(parent_, QString(), ToQString(proposed), ToQString(filters));
  return chosen.isEmpty() ? proposed : FromQString(chosen);
}

std::optional<std::string> QtPrompts::ChooseFileToSave(const std::string& proposed,
                                                       const std::string& filters) {
  // Overwriting is asked by the caller, in its own words.
  const QString chosen =
      QFileDialog::getSaveFileName(parent_, QString(), ToQString(proposed), ToQString(filters), nullptr,
                                   QFileDialog::DontConfirmOverwrite);
  if (chosen.isEmpty()) return std::nullopt;
  return FromQString(chosen);
}

void QtPrompts::Inform(const std::string& text) {
  QMessageBox::information(parent_, QApplication::applicationName(), ToQString(text));
}

void QtPrompts::ShowError(const std::string& text) {
  QMessageBox::critical(parent_, QApplication::applicationName(), ToQString(text));
}

bool QtPrompts::Confirm(const std::string& text) {
  return QMessageBox::question(parent_, QApplication::applicationName(), ToQString(text),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

Answer QtPrompts::ConfirmOrCancel(const std::string& text) {
  const auto button = QMessageBox::question(parent_, QApplication::applicationName(), ToQString(text),
                                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (button == QMessageBox::Yes) return Answer::Yes;
  return button == QMessageBox::No ? Answer::No : Answer::Cancel;
}

}  // namespace nimbra
