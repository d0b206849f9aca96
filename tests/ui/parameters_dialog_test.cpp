// The model parameters dialog, driven as a user drives it: typing, pasting, moving the
// focus, clicking, closing.

#include "parameters_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <cmath>
#include <memory>
#include <sstream>

#include "dialog_under_test.h"
#include "format.h"
#include "integer_field.h"

using namespace nimbra;

// Doubles compared to the last bit (QCOMPARE would compare them fuzzily).
#define COMPARE_EXACT(actual, expected)                                                         \
  QVERIFY2((actual) == (expected), qPrintable(QStringLiteral("actual %1, expected %2")          \
                                                  .arg(static_cast<double>(actual), 0, 'g', 17) \
                                                  .arg(static_cast<double>(expected), 0, 'g', 17)))

namespace {

constexpr double kDefaultAlpha = 2.69569;
constexpr double kDefaultNu = 0.006282916666666667;
// The message for a field that holds no number names the field by its symbol.
std::string NotANumber(const char* symbol) {
  return std::string("message: ") + symbol + " must be a real number";
}

}  // namespace

class ParametersFormTest : public DialogTest<TBLParametersForm> {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void creationShowsTheEngineValues();
  void captionsLabelsHintsAndFixedTexts();
  void tabOrderPutsOkBetweenTheColumns();
  void alphaPastedAcrossTheThresholdAndBack();
  void alphaTypedCharacterByCharacter();
  void alphaOfExactlyHundredMeansFixedEta();
  void activationShowsTheFifthFieldForTheCurrentAlpha();
  void fieldsReactingOnLeavingIgnoreTyping();
  void kappaReactsToEveryChange();
  void rejectedTextKeepsTheValueAndStillRestarts();
  void clearingKappaOrAlphaIsReportedAtOnce();
  void leavingUnchangedStoresTheDisplayedDigits();
  void equalIntensityMeanAndDeviationMeanExponentialIntensities();
  void daysReadAsTypedAndBoundedOnLeaving();
  void seedTakesNegativeLargeAndNonIntegerTexts();
  void adjustmentBoxClicks();
  void lambdaTheRunCannotStartFromIsReported();
  void alphaCrossingWithZeroNuIsReported();
  void reloadFromAFileHeader();
  void badLambdaFromAFileIsRefusedByTheEngine();
  void okAppliesTheFieldBeingLeftAndKeepsTheTexts();
  void closeBoxEndsTheShowingToo();
  void localeDecimalComma();
  void helpKeyOpensTheParametersTopic();
  void modelStatisticsFollowTheValuesTyped();

 private:
  std::string LastCall() const { return prompts->Calls().empty() ? std::string() : prompts->Calls().back(); }
  void RunSequences();
  bool RunRestarted();
  void Enter(QWidget* field);
  void Type(QWidget* field, const QString& text);
  void Retype(QWidget* field, const QString& text);
  void Paste(QLineEdit* field, const QString& text);
  void TabOut();
};

void ParametersFormTest::init() {
  Build();
  ShowForm();
}

void ParametersFormTest::cleanup() { Release(); }

// Two sequences: a restart shows as sequence 0, an empty log and a fresh generator.
void ParametersFormTest::RunSequences() {
  engine->Step();
  engine->Step();
  QCOMPARE(S().SequenceNumber, 2);
  QVERIFY(!log->Lines().empty());
}

bool ParametersFormTest::RunRestarted() {
  const auto fresh = std::make_unique<StartedEngine>(S().Options.RandomSeed);
  StateOf(fresh->engine).Parameters.Lambda = S().Parameters.Lambda;
  fresh->engine.RestartRun();
  return S().SequenceNumber == 0 && log->Lines().empty() &&
         EngineTestSeam::Core(*engine).Random().State() ==
             EngineTestSeam::Core(fresh->engine).Random().State();
}

// As a click into the field: the field left before reacts.
void ParametersFormTest::Enter(QWidget* field) { field->setFocus(Qt::MouseFocusReason); }

