#pragma once
// The integer field of the toolbar and the dialogs: a spin box whose text is the value.
//
// A plain QSpinBox will not do: its validator refuses a number outside the range while it
// is typed and it reverts text that is not a number when the focus leaves, whereas here a
// value typed out of range must be read as typed until the focus leaves, and a text that
// is not a number must stay and read as the minimum.

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
  bool IsAllowedCharacter(QChar character) const;
  QSize WidenedForBounds(QSize size) const;

  int minimum_;
  int maximum_;
};

}  // namespace nimbra
