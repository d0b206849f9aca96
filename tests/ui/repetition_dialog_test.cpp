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

#include "child_widget.h"
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

class RepetitionDialogTest : public DialogTest<RepetitionDialog> {
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

void RepetitionDialogTest::init() {
  Build();
  ShowForm();
}

void RepetitionDialogTest::cleanup() { Release(); }

// Replaces the whole text key by key, as a user who clicks into the field and selects it.
void RepetitionDialogTest::Type(QWidget* field, const QString& text) {
  field->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(field, text);
}

void RepetitionDialogTest::creationShowsTheEngineValuesNotTheBuiltOnes() {
  QCOMPARE(Child<IntegerField>(form, "factor")->text(), QStringLiteral("20"));
  QCOMPARE(Child<IntegerField>(form, "minimum")->text(), QStringLiteral("50"));
  QCOMPARE(Child<IntegerField>(form, "allowed")->text(), QStringLiteral("5000"));
  QCOMPARE(Child<QLineEdit>(form, "distance")->text(), QStringLiteral("0.1"));
  QCOMPARE(S().Options.RepAllowed, 5000);
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.1);

  EditOptions(*engine, [](RunOptions& o) {
    o.RepLevel1Factor = 7;
    o.RepLevel1Min = 300;
    o.RepAllowed = 123;
    o.RepDistanceAllowed = 0.000015;
  });
  RepetitionDialog second(*engine, *prompts, *help);
  QCOMPARE(Child<IntegerField>(&second, "factor")->text(), QStringLiteral("7"));
  QCOMPARE(Child<IntegerField>(&second, "minimum")->text(), QStringLiteral("300"));
  QCOMPARE(Child<IntegerField>(&second, "allowed")->text(), QStringLiteral("123"));
  QCOMPARE(Child<QLineEdit>(&second, "distance")->text(), QStringLiteral("1.5E-5"));
  QVERIFY(prompts->Calls().empty());
}

void RepetitionDialogTest::valuesOutsideTheBoundsAreBoundedAndStoredOnCreation() {
  EditOptions(*engine, [](RunOptions& o) {
    o.RepLevel1Factor = 0;
    o.RepLevel1Min = 5000;
    o.RepAllowed = 250000;
  });
  RepetitionDialog second(*engine, *prompts, *help);
  QCOMPARE(Child<IntegerField>(&second, "factor")->text(), QStringLiteral("1"));
  QCOMPARE(S().Options.RepLevel1Factor, 1);
  QCOMPARE(S().Options.RepLevel1Min, 1000);
  QCOMPARE(S().Options.RepAllowed, 100000);
}

void RepetitionDialogTest::captionLabelsAndHints() {
  QCOMPARE(form->windowTitle(), QStringLiteral("Repetition Options"));
  QCOMPARE(form->minimumSize(), form->maximumSize());
  QCOMPARE(LabelBeside(Child<IntegerField>(form, "factor")),
           QStringLiteral("Factor for level 1 repetitions allowed "));
  QCOMPARE(LabelBeside(Child<IntegerField>(form, "minimum")),
           QStringLiteral("Minimum number of level 1 repetitions allowed"));
  QCOMPARE(LabelBeside(Child<IntegerField>(form, "allowed")), QStringLiteral("Total repetitions allowed"));
  QCOMPARE(LabelBeside(Child<QLineEdit>(form, "distance")), QStringLiteral("Distance allowed"));
  QCOMPARE(Child<QPushButton>(form, "ok")->text(), QStringLiteral("OK"));
  QCOMPARE(Child<IntegerField>(form, "factor")->toolTip(),
           QStringLiteral(
               "To find the number of level 1 repetitions allowed, this entry will be multiplied by the "
               "number of attempts to establish an appropriate sequence of wet days"));
  QCOMPARE(Child<IntegerField>(form, "minimum")->toolTip(),
           QStringLiteral("The number of level 1 repetitions allowed cannot be lower than this number"));
  QCOMPARE(Child<IntegerField>(form, "allowed")->toolTip(),
           QStringLiteral("Total number of level 1 and level 2 repetitions allowed"));
  QCOMPARE(
      Child<QLineEdit>(form, "distance")->toolTip(),
      QStringLiteral(
          "Largest ratio, on a log scale, between an original and a synthetic daily depth: a sequence is "
          "accepted when |ln((original + 0.1) / (synthetic + 0.1))| stays below this on every day"));
}