void ParametersFormTest::Type(QWidget* field, const QString& text) {
  Enter(field);
  Retype(field, text);
}

// Replaces the whole text key by key, as a user who selects it first.
void ParametersFormTest::Retype(QWidget* field, const QString& text) {
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(field, text);
}

// Over the whole text of the field being edited, in one change.
void ParametersFormTest::Paste(QLineEdit* field, const QString& text) {
  QApplication::clipboard()->setText(text);
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(field->text(), text);
}

void ParametersFormTest::TabOut() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

void ParametersFormTest::creationShowsTheEngineValues() {
  QCOMPARE(form->Edit1->text(), QStringLiteral("0.9396"));
  QCOMPARE(form->Edit2->text(), QStringLiteral("1.05819"));
  QCOMPARE(form->Edit3->text(), QStringLiteral("0.0586"));
  QCOMPARE(form->Edit4->text(), QStringLiteral("2.69569"));
  QCOMPARE(form->Edit5->text(), QStringLiteral("0.00628291666666667"));  // 15 significant digits
  QCOMPARE(form->Edit6->text(), QStringLiteral("24.33408"));
  QCOMPARE(form->Edit7->text(), QStringLiteral("24.33408"));
  QCOMPARE(form->SpinEdit1->text(), QStringLiteral("31"));
  QCOMPARE(form->SpinEdit2->text(), QStringLiteral("0"));
  QVERIFY(form->PerformAdjustmentBox->isChecked());
  COMPARE_EXACT(S().Parameters.Nu, kDefaultNu);  // loading changes no value
  QCOMPARE(form->minimumSize(), form->maximumSize());

  RunSequences();
  TBLParametersForm second(*engine, *prompts, *help);
  QCOMPARE(S().SequenceNumber, 2);  // showing the values leaves the run alone
  QVERIFY(prompts->Calls().empty());
}

void ParametersFormTest::captionsLabelsHintsAndFixedTexts() {
  QCOMPARE(form->windowTitle(), QStringLiteral("Bartlett-Lewis model parameters"));
  QCOMPARE(form->Label1->text(), QString::fromUtf16(u"\u03BB (d^-1)"));
  QCOMPARE(form->Label2->text(), QString::fromUtf16(u"\u03BA = \u03B2/\u03B7"));
  QCOMPARE(form->Label3->text(), QString::fromUtf16(u"\u03C6 = \u03B3/\u03B7"));
  QCOMPARE(form->Label4->text(), QString::fromUtf16(u"\u03B1 "));
  QCOMPARE(form->Label5->text(), QString::fromUtf16(u"\u03BD (d)"));
  QCOMPARE(form->Label6->text(), QString::fromUtf16(u"\u03BCX (mm d^-1)"));
  QCOMPARE(form->Label7->text(), QString::fromUtf16(u"\u03C3X (mm d^-1)"));
  QCOMPARE(form->Label8->text(), QStringLiteral("Days per month or season "));
  QCOMPARE(form->Label9->text(), QStringLiteral("Random seed"));
  QCOMPARE(form->PerformAdjustmentBox->text(), QStringLiteral("Perform adjustment"));
  QCOMPARE(form->Button1->text(), QStringLiteral("OK"));
  QCOMPARE(form->Edit1->toolTip(),
           QStringLiteral("Parameter lamda (inverse mean storm interarrival time, days ^ -1)"));
  QCOMPARE(form->Edit2->toolTip(),
           QStringLiteral(
               "Parameter kappa = ratio of beta and eta (beta = inverse mean interarrival time of cells, "
               "eta =  inverse mean cell duration) "));
  QCOMPARE(
      form->Edit3->toolTip(),
      QStringLiteral("Parameter phi = ratio of gamma and eta (gamma = inverse mean storm duration, eta =  "
                     "inverse mean cell duration) "));
  QCOMPARE(form->Edit4->toolTip(), QStringLiteral("Parameter alpha (shape parameter of eta)"));
  QCOMPARE(form->Edit5->toolTip(), QStringLiteral("Parameter nu (scale parameter of eta, days)"));
  QCOMPARE(form->Edit6->toolTip(),
           QStringLiteral("Parameter muX (mean of cell intensity, millimeters per days)"));
  QCOMPARE(form->Edit7->toolTip(),
           QStringLiteral("Parameter sigmaX (standard deviation of cell intensity, millimeters per days)"));
  QCOMPARE(form->StaticText1->text(),
           QString::fromUtf16(
               u"Please make sure that for parameters \u03BCX and \u03C3X the length units are "
               u"millimeters (mm) and for parameters \u03BB, \u03BD (or \u03B7), \u03BCX and \u03C3X "
               u"the time units are days (d) (as indicated to the left of the Edit Boxes)"));
  QCOMPARE(
      form->StaticText2->text(),
      QStringLiteral("If your computer does not display Greek characters, place the mouse pointer above each "
                     "of the Edit Boxes and wait until the on-screen hint appears"));
  for (const QLabel* text : {form->StaticText1, form->StaticText2})
    QVERIFY(text->height() >= text->heightForWidth(text->width()));  // no line cut off
}

