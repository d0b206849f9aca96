#include "remembered_settings.h"

#include <QSettings>

namespace nimbra {

void Remember(QSpinBox* box, const QString& key) {
  box->setValue(QSettings().value(key, box->value()).toInt());
  QObject::connect(box, &QSpinBox::valueChanged, box, [key](int value) { QSettings().setValue(key, value); });
}

void Remember(QLineEdit* edit, const QString& key) {
  edit->setText(QSettings().value(key, edit->text()).toString());
  QObject::connect(edit, &QLineEdit::textChanged, edit,
                   [key](const QString& text) { QSettings().setValue(key, text); });
}

void Remember(QComboBox* box, const QString& key) {
  box->setCurrentIndex(QSettings().value(key, box->currentIndex()).toInt());
  QObject::connect(box, &QComboBox::currentIndexChanged, box,
                   [key](int index) { QSettings().setValue(key, index); });
}

void Remember(QAbstractButton* button, const QString& key) {
  button->setChecked(QSettings().value(key, button->isChecked()).toBool());
  QObject::connect(button, &QAbstractButton::toggled, button,
                   [key](bool checked) { QSettings().setValue(key, checked); });
}

}  // namespace nimbra