void RepetitionDialogTest::tabOrderIsFactorTotalMinimumDistance() {
  const QList<QWidget*> order{Child<IntegerField>(form, "allowed"), Child<IntegerField>(form, "minimum"),
                              Child<QLineEdit>(form, "distance"), Child<QPushButton>(form, "ok"),
                              Child<IntegerField>(form, "factor")};
  Child<IntegerField>(form, "factor")->setFocus(Qt::MouseFocusReason);
  for (QWidget* expected : order) {
    TabOut();
    QWidget* focus = QApplication::focusWidget();
    QVERIFY2(focus == expected || expected->isAncestorOf(focus),
             qPrintable(focus->metaObject()->className()));
  }
}

// Each intermediate text that is a number is stored on the way.
void RepetitionDialogTest::distanceTypedCharacterByCharacter() {
  Type(Child<QLineEdit>(form, "distance"), QStringLiteral("0."));
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.0);
  QTest::keyClick(Child<QLineEdit>(form, "distance"), Qt::Key_2);
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.2);
  QTest::keyClick(Child<QLineEdit>(form, "distance"), Qt::Key_5);
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.25);
  QVERIFY(prompts->Calls().empty());
}

void RepetitionDialogTest::incompleteExponentIsReported() {
  Type(Child<QLineEdit>(form, "distance"), QStringLiteral("1e"));
  QVERIFY(prompts->Calls() == std::vector<std::string>{kNotANumber});
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 1.0);
  QTest::keyClicks(Child<QLineEdit>(form, "distance"), QStringLiteral("-3"));
  QCOMPARE(prompts->Calls().size(), std::size_t{2});  // "1e-" is no number either
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.001);
  QCOMPARE(Child<QLineEdit>(form, "distance")->text(), QStringLiteral("1e-3"));
}

void RepetitionDialogTest::clearingTheDistanceIsReportedAtOnce() {
  Child<QLineEdit>(form, "distance")->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(Child<QLineEdit>(form, "distance"), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(Child<QLineEdit>(form, "distance"), Qt::Key_Delete);
  QVERIFY(prompts->Calls() == std::vector<std::string>{kNotANumber});
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.1);
  QCOMPARE(Child<QLineEdit>(form, "distance")->text(), QString());
  TabOut();  // leaving is no change: no second message
  QCOMPARE(prompts->Calls().size(), std::size_t{1});
}

void RepetitionDialogTest::zeroAndNegativeDistancesAreStored() {
  Type(Child<QLineEdit>(form, "distance"), QStringLiteral("0"));
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.0);
  Type(Child<QLineEdit>(form, "distance"), QStringLiteral("-0.5"));
  COMPARE_EXACT(S().Options.RepDistanceAllowed, -0.5);
  QVERIFY(prompts->Calls() == std::vector<std::string>{kNotANumber});  // for the lone "-"
}

void RepetitionDialogTest::totalAboveTheMaximumIsBoundedOnLeaving() {
  Type(Child<IntegerField>(form, "allowed"), QStringLiteral("20000"));
  QCOMPARE(S().Options.RepAllowed, 20000);
  QTest::keyClick(Child<IntegerField>(form, "allowed"), Qt::Key_0);
  QCOMPARE(S().Options.RepAllowed, 100000);  // bounded as soon as it is used
  TabOut();
  QCOMPARE(Child<IntegerField>(form, "allowed")->text(), QStringLiteral("100000"));
  QCOMPARE(S().Options.RepAllowed, 100000);
}

