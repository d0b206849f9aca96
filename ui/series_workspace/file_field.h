#pragma once
// A file name field with a button that chooses the file through the prompts, to open or
// to save; the name is remembered under the settings key given.

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "prompts.h"

namespace nimbra {

class FileField : public QWidget {
  Q_OBJECT

 public:
  enum class Purpose { Open, Save };
  FileField(Prompts& prompts, Purpose purpose, QString caption, QString settingsKey,
            QWidget* parent = nullptr);

  QString Path() const { return Edit->text().trimmed(); }
  std::string PathText() const { return Path().toStdString(); }
  void SetPath(const QString& path) { Edit->setText(path); }

  QLineEdit* Edit = nullptr;
  QPushButton* Button = nullptr;

 private:
  void Choose();

  Prompts& prompts_;
  Purpose purpose_;
  QString caption_;
};

}  // namespace nimbra
