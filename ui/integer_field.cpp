#include "integer_field.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <algorithm>
#include <climits>

namespace nimbra {

namespace {

bool ParseInteger(const QString& text, int& value) {
  bool ok = false;
  value = text.toInt(&ok, 10);
  return ok;
}

}  // namespace

IntegerField::IntegerField(int minimum, int maximum, int value, QWidget* parent)
    : QAbstractSpinBox(parent), minimum_(minimum), maximum_(maximum) {
  lineEdit()->setText(QString::number(Bounded(value)));
  connect(lineEdit(), &QLineEdit::textChanged, this, [this] {
    update();  // the arrows are greyed at the bounds
    emit Changed(Value());
  });
}

int IntegerField::Value() const {
  int value = 0;
  return ParseInteger(text(), value) ? value : minimum_;
}

int IntegerField::ValueInRange() const { return Bounded(Value()); }

bool IntegerField::HoldsInteger() const {
  int value = 0;
  return ParseInteger(text(), value);
}

void IntegerField::SetValue(int value) { SetText(QString::number(Bounded(value))); }

void IntegerField::SetText(const QString& text) {
  if (lineEdit()->text() == text) {
    emit Changed(Value());
    return;
  }
  givingText_ = true;
  lineEdit()->setText(text);
  givingText_ = false;
}

void IntegerField::SetArrowsOnly(bool arrows_only) {
  // Only the editor is read-only: the spin box itself must keep its arrows and keys.
  lineEdit()->setReadOnly(arrows_only);
}

QValidator::State IntegerField::validate(QString& input, int& /*pos*/) const {
  if (!std::all_of(input.cbegin(), input.cend(), [this](QChar c) { return IsAllowedCharacter(c); }))
    return QValidator::Invalid;
  int value = 0;
  if (!ParseInteger(input, value)) return QValidator::Intermediate;
  if (BeyondReach(value) && !givingText_) input = QString::number(Bounded(value));
  return QValidator::Acceptable;
}

bool IntegerField::IsAllowedCharacter(QChar character) const {
  return (character >= u'0' && character <= u'9') || character == u'+' || character == u'-';
}

bool IntegerField::BeyondReach(int value) const {
  return HasBounds() && ((value > maximum_ && value > 0) || (value < minimum_ && value < 0));
}

void IntegerField::stepBy(int steps) {
  const int value = Value();
  const int target = Bounded(static_cast<long long>(value) + steps);
  if (target == value) return;
  lineEdit()->setText(QString::number(target));
  selectAll();
}

QAbstractSpinBox::StepEnabled IntegerField::stepEnabled() const {
  if (isReadOnly()) return StepNone;
  const int value = Value();
  StepEnabled enabled = StepNone;
  if (value < (HasBounds() ? maximum_ : INT_MAX)) enabled |= StepUpEnabled;
  if (value > (HasBounds() ? minimum_ : INT_MIN)) enabled |= StepDownEnabled;
  return enabled;
}

void IntegerField::focusOutEvent(QFocusEvent* event) {
  QAbstractSpinBox::focusOutEvent(event);
  // A popup (the editor's context menu) hands the focus back, and so does a window that
  // is deactivated: the user has not left the field. A window that closes deactivates
  // too, and by then its owner may be half destroyed, so it must not hear of a change.
  if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason) return;
  int value = 0;
  if (ParseInteger(text(), value) && ValueInRange() == value) return;
  lineEdit()->setText(QString::number(ValueInRange()));
}

int IntegerField::Bounded(long long value) const {
  const long long low = HasBounds() ? minimum_ : INT_MIN;
  const long long high = HasBounds() ? maximum_ : INT_MAX;
  return static_cast<int>(std::clamp(value, low, std::max(low, high)));
}

QSize IntegerField::sizeHint() const { return WidenedForBounds(QAbstractSpinBox::sizeHint()); }

QSize IntegerField::minimumSizeHint() const { return WidenedForBounds(QAbstractSpinBox::minimumSizeHint()); }

QSize IntegerField::WidenedForBounds(QSize size) const {
  const QString low = QString::number(HasBounds() ? minimum_ : INT_MIN);
  const QString high = QString::number(HasBounds() ? maximum_ : INT_MAX);
  const QFontMetrics metrics = fontMetrics();
  size.rwidth() += std::max(metrics.horizontalAdvance(low), metrics.horizontalAdvance(high));
  return size;
}

}  // namespace nimbra
