#pragma once
// Fields that keep what the user last chose: each loads its value from the settings under
// its key at once and stores every change.

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

namespace nimbra {

void Remember(QSpinBox* box, const QString& key);
void Remember(QLineEdit* edit, const QString& key);
void Remember(QComboBox* box, const QString& key);
void Remember(QAbstractButton* button, const QString& key);  // a checkable one

}  // namespace nimbra
