// The repetition options dialog, driven as a user drives it: typing, moving the focus,
// OK and the close box.

#include "repetition_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "dialog_under_test.h"
#include "integer_field.h"

using namespace nimbra;

// Doubles compared to the last bit (QCOMPARE would compare them fuzzily).
#define COMPARE_EXACT(actual, expected)                                                         \
  QVERIFY2((actual) == (expected), qPrintable(QStringLiteral("actual %1, expected %2")          \
                                                  .arg(static_cast<double>(actual), 0, 'g', 17) \
                                                  .arg(static_cast<double>(expected), 0, 'g', 17)))

namespace {

const std::string kNotANumber = "message: Must be a real number";

QString LabelBeside(const QWidget* field) {
  for (const QLabel* label : field->parentWidget()->findChildren<QLabel*>())
    if (label->buddy() == field) return label->text();
  return QString();
}

}  // namespace

class RepetitionOptionsTest : public DialogTest<TRepetitionOptions> {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void creationShowsTheEngineValuesNotTheBuiltOnes();
  void valuesOutsideTheBoundsAreBoundedAndStoredOnCreation();
  void captionLabelsAndHints();
  void tabOrderIsFactorTotalMinimumDistance();
  void distanceTypedCharacterByCharacter();
  void incompleteExponentIsReported();
  void clearingTheDistanceIsReportedAtOnce();
  void zeroAndNegativeDistancesAreStored();
  void totalAboveTheMaximumIsBoundedOnLeaving();
  void textThatIsNoIntegerStoresTheMinimum();
  void okHidesAndSignalsClosed();
  void closeBoxAndEscapeHideAndSignalClosed();
  void noOptionRestartsTheRun();
  void localeDecimalComma();
  void helpKeyOpensTheRepetitionTopic();

 private:
  void Type(QWidget* field, const QString& text);
  void TabOut() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }
};

void RepetitionOptionsTest::init() {
  Build();
  ShowForm();
}

void RepetitionOptionsTest::cleanup() { Release(); }

// Replaces the whole text key by key, as a user who clicks into the field and selects it.
void RepetitionOptionsTest::Type(QWidget* field, const QString& text) {
  field->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(field, text);
}

void RepetitionOptionsTest::creationShowsTheEngineValuesNotTheBuiltOnes() {
  QCOMPARE(form->RepLeve1FacSpinEdit->text(), QStringLiteral("20"));
  QCOMPARE(form->RepLevel1MinSpinEdit->text(), QStringLiteral("50"));
  QCOMPARE(form->RepAllowedSpinEdit->text(), QStringLiteral("5000"));
  QCOMPARE(form->RepDistanceAllowedEdit->text(), QStringLiteral("0.1"));
  QCOMPARE(S().Options.RepAllowed, 5000);
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.1);

  S().Options.RepLevel1Factor = 7;
  S().Options.RepLevel1Min = 300;
  S().Options.RepAllowed = 123;
  S().Options.RepDistanceAllowed = 0.000015;
  TRepetitionOptions second(*engine, *prompts, *help);
  QCOMPARE(second.RepLeve1FacSpinEdit->text(), QStringLiteral("7"));
  QCOMPARE(second.RepLevel1MinSpinEdit->text(), QStringLiteral("300"));
  QCOMPARE(second.RepAllowedSpinEdit->text(), QStringLiteral("123"));
  QCOMPARE(second.RepDistanceAllowedEdit->text(), QStringLiteral("1.5E-5"));
  QVERIFY(prompts->Calls().empty());
}

void RepetitionOptionsTest::valuesOutsideTheBoundsAreBoundedAndStoredOnCreation() {
  S().Options.RepLevel1Factor = 0;
  S().Options.RepLevel1Min = 5000;
  S().Options.RepAllowed = 250000;
  TRepetitionOptions second(*engine, *prompts, *help);
  QCOMPARE(second.RepLeve1FacSpinEdit->text(), QStringLiteral("1"));
  QCOMPARE(S().Options.RepLevel1Factor, 1);
  QCOMPARE(S().Options.RepLevel1Min, 1000);
  QCOMPARE(S().Options.RepAllowed, 100000);
}

