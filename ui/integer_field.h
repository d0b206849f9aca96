#pragma once
// The integer field of the toolbar and the dialogs: a spin box whose text is the value.
//
// The field shows the value a run takes from it. Only digits and a sign can be typed, so a
// text is an integer or on its way to one. A value typed beyond a bound that more digits
// would only move further away becomes the bound at once; a value short of the lower
// bound (the "3" on the way to "30") reads as the bound and shows as typed until the
// focus leaves, as does a text that is no integer yet ("", "-"), which reads as the minimum.

#include <QAbstractSpinBox>
#include <QString>

namespace nimbra {

class IntegerField : public QAbstractSpinBox {
  Q_OBJECT

 public:
  // Minimum and maximum both 0: no bounds, any 32-bit integer.
  IntegerField(int minimum, int maximum, int value, QWidget* parent = nullptr);

  // The text as an integer, or the minimum when the text is not a 32-bit integer.
  int Value() const;
  // Value() brought within the bounds: what a command that uses the field takes.
  int ValueInRange() const;
  // Whether the text is a 32-bit integer.
  bool HoldsInteger() const;
  // Shows the value, brought within the bounds; always fires Changed, even when the text
  // stays the same, because loading a dialog relies on its handlers running.
  void SetValue(int value);
  // Shows the text as it is (a value read from a file stays out of range until the user
  // leaves the field); always fires Changed.
  void SetText(const QString& text);
  // Arrows only, no typing.
  void SetArrowsOnly(bool arrows_only);

  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  bool HasBounds() const { return minimum_ != 0 || maximum_ != 0; }

  QValidator::State validate(QString& input, int& pos) const override;
  void stepBy(int steps) override;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // Fired on every change of the text, with Value().
  void Changed(int value);

 protected:
  StepEnabled stepEnabled() const override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  int Bounded(long long value) const;
  // Whether more digits would only move value further beyond a bound.
  bool BeyondReach(int value) const;
  bool IsAllowedCharacter(QChar character) const;
  QSize WidenedForBounds(QSize size) const;

  int minimum_;
  int maximum_;
  // SetText is under way: its text is shown as given.
  bool givingText_ = false;
};

}  // namespace nimbra
