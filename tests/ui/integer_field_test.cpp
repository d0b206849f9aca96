// The integer-field rules, driven through keys, arrows and focus changes.

#include "integer_field.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QVBoxLayout>
#include <QtTest>
#include <climits>
#include <memory>

using nimbra::IntegerField;

namespace {

// A window with the field and a second control to move the focus to.
struct Form {
  QWidget window;
  IntegerField* field;
  QLineEdit* other;

  Form(int minimum, int maximum, int value) {
    auto* layout = new QVBoxLayout(&window);
    field = new IntegerField(minimum, maximum, value, &window);
    other = new QLineEdit(&window);
    layout->addWidget(field);
    layout->addWidget(other);
    field->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    window.show();
  }

  bool Activate() {
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) return false;
    field->setFocus(Qt::TabFocusReason);
    return field->hasFocus();
  }

  // Replaces the whole text by typing, as a user who selects the text first.
  void Type(const QString& keys) {
    field->selectAll();
    QTest::keyClicks(field, keys);
  }

  void LeaveField() { other->setFocus(Qt::TabFocusReason); }
};

QList<int> Values(const QSignalSpy& spy) {
  QList<int> values;
  for (const auto& arguments : spy) values << arguments.at(0).toInt();
  return values;
}

QPoint UpArrow(IntegerField* field) {
  QStyleOptionSpinBox option;
  option.initFrom(field);
  option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxEditField;
  option.frame = true;
  return field->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, field).center();
}

}  // namespace

class IntegerFieldTest : public QObject {
  Q_OBJECT

 private slots:
  // What the field shows is what a run takes from it, at the latest when the field is left.
  void OutOfRangeShowsTheBound_data() {
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("changes");
    QTest::addColumn<QString>("left");
    QTest::newRow("above: at once") << 28 << 366 << "400" << QList<int>{4, 40, 366} << "366";
    QTest::newRow("below and negative: at once") << 1 << 1000 << "-5" << QList<int>{1, 1} << "1";
    QTest::newRow("short of the minimum: on leaving") << 28 << 31 << "3" << QList<int>{3, 28} << "28";
    QTest::newRow("no integer: the minimum on leaving") << 28 << 31 << "-" << QList<int>{28, 28} << "28";
    QTest::newRow("unbounded, no integer") << 0 << 0 << "+" << QList<int>{0, 0} << "0";
  }

  void OutOfRangeShowsTheBound() {
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(QString, typed);
    QFETCH(QList<int>, changes);
    QFETCH(QString, left);
    Form form(minimum, maximum, minimum);
    QVERIFY(form.Activate());
    QSignalSpy spy(form.field, &IntegerField::Changed);
    form.Type(typed);
    form.LeaveField();
    QCOMPARE(form.field->text(), left);
    QCOMPARE(Values(spy), changes);
    QCOMPARE(form.field->Value(), form.field->ValueInRange());
  }

  void LeavingWithinRangeChangesNothing() {
    Form form(1, 1000, 10);
    QVERIFY(form.Activate());
    form.Type(QStringLiteral("+25"));
    QSignalSpy spy(form.field, &IntegerField::Changed);
    form.LeaveField();
    QCOMPARE(form.field->text(), QStringLiteral("+25"));
    QCOMPARE(form.field->Value(), 25);
    QCOMPARE(spy.count(), 0);
  }

  // "30.5" cannot stand in the field whatever the locale's decimal separator.
  void KeyboardTakesDigitsAndSignsOnly() {
    for (const QLocale& locale : {QLocale(QLocale::English), QLocale(QLocale::German, QLocale::Germany)}) {
      Form form(0, 0, 0);
      form.field->setLocale(locale);
      QVERIFY(form.Activate());
      form.field->selectAll();
      QTest::keyClick(form.field, Qt::Key_Delete);
      QSignalSpy spy(form.field, &IntegerField::Changed);
      QTest::keyClicks(form.field, QStringLiteral("a3 b0x,.5e"));
      QCOMPARE(form.field->text(), QStringLiteral("305"));
      QCOMPARE(spy.count(), 3);
    }
  }