void RepetitionOptionsTest::captionLabelsAndHints() {
  QCOMPARE(form->windowTitle(), QStringLiteral("Repetition Options"));
  QCOMPARE(form->minimumSize(), form->maximumSize());
  QCOMPARE(LabelBeside(form->RepLeve1FacSpinEdit), QStringLiteral("Factor for level 1 repetitions allowed "));
  QCOMPARE(LabelBeside(form->RepLevel1MinSpinEdit),
           QStringLiteral("Minimum number of level 1 repetitions allowed"));
  QCOMPARE(LabelBeside(form->RepAllowedSpinEdit), QStringLiteral("Total repetitions allowed"));
  QCOMPARE(LabelBeside(form->RepDistanceAllowedEdit), QStringLiteral("Distance allowed"));
  QCOMPARE(form->RepOKButton->text(), QStringLiteral("OK"));
  QCOMPARE(form->RepLeve1FacSpinEdit->toolTip(),
           QStringLiteral(
               "To find the number of level 1 repetitions allowed, this entry will be multiplied by the "
               "number of attempts to establish an appropriate sequence of wet days"));
  QCOMPARE(form->RepLevel1MinSpinEdit->toolTip(),
           QStringLiteral("The number of level 1 repetitions allowed cannot be lower than this number"));
  QCOMPARE(form->RepAllowedSpinEdit->toolTip(),
           QStringLiteral("Total number of level 1 and level 2 repetitions allowed"));
  QCOMPARE(
      form->RepDistanceAllowedEdit->toolTip(),
      QStringLiteral(
          "Largest ratio, on a log scale, between an original and a synthetic daily depth: a sequence is "
          "accepted when |ln((original + 0.1) / (synthetic + 0.1))| stays below this on every day"));
}

void RepetitionOptionsTest::tabOrderIsFactorTotalMinimumDistance() {
  const QList<QWidget*> order{form->RepAllowedSpinEdit, form->RepLevel1MinSpinEdit,
                              form->RepDistanceAllowedEdit, form->RepOKButton, form->RepLeve1FacSpinEdit};
  form->RepLeve1FacSpinEdit->setFocus(Qt::MouseFocusReason);
  for (QWidget* expected : order) {
    TabOut();
    QWidget* focus = QApplication::focusWidget();
    QVERIFY2(focus == expected || expected->isAncestorOf(focus),
             qPrintable(focus->metaObject()->className()));
  }
}

// Each intermediate text that is a number is stored on the way.
void RepetitionOptionsTest::distanceTypedCharacterByCharacter() {
  Type(form->RepDistanceAllowedEdit, QStringLiteral("0."));
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.0);
  QTest::keyClick(form->RepDistanceAllowedEdit, Qt::Key_2);
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.2);
  QTest::keyClick(form->RepDistanceAllowedEdit, Qt::Key_5);
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.25);
  QVERIFY(prompts->Calls().empty());
}

void RepetitionOptionsTest::incompleteExponentIsReported() {
  Type(form->RepDistanceAllowedEdit, QStringLiteral("1e"));
  QVERIFY(prompts->Calls() == std::vector<std::string>{kNotANumber});
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 1.0);
  QTest::keyClicks(form->RepDistanceAllowedEdit, QStringLiteral("-3"));
  QCOMPARE(prompts->Calls().size(), std::size_t{2});  // "1e-" is no number either
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.001);
  QCOMPARE(form->RepDistanceAllowedEdit->text(), QStringLiteral("1e-3"));
}

void RepetitionOptionsTest::clearingTheDistanceIsReportedAtOnce() {
  form->RepDistanceAllowedEdit->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(form->RepDistanceAllowedEdit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(form->RepDistanceAllowedEdit, Qt::Key_Delete);
  QVERIFY(prompts->Calls() == std::vector<std::string>{kNotANumber});
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.1);
  QCOMPARE(form->RepDistanceAllowedEdit->text(), QString());
  TabOut();  // leaving is no change: no second message
  QCOMPARE(prompts->Calls().size(), std::size_t{1});
}

void RepetitionOptionsTest::zeroAndNegativeDistancesAreStored() {
  Type(form->RepDistanceAllowedEdit, QStringLiteral("0"));
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.0);
  Type(form->RepDistanceAllowedEdit, QStringLiteral("-0.5"));
  COMPARE_EXACT(S().Options.RepDistanceAllowed, -0.5);
  QVERIFY(prompts->Calls() == std::vector<std::string>{kNotANumber});  // for the lone "-"
}