void ParametersFormTest::tabOrderPutsOkBetweenTheColumns() {
  const QList<QWidget*> order{form->Edit2,     form->Edit3,     form->Edit4,
                              form->Button1,   form->Edit5,     form->Edit6,
                              form->Edit7,     form->SpinEdit1, form->PerformAdjustmentBox,
                              form->SpinEdit2, form->Edit1};
  Enter(form->Edit1);
  for (QWidget* expected : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* focus = QApplication::focusWidget();
    QVERIFY2(focus == expected || expected->isAncestorOf(focus),
             qPrintable(focus->metaObject()->className()));
  }
}

void ParametersFormTest::alphaPastedAcrossTheThresholdAndBack() {
  Enter(form->Edit4);
  RunSequences();
  QSignalSpy changes(form->Edit4, &QLineEdit::textChanged);
  Paste(form->Edit4, QStringLiteral("100"));
  QCOMPARE(changes.count(), 1);
  const double eta = kDefaultAlpha / kDefaultNu;
  COMPARE_EXACT(S().Parameters.Alpha, 100.0);
  COMPARE_EXACT(S().Parameters.Nu, eta);
  QCOMPARE(form->Edit5->text(), QString::fromStdString(FormatGeneral(eta, ".")));
  QCOMPARE(form->Label5->text(), QString::fromUtf16(u"\u03B7 (d^-1)"));
  QCOMPARE(form->Edit5->toolTip(), QStringLiteral("Parameter eta (days^-1)"));
  QVERIFY(RunRestarted());

  RunSequences();
  Paste(form->Edit4, QStringLiteral("2.69569"));
  COMPARE_EXACT(S().Parameters.Nu, kDefaultAlpha / eta);
  QVERIFY(std::abs(S().Parameters.Nu - kDefaultNu) < 1e-17);
  QCOMPARE(form->Label5->text(), QString::fromUtf16(u"\u03BD (d)"));
  QCOMPARE(form->Edit5->toolTip(), QStringLiteral("Parameter nu (scale parameter of eta, days)"));
  QVERIFY(RunRestarted());
  QVERIFY(prompts->Calls().empty());
}