  void ArrowKeysStepByOneAndStopAtTheBounds() {
    Form form(0, 3, 1);
    QVERIFY(form.Activate());
    QSignalSpy spy(form.field, &IntegerField::Changed);
    for (int i = 0; i < 4; ++i) QTest::keyClick(form.field, Qt::Key_Up);
    QCOMPARE(form.field->Value(), 3);
    QCOMPARE(Values(spy), (QList<int>{2, 3}));
    for (int i = 0; i < 5; ++i) QTest::keyClick(form.field, Qt::Key_Down);
    QCOMPARE(form.field->Value(), 0);
    QCOMPARE(Values(spy), (QList<int>{2, 3, 2, 1, 0}));
  }

  void ArrowButtonsStepAndStopAtTheMaximum() {
    Form form(1, 20, 19);
    QVERIFY(form.Activate());
    const QPoint up = UpArrow(form.field);
    QTest::mouseClick(form.field, Qt::LeftButton, {}, up);
    QCOMPARE(form.field->Value(), 20);
    QTest::mouseClick(form.field, Qt::LeftButton, {}, up);
    QCOMPARE(form.field->Value(), 20);
    QCOMPARE(form.field->text(), QStringLiteral("20"));
  }

  void ArrowsBringAnOutOfRangeValueBackWithoutPassingTheBound() {
    Form form(28, 366, 31);
    QVERIFY(form.Activate());
    form.field->SetText(QStringLiteral("400"));  // as a parameters line may give it
    QTest::keyClick(form.field, Qt::Key_Up);     // further away: refused
    QCOMPARE(form.field->Value(), 400);
    QTest::keyClick(form.field, Qt::Key_Down);
    QCOMPARE(form.field->Value(), 366);
  }

  void ArrowsStartFromTheMinimumWhenTheTextIsNoInteger() {
    IntegerField field(28, 366, 31);
    field.SetText(QStringLiteral("x"));
    field.stepUp();
    QCOMPARE(field.text(), QStringLiteral("29"));
  }

  void ArrowsOnlyFieldRefusesTyping() {
    Form form(0, 3, 0);
    form.field->SetArrowsOnly(true);
    QVERIFY(form.Activate());
    QSignalSpy spy(form.field, &IntegerField::Changed);
    form.Type(QStringLiteral("2"));
    QTest::keyClick(form.field, Qt::Key_Backspace);
    QCOMPARE(form.field->text(), QStringLiteral("0"));
    QCOMPARE(spy.count(), 0);
    QTest::keyClick(form.field, Qt::Key_Up);
    QCOMPARE(form.field->Value(), 1);
    QCOMPARE(Values(spy), (QList<int>{1}));
  }

  void UnboundedFieldTakesAnyThirtyTwoBitInteger() {
    Form form(0, 0, 0);
    QVERIFY(form.Activate());
    form.Type(QStringLiteral("-2147483648"));
    QCOMPARE(form.field->Value(), INT_MIN);
    form.LeaveField();
    QCOMPARE(form.field->text(), QStringLiteral("-2147483648"));
    QVERIFY(form.Activate());
    QTest::keyClick(form.field, Qt::Key_Down);
    QCOMPARE(form.field->Value(), INT_MIN);

    form.Type(QStringLiteral("2147483647"));
    QTest::keyClick(form.field, Qt::Key_Up);
    QCOMPARE(form.field->Value(), INT_MAX);
    form.Type(QStringLiteral("2147483648"));  // beyond 32 bits: not an integer
    QCOMPARE(form.field->Value(), 0);
    form.Type(QStringLiteral("-17"));
    QCOMPARE(form.field->Value(), -17);
  }

  void SetValueFiresEvenWhenTheTextStaysAndKeepsWithinBounds() {
    IntegerField field(1, 20, 1);
    QSignalSpy spy(&field, &IntegerField::Changed);
    field.SetValue(1);
    field.SetValue(7);
    field.SetValue(25);
    QCOMPARE(Values(spy), (QList<int>{1, 7, 20}));
    QCOMPARE(field.text(), QStringLiteral("20"));
  }

  void SetTextShowsAnOutOfRangeValueUnchanged() {
    IntegerField field(28, 366, 31);
    QSignalSpy spy(&field, &IntegerField::Changed);
    field.SetText(QStringLiteral("400"));
    QCOMPARE(field.text(), QStringLiteral("400"));
    QCOMPARE(Values(spy), (QList<int>{400}));
  }
};

QTEST_MAIN(IntegerFieldTest)
#include "integer_field_test.moc"