void RepetitionDialogTest::textThatIsNoIntegerStoresTheMinimum() {
  Type(Child<IntegerField>(form, "factor"), QStringLiteral("-"));
  QCOMPARE(S().Options.RepLevel1Factor, 1);
  QTest::keyClick(Child<IntegerField>(form, "factor"), Qt::Key_5);
  QCOMPARE(S().Options.RepLevel1Factor, 1);  // bounded as soon as it is used
  TabOut();
  QCOMPARE(S().Options.RepLevel1Factor, 1);
  Type(Child<IntegerField>(form, "minimum"), QStringLiteral("7.5"));  // no decimal separator goes in
  QCOMPARE(Child<IntegerField>(form, "minimum")->text(), QStringLiteral("75"));
  QCOMPARE(S().Options.RepLevel1Min, 75);
  QVERIFY(prompts->Calls().empty());
}

void RepetitionDialogTest::okHidesAndSignalsClosed() {
  QSignalSpy closed(form, &RepetitionDialog::Closed);
  Type(Child<IntegerField>(form, "minimum"), QStringLiteral("75"));
  Type(Child<QLineEdit>(form, "distance"), QStringLiteral("x"));
  QTest::mouseClick(Child<QPushButton>(form, "ok"), Qt::LeftButton);
  QVERIFY(form->isHidden());
  QCOMPARE(closed.count(), 1);
  ShowForm();
  QCOMPARE(Child<IntegerField>(form, "minimum")->text(), QStringLiteral("75"));
  QCOMPARE(Child<QLineEdit>(form, "distance")->text(), QStringLiteral("x"));
  QCOMPARE(S().Options.RepLevel1Min, 75);
}

void RepetitionDialogTest::closeBoxAndEscapeHideAndSignalClosed() {
  QSignalSpy closed(form, &RepetitionDialog::Closed);
  QVERIFY(form->close());
  QVERIFY(form->isHidden());
  QCOMPARE(closed.count(), 1);
  ShowForm();
  QCOMPARE(Child<IntegerField>(form, "allowed")->text(), QStringLiteral("5000"));
  QTest::keyClick(form, Qt::Key_Escape);
  QVERIFY(form->isHidden());
  QCOMPARE(closed.count(), 2);
}

void RepetitionDialogTest::noOptionRestartsTheRun() {
  engine->Step();
  engine->Step();
  const auto lines = log->Lines();
  const auto generator = EngineTestSeam::Core(*engine).Random().State();
  QVERIFY(!lines.empty());
  Type(Child<IntegerField>(form, "factor"), QStringLiteral("30"));
  Type(Child<IntegerField>(form, "minimum"), QStringLiteral("60"));
  Type(Child<IntegerField>(form, "allowed"), QStringLiteral("900"));
  Type(Child<QLineEdit>(form, "distance"), QStringLiteral("0.3"));
  QTest::mouseClick(Child<QPushButton>(form, "ok"), Qt::LeftButton);
  QCOMPARE(S().Options.RepLevel1Factor, 30);
  QCOMPARE(S().Options.RepLevel1Min, 60);
  QCOMPARE(S().Options.RepAllowed, 900);
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.3);
  QCOMPARE(S().SequenceNumber, 2);
  QVERIFY(log->Lines() == lines);
  QCOMPARE(EngineTestSeam::Core(*engine).Random().State(), generator);
}

void RepetitionDialogTest::localeDecimalComma() {
  form->setLocale(QLocale(QLocale::German, QLocale::Germany));
  form->LoadFromEngine();
  QCOMPARE(Child<QLineEdit>(form, "distance")->text(), QStringLiteral("0,1"));
  Type(Child<QLineEdit>(form, "distance"), QStringLiteral("0,05"));
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.05);
  Type(Child<QLineEdit>(form, "distance"), QStringLiteral("0.5"));
  COMPARE_EXACT(S().Options.RepDistanceAllowed, 0.0);  // "0" was taken, "0." was not
  QCOMPARE(prompts->Calls().size(), std::size_t{2});
}

void RepetitionDialogTest::helpKeyOpensTheRepetitionTopic() {
  QTest::keyClick(form, Qt::Key_F1);
  QVERIFY(help->isVisible());
  QVERIFY(help->CurrentTitle().contains(QStringLiteral("Repetition Options")));
  help->close();
}

QTEST_MAIN(RepetitionDialogTest)
#include "repetition_dialog_test.moc"