// Every intermediate text is taken: the crossing happens at 10 -> 100, and on the way
// back at the first character.
void ParametersFormTest::alphaTypedCharacterByCharacter() {
  Type(form->Edit4, QStringLiteral("10"));
  COMPARE_EXACT(S().Parameters.Alpha, 10.0);
  COMPARE_EXACT(S().Parameters.Nu, kDefaultNu);
  QTest::keyClick(form->Edit4, Qt::Key_0);
  const double eta = 10 / kDefaultNu;
  COMPARE_EXACT(S().Parameters.Nu, eta);
  QCOMPARE(form->Label5->text(), QString::fromUtf16(u"\u03B7 (d^-1)"));

  Type(form->Edit4, QStringLiteral("2"));
  COMPARE_EXACT(S().Parameters.Nu, 2 / eta);
  QCOMPARE(form->Label5->text(), QString::fromUtf16(u"\u03BD (d)"));
  QTest::keyClicks(form->Edit4, QStringLiteral(".69569"));
  COMPARE_EXACT(S().Parameters.Alpha, kDefaultAlpha);
  COMPARE_EXACT(S().Parameters.Nu, 2 / eta);
  QCOMPARE(form->Edit5->text(), QString::fromStdString(FormatGeneral(2 / eta, ".")));
  QVERIFY(prompts->Calls().empty());
}

void ParametersFormTest::alphaOfExactlyHundredMeansFixedEta() {
  Enter(form->Edit4);
  Paste(form->Edit4, QStringLiteral("99.999"));
  QCOMPARE(form->Label5->text(), QString::fromUtf16(u"\u03BD (d)"));
  COMPARE_EXACT(S().Parameters.Nu, kDefaultNu);
  Paste(form->Edit4, QStringLiteral("100"));
  QCOMPARE(form->Label5->text(), QString::fromUtf16(u"\u03B7 (d^-1)"));
  COMPARE_EXACT(S().Parameters.Nu, 99.999 / kDefaultNu);
  Paste(form->Edit4, QStringLiteral("250"));  // no crossing: eta stays
  COMPARE_EXACT(S().Parameters.Nu, 99.999 / kDefaultNu);
  Paste(form->Edit4, QStringLiteral("99.999"));
  COMPARE_EXACT(S().Parameters.Nu, 99.999 / (99.999 / kDefaultNu));
  QCOMPARE(form->Label5->text(), QString::fromUtf16(u"\u03BD (d)"));
}

void ParametersFormTest::activationShowsTheFifthFieldForTheCurrentAlpha() {
  form->hide();
  S().Parameters.Alpha = 100;
  ShowForm();
  QCOMPARE(form->Label5->text(), QString::fromUtf16(u"\u03B7 (d^-1)"));
  QCOMPARE(form->Edit5->toolTip(), QStringLiteral("Parameter eta (days^-1)"));

  QWidget other;
  other.show();
  other.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&other));
  S().Parameters.Alpha = 99;
  ShowForm();
  QCOMPARE(form->Label5->text(), QString::fromUtf16(u"\u03BD (d)"));
  QCOMPARE(form->Edit5->toolTip(), QStringLiteral("Parameter nu (scale parameter of eta, days)"));
}

void ParametersFormTest::fieldsReactingOnLeavingIgnoreTyping() {
  const struct {
    QLineEdit* edit;
    double* variable;
  } fields[] = {{form->Edit1, &S().Parameters.Lambda},
                {form->Edit3, &S().Parameters.Phi},
                {form->Edit5, &S().Parameters.Nu},
                {form->Edit6, &S().Parameters.MuX},
                {form->Edit7, &S().Parameters.SigmaX}};
  for (const auto& field : fields) {
    Enter(field.edit);
    RunSequences();
    const double before = *field.variable;
    Retype(field.edit, QStringLiteral("0.75"));
    COMPARE_EXACT(*field.variable, before);
    QCOMPARE(S().SequenceNumber, 2);
    TabOut();
    COMPARE_EXACT(*field.variable, 0.75);
    QVERIFY(RunRestarted());
  }
  QVERIFY(prompts->Calls().empty());
}

void ParametersFormTest::kappaReactsToEveryChange() {
  Enter(form->Edit2);
  RunSequences();
  Retype(form->Edit2, QStringLiteral("3"));
  COMPARE_EXACT(S().Parameters.Kappa, 3.0);
  QVERIFY(RunRestarted());
  RunSequences();
  QTest::keyClicks(form->Edit2, QStringLiteral(".5"));
  COMPARE_EXACT(S().Parameters.Kappa, 3.5);
  QVERIFY(RunRestarted());
}