void RepetitionOptionsTest::totalAboveTheMaximumIsBoundedOnLeaving() {
  Type(form->RepAllowedSpinEdit, QStringLiteral("20000"));
  QCOMPARE(S().Options.RepAllowed, 20000);
  QTest::keyClick(form->RepAllowedSpinEdit, Qt::Key_0);
  QCOMPARE(S().Options.RepAllowed, 100000);  // bounded as soon as it is used
  TabOut();
  QCOMPARE(form->RepAllowedSpinEdit->text(), QStringLiteral("100000"));
  QCOMPARE(S().Options.RepAllowed, 100000);
}

void RepetitionOptionsTest::textThatIsNoIntegerStoresTheMinimum() {
  Type(form->RepLeve1FacSpinEdit, QStringLiteral("-"));
  QCOMPARE(S().Options.RepLevel1Factor, 1);
  QTest::keyClick(form->RepLeve1FacSpinEdit, Qt::Key_5);
  QCOMPARE(S().Options.RepLevel1Factor, 1);  // bounded as soon as it is used
  TabOut();
  QCOMPARE(S().Options.RepLevel1Factor, 1);
  Type(form->RepLevel1MinSpinEdit, QStringLiteral("7.5"));
  QCOMPARE(S().Options.RepLevel1Min, 1);
  QVERIFY(prompts->Calls().empty());
}

void RepetitionOptionsTest::okHidesAndSignalsClosed() {
  QSignalSpy closed(form, &TRepetitionOptions::Closed);
  Type(form->RepLevel1MinSpinEdit, QStringLiteral("75"));
  Type(form->RepDistanceAllowedEdit, QStringLiteral("x"));
  QTest::mouseClick(form->RepOKButton, Qt::LeftButton);
  QVERIFY(form->isHidden());
  QCOMPARE(closed.count(), 1);
  ShowForm();
  QCOMPARE(form->RepLevel1MinSpinEdit->text(), QStringLiteral("75"));
  QCOMPARE(form->RepDistanceAllowedEdit->text(), QStringLiteral("x"));
  QCOMPARE(S().Options.RepLevel1Min, 75);
}

void RepetitionOptionsTest::closeBoxAndEscapeHideAndSignalClosed() {
  QSignalSpy closed(form, &TRepetitionOptions::Closed);
  QVERIFY(form->close());
  QVERIFY(form->isHidden());
  QCOMPARE(closed.count(), 1);
  ShowForm();
  QCOMPARE(form->RepAllowedSpinEdit->text(), QStringLiteral("5000"));
  QTest::keyClick(form, Qt::Key_Escape);
  QVERIFY(form->isHidden());
  QCOMPARE(closed.count(), 2);
}

void RepetitionOptionsTest::noOptionRestartsTheRun() {
  engine->Step();
  engine->Step();
  const auto lines = log->Lines();
  const auto generator = EngineTestSeam::Core(*engine).Random().State();
  QVERIFY(!lines.empty());
  Type(form->RepLeve1FacSpinEdit, QStringLiteral("30"));
  Type(form->RepLevel1MinSpinEdit, QStringLiteral("60"));
  Type(form->RepAllowedSpinEdit, QStringLiteral("900"));
  Type(form->RepDistanceAllowedEdit, QStringLiteral("0.3"));
  QTest::mouseClick(form->RepOKButton, Qt::LeftButton);
  QCOMPARE(S().Options.RepLevel1Factor, 30);
  QCOMPARE(S().Options.RepLevel1Min, 60);
  QCOMPARE(S().Options.RepAllowed, 900);
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.3);
  QCOMPARE(S().SequenceNumber, 2);
  QVERIFY(log->Lines() == lines);
  QCOMPARE(EngineTestSeam::Core(*engine).Random().State(), generator);
}

void RepetitionOptionsTest::localeDecimalComma() {
  form->setLocale(QLocale(QLocale::German, QLocale::Germany));
  form->FormCreate();
  QCOMPARE(form->RepDistanceAllowedEdit->text(), QStringLiteral("0,1"));
  Type(form->RepDistanceAllowedEdit, QStringLiteral("0,05"));
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.05);
  Type(form->RepDistanceAllowedEdit, QStringLiteral("0.5"));
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.0);  // "0" was taken, "0." was not
  QCOMPARE(prompts->Calls().size(), std::size_t{2});
}

void RepetitionOptionsTest::helpKeyOpensTheRepetitionTopic() {
  QTest::keyClick(form, Qt::Key_F1);
  QVERIFY(help->isVisible());
  QVERIFY(help->CurrentTitle().contains(QStringLiteral("Repetition Options")));
  help->close();
}

QTEST_MAIN(RepetitionOptionsTest)
#include "repetition_dialog_test.moc"
