#include "qt_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <utility>

namespace nimbra {

QString ToQString(const std::string& text) {
  QString result = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  return result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string FromQString(const QString& text) { return text.toStdString(); }

void QtPrompts::SetNextDialog(const QString& title, const QString& suffix) {
  title_ = title;
  suffix_ = suffix;
}

void TitleNextDialog(Prompts& prompts, const QString& title, const QString& suffix) {
  if (auto* dialogs = dynamic_cast<QtPrompts*>(&prompts)) dialogs->SetNextDialog(title, suffix);
}

namespace {

const QString kLastFolderKey = QStringLiteral("Files/LastFolder");

// A dialog with nothing proposed opens in the folder of the file chosen last.
QString StartingPoint(const std::string& proposed) {
  return proposed.empty() ? QSettings().value(kLastFolderKey).toString() : ToQString(proposed);
}

void RememberFolder(const QString& chosen) {
  if (!chosen.isEmpty()) QSettings().setValue(kLastFolderKey, QFileInfo(chosen).absolutePath());
}

}  // namespace

std::string QtPrompts::ChooseFileToOpen(const std::string& proposed, const std::string& filters) {
  const QString chosen = QFileDialog::getOpenFileName(parent_, std::exchange(title_, QString()),
                                                      StartingPoint(proposed), ToQString(filters));
  suffix_.clear();
  RememberFolder(chosen);
  return chosen.isEmpty() ? proposed : FromQString(chosen);
}

std::optional<std::string> QtPrompts::ChooseFileToSave(const std::string& proposed,
                                                       const std::string& filters) {
  QFileDialog dialog(parent_, std::exchange(title_, QString()), StartingPoint(proposed), ToQString(filters));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(std::exchange(suffix_, QString()));
  // Overwriting is asked by the caller, in its own words.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  RememberFolder(dialog.selectedFiles().constFirst());
  return FromQString(dialog.selectedFiles().constFirst());
}

void QtPrompts::Inform(const std::string& text) {
  QMessageBox::information(parent_, QApplication::applicationName(), ToQString(text));
}

void QtPrompts::Warn(const std::string& text) {
  QMessageBox::warning(parent_, QApplication::applicationName(), ToQString(text));
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