void ParametersFormTest::rejectedTextKeepsTheValueAndStillRestarts() {
  Enter(form->Edit3);
  RunSequences();
  Retype(form->Edit3, QStringLiteral("1,5"));
  TabOut();
  QVERIFY(prompts->Calls() == std::vector<std::string>{NotANumber("φ")});
  COMPARE_EXACT(S().Parameters.Phi, 0.0586);
  QCOMPARE(form->Edit3->text(), QStringLiteral("0.0586"));  // the value in use
  QVERIFY(!RunRestarted());

  Enter(form->Edit6);
  RunSequences();
  Retype(form->Edit6, QStringLiteral("1e999"));  // beyond the range of a real
  TabOut();
  QCOMPARE(prompts->Calls().back(), NotANumber("μX"));
  COMPARE_EXACT(S().Parameters.MuX, 24.33408);
  QVERIFY(!RunRestarted());
}

// Text that is no number yet waits while it is typed, and is named when it is left.
void ParametersFormTest::clearingKappaOrAlphaIsReportedAtOnce() {
  std::size_t reported = 0;
  for (QLineEdit* edit : {form->Edit2, form->Edit4}) {
    Enter(edit);
    RunSequences();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClick(edit, Qt::Key_Minus);
    QCOMPARE(prompts->Calls().size(), reported);
    QVERIFY(!RunRestarted());
    TabOut();
    QCOMPARE(prompts->Calls().size(), ++reported);
  }
  COMPARE_EXACT(S().Parameters.Kappa, 1.05819);
  QCOMPARE(form->Edit2->text(), QStringLiteral("1.05819"));
  COMPARE_EXACT(S().Parameters.Alpha, kDefaultAlpha);
  COMPARE_EXACT(S().Parameters.Nu, kDefaultNu);
}

void ParametersFormTest::leavingUnchangedStoresTheDisplayedDigits() {
  Enter(form->Edit5);
  RunSequences();
  TabOut();
  COMPARE_EXACT(S().Parameters.Nu, 0.00628291666666667);
  QVERIFY(RunRestarted());
}

void ParametersFormTest::equalIntensityMeanAndDeviationMeanExponentialIntensities() {
  Type(form->Edit7, QStringLiteral("30"));
  TabOut();
  QVERIFY(S().GammaIntensity);
  Type(form->Edit7, QStringLiteral("24.3340809"));  // 0.9e-6 apart
  TabOut();
  QVERIFY(!S().GammaIntensity);
  Type(form->Edit6, QStringLiteral("24.3340789"));  // 2e-6 apart
  TabOut();
  QVERIFY(S().GammaIntensity);
  Type(form->Edit6, QStringLiteral("24.3340809"));
  TabOut();
  QVERIFY(!S().GammaIntensity);
}

void ParametersFormTest::daysReadAsTypedAndBoundedOnLeaving() {
  Enter(form->SpinEdit1);
  RunSequences();
  Retype(form->SpinEdit1, QStringLiteral("400"));
  QCOMPARE(S().Options.DaysPerMonth, 366);  // bounded as soon as it is used
  QVERIFY(RunRestarted());
  TabOut();
  QCOMPARE(form->SpinEdit1->text(), QStringLiteral("366"));
  QCOMPARE(S().Options.DaysPerMonth, 366);
  Type(form->SpinEdit1, QStringLiteral("-"));
  QCOMPARE(S().Options.DaysPerMonth, 28);
}

void ParametersFormTest::seedTakesNegativeLargeAndNonIntegerTexts() {
  Enter(form->SpinEdit2);
  RunSequences();
  Retype(form->SpinEdit2, QStringLiteral("-17"));
  QCOMPARE(S().Options.RandomSeed, -17);
  QVERIFY(RunRestarted());
  Retype(form->SpinEdit2, QStringLiteral("2147483647"));
  TabOut();
  QCOMPARE(S().Options.RandomSeed, 2147483647);
  form->SpinEdit2->SetText(QStringLiteral("99999999999"));  // pasted: beyond a 32-bit seed
  QCOMPARE(S().Options.RandomSeed, 2147483647);
  QCOMPARE(form->SpinEdit2->text(), QStringLiteral("2147483647"));
  QCOMPARE(prompts->Calls().size(), std::size_t{1});
}

