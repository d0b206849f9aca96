#pragma once
// What the user last chose in the workspace: each field loads its value at once and stores
// every change. Values are written to the settings file on a thread of their own, since a
// write syncs the file to disk, which on a busy disk holds the window up for a few hundred
// milliseconds; a value not written yet is read back as stored.

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QVariant>

namespace nimbra {

void RememberValue(const QString& key, const QVariant& value);
// The value stored last under key, written or not; fallback when there is none.
QVariant RememberedValue(const QString& key, const QVariant& fallback = {});
// Returns when every value stored has been written (also done when the application ends).
void WriteRememberedValues();

void Remember(QSpinBox* box, const QString& key);
void Remember(QLineEdit* edit, const QString& key);
void Remember(QComboBox* box, const QString& key);
void Remember(QAbstractButton* button, const QString& key);  // a checkable one

}  // namespace nimbra
