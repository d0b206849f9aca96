#include "file_field.h"

#include <QHBoxLayout>

#include "qt_prompts.h"
#include "remembered_settings.h"

namespace nimbra {

namespace {
constexpr const char* kCsvFilters = "CSV files (*.csv);;All files (*)";
}

FileField::FileField(Prompts& prompts, Purpose purpose, QString caption, QString settingsKey, QWidget* parent)
    : QWidget(parent), prompts_(prompts), purpose_(purpose), caption_(std::move(caption)) {
  Edit = new QLineEdit(RememberedValue(settingsKey).toString());
  Button = new QPushButton(tr("..."));
  Button->setToolTip(caption_);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Edit, 1);
  layout->addWidget(Button);
  connect(Button, &QPushButton::clicked, this, &FileField::Choose);
  connect(Edit, &QLineEdit::textChanged, this,
          [settingsKey](const QString& text) { RememberValue(settingsKey, text); });
}

void FileField::Choose() {
  TitleNextDialog(prompts_, caption_, QStringLiteral("csv"));
  if (purpose_ == Purpose::Open) {
    SetPath(QString::fromStdString(prompts_.ChooseFileToOpen(PathText(), kCsvFilters)));
  } else if (const auto chosen = prompts_.ChooseFileToSave(PathText(), kCsvFilters)) {
    SetPath(QString::fromStdString(*chosen));
  }
}

}  // namespace nimbra