void ParametersFormTest::adjustmentBoxClicks() {
  Enter(form->PerformAdjustmentBox);
  RunSequences();
  QTest::mouseClick(form->PerformAdjustmentBox, Qt::LeftButton);
  QVERIFY(!S().Options.PerformAdjustment);
  QVERIFY(RunRestarted());
  RunSequences();
  QTest::keyClick(form->PerformAdjustmentBox, Qt::Key_Space);
  QVERIFY(S().Options.PerformAdjustment);
  QVERIFY(RunRestarted());
}

// The value typed is stored, but the run cannot start from it: every restart reports
// why, and the run goes on as it was until lambda is a rate again.
void ParametersFormTest::lambdaTheRunCannotStartFromIsReported() {
  Enter(form->Edit1);
  RunSequences();
  Retype(form->Edit1, QStringLiteral("0"));
  TabOut();
  COMPARE_EXACT(S().Parameters.Lambda, 0.0);
  QCOMPARE(prompts->Calls().size(), std::size_t{1});
  QVERIFY(prompts->Calls()[0].find("Lambda") != std::string::npos);
  QCOMPARE(S().SequenceNumber, 2);
  QTest::keyClick(form->Edit2, Qt::Key_End);
  QTest::keyClick(form->Edit2, Qt::Key_1);
  QCOMPARE(prompts->Calls().size(), std::size_t{2});
  Type(form->Edit1, QStringLiteral("0.9"));  // leaving kappa restarts, and fails, once more
  QCOMPARE(prompts->Calls().size(), std::size_t{3});
  TabOut();
  QCOMPARE(prompts->Calls().size(), std::size_t{3});
  QVERIFY(RunRestarted());
}

void ParametersFormTest::alphaCrossingWithZeroNuIsReported() {
  Type(form->Edit5, QStringLiteral("0"));
  TabOut();
  Enter(form->Edit4);
  Paste(form->Edit4, QStringLiteral("100"));
  QVERIFY(prompts->Calls() == std::vector<std::string>{"message: Floating point division by zero"});
  COMPARE_EXACT(S().Parameters.Alpha, kDefaultAlpha);
  COMPARE_EXACT(S().Parameters.Nu, 0.0);
}

void ParametersFormTest::reloadFromAFileHeader() {
  Type(form->Edit1, QStringLiteral("abc"));
  TabOut();
  QVERIFY(prompts->Calls() == std::vector<std::string>{NotANumber("λ")});
  RunSequences();
  std::istringstream file("D 0\r\nP 400 0.5 1.05819 0.0586 150 3 10 12\r\n");
  engine->OpenInput(file, "daily.txt");
  form->FormCreate();
  QCOMPARE(form->Edit1->text(), QStringLiteral("0.5"));
  QCOMPARE(form->Edit4->text(), QStringLiteral("150"));
  QCOMPARE(form->Edit5->text(), QStringLiteral("3"));
  QCOMPARE(form->Label5->text(), QString::fromUtf16(u"\u03B7 (d^-1)"));
  COMPARE_EXACT(S().Parameters.Nu, 3.0);
  QCOMPARE(form->SpinEdit1->text(), QStringLiteral("400"));
  QCOMPARE(S().Options.DaysPerMonth, 400);
  QVERIFY(S().GammaIntensity);
  QVERIFY(RunRestarted());
  QCOMPARE(prompts->Calls().size(), std::size_t{1});
  Enter(form->SpinEdit1);
  TabOut();
  QCOMPARE(S().Options.DaysPerMonth, 366);
}

void ParametersFormTest::badLambdaFromAFileIsRefusedByTheEngine() {
  std::istringstream file("D 0\r\nP 31 -1 2 0.0586 2.69569 0.15 24 24\r\n");
  QVERIFY_THROWS_EXCEPTION(InvalidArgument, engine->OpenInput(file, "daily.txt"));
  form->FormCreate();
  QVERIFY(prompts->Calls().empty());
  QCOMPARE(form->Edit1->text(), QStringLiteral("-1"));
  COMPARE_EXACT(S().Parameters.Kappa, 2.0);
}

void ParametersFormTest::okAppliesTheFieldBeingLeftAndKeepsTheTexts() {
  Type(form->Edit3, QStringLiteral("xyz"));
  Type(form->Edit1, QStringLiteral("0.7"));
  QVERIFY(prompts->Calls() == std::vector<std::string>{NotANumber("φ")});
  COMPARE_EXACT(S().Parameters.Lambda, 0.9396);
  QTest::mouseClick(form->Button1, Qt::LeftButton);
  QVERIFY(form->isHidden());
  QCOMPARE(form->result(), int(QDialog::Accepted));
  COMPARE_EXACT(S().Parameters.Lambda, 0.7);
  QVERIFY(prompts->Calls() == std::vector<std::string>{NotANumber("φ")});
  ShowForm();
  QCOMPARE(form->Edit1->text(), QStringLiteral("0.7"));
  QCOMPARE(form->Edit3->text(), QStringLiteral("0.0586"));
}

// The close box takes no field's text: only leaving a field for another control does.
void ParametersFormTest::closeBoxEndsTheShowingToo() {
  form->setResult(QDialog::Rejected);
  Type(form->Edit1, QStringLiteral("0.7"));
  QVERIFY(form->close());
  QVERIFY(form->isHidden());
  QCOMPARE(form->result(), int(QDialog::Accepted));
  COMPARE_EXACT(S().Parameters.Lambda, 0.9396);
  ShowForm();
  QTest::keyClick(form, Qt::Key_Escape);
  QVERIFY(form->isHidden());
}

void ParametersFormTest::localeDecimalComma() {
  form->setLocale(QLocale(QLocale::German, QLocale::Germany));
  form->FormCreate();
  QCOMPARE(form->Edit1->text(), QStringLiteral("0,9396"));
  Type(form->Edit1, QStringLiteral("0,25"));
  TabOut();
  COMPARE_EXACT(S().Parameters.Lambda, 0.25);
  Type(form->Edit1, QStringLiteral("0.5"));
  TabOut();
  COMPARE_EXACT(S().Parameters.Lambda, 0.25);
  QVERIFY(prompts->Calls() == std::vector<std::string>{NotANumber("λ")});
}

void ParametersFormTest::helpKeyOpensTheParametersTopic() {
  QTest::keyClick(form, Qt::Key_F1);
  QVERIFY(help->isVisible());
  QVERIFY(help->CurrentTitle().contains(QStringLiteral("Bartlett-Lewis model parameters")));
  help->close();
}

QTEST_MAIN(ParametersFormTest)
// The mean is proportional to lambda; a value that is no number leaves the table blank.
void ParametersFormTest::modelStatisticsFollowTheValuesTyped() {
  QLabel* hourlyMean = form->StatisticsPanel->Values[0][0];
  const double before = hourlyMean->text().toDouble();
  QVERIFY(before > 0);
  Type(form->Edit1, QStringLiteral("1.8792"));                                 // twice the default lambda
  QVERIFY(std::abs(hourlyMean->text().toDouble() / (2 * before) - 1) < 1e-3);  // four digits shown
  Type(form->Edit6, QStringLiteral("abc"));
  QCOMPARE(hourlyMean->text(), QStringLiteral("–"));
  Type(form->Edit6, QStringLiteral("24.33408"));
  Type(form->Edit4, QStringLiteral("0.9"));
  QVERIFY(form->StatisticsPanel->Note->text().contains(QStringLiteral("Alpha")));
}

#include "parameters_dialog_test.moc"
