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
#include <functional>
#include <memory>
#include <sstream>

#include "child_widget.h"
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

class ParametersDialogTest : public DialogTest<ParametersDialog> {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void creationShowsTheEngineValues();
  void captionsLabelsHintsAndFixedTexts();
  void tabOrderFollowsTheColumnsThenTheButtons();
  void alphaPastedAcrossTheThresholdAndBack();
  void alphaTypedCharacterByCharacter();
  void alphaOfExactlyHundredMeansFixedEta();
  void activationShowsTheFifthFieldForTheCurrentAlpha();
  void fieldsReactingOnLeavingIgnoreTyping();
  void kappaReactsToEveryChange();
  void rejectedTextKeepsTheValueAndStillRestarts();
  void clearingKappaOrAlphaIsReportedAtOnce();
  void tabThroughUnchangedFieldsKeepsTheRun();
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
  void parametersTheGeneratorRefusesShowNoStatistics_data();
  void parametersTheGeneratorRefusesShowNoStatistics();

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

void ParametersDialogTest::init() {
  Build();
  ShowForm();
}

void ParametersDialogTest::cleanup() { Release(); }

// Two sequences: a restart shows as sequence 0, an empty log and a fresh generator.
void ParametersDialogTest::RunSequences() {
  const int before = S().SequenceNumber;
  engine->Step();
  engine->Step();
  QCOMPARE(S().SequenceNumber, before + 2);
  QVERIFY(!log->Lines().empty());
}

bool ParametersDialogTest::RunRestarted() {
  const auto fresh = std::make_unique<StartedEngine>(S().Options.RandomSeed);
  EditParameters(fresh->engine, [this](ModelParameters& p) { p.Lambda = S().Parameters.Lambda; });
  fresh->engine.RestartRun();
  return S().SequenceNumber == 0 && log->Lines().empty() &&
         EngineTestSeam::Core(*engine).Random().State() ==
             EngineTestSeam::Core(fresh->engine).Random().State();
}

// As a click into the field: the field left before reacts.
void ParametersDialogTest::Enter(QWidget* field) { field->setFocus(Qt::MouseFocusReason); }

void ParametersDialogTest::Type(QWidget* field, const QString& text) {
  Enter(field);
  Retype(field, text);
}

// Replaces the whole text key by key, as a user who selects it first.
void ParametersDialogTest::Retype(QWidget* field, const QString& text) {
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(field, text);
}

// Over the whole text of the field being edited, in one change.
void ParametersDialogTest::Paste(QLineEdit* field, const QString& text) {
  QApplication::clipboard()->setText(text);
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(field->text(), text);
}

void ParametersDialogTest::TabOut() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

void ParametersDialogTest::creationShowsTheEngineValues() {
  QCOMPARE(Child<QLineEdit>(form, "lambda")->text(), QStringLiteral("0.9396"));
  QCOMPARE(Child<QLineEdit>(form, "kappa")->text(), QStringLiteral("1.05819"));
  QCOMPARE(Child<QLineEdit>(form, "phi")->text(), QStringLiteral("0.0586"));
  QCOMPARE(Child<QLineEdit>(form, "alpha")->text(), QStringLiteral("2.69569"));
  QCOMPARE(Child<QLineEdit>(form, "nu")->text(),
           QStringLiteral("0.00628291666666667"));  // 15 significant digits
  QCOMPARE(Child<QLineEdit>(form, "muX")->text(), QStringLiteral("24.33408"));
  QCOMPARE(Child<QLineEdit>(form, "sigmaX")->text(), QStringLiteral("24.33408"));
  QCOMPARE(Child<IntegerField>(form, "daysPerMonth")->text(), QStringLiteral("31"));
  QCOMPARE(Child<IntegerField>(form, "seed")->text(), QStringLiteral("0"));
  QVERIFY(Child<QCheckBox>(form, "adjustment")->isChecked());
  COMPARE_EXACT(S().Parameters.Nu, kDefaultNu);  // loading changes no value
  QCOMPARE(form->minimumSize(), form->maximumSize());

  RunSequences();
  ParametersDialog second(*engine, *prompts, *help);
  QCOMPARE(S().SequenceNumber, 2);  // showing the values leaves the run alone
  QVERIFY(prompts->Calls().empty());
}

void ParametersDialogTest::captionsLabelsHintsAndFixedTexts() {
  QCOMPARE(form->windowTitle(), QStringLiteral("Bartlett-Lewis model parameters"));
  QCOMPARE(Child<QLabel>(form, "lambdaLabel")->text(), QString::fromUtf16(u"\u03BB (d\u207B\u00B9)"));
  QCOMPARE(Child<QLabel>(form, "kappaLabel")->text(), QString::fromUtf16(u"\u03BA = \u03B2/\u03B7"));
  QCOMPARE(Child<QLabel>(form, "phiLabel")->text(), QString::fromUtf16(u"\u03C6 = \u03B3/\u03B7"));
  QCOMPARE(Child<QLabel>(form, "alphaLabel")->text(), QString::fromUtf16(u"\u03B1 "));
  QCOMPARE(Child<QLabel>(form, "nuLabel")->text(), QString::fromUtf16(u"\u03BD (d)"));
  QCOMPARE(Child<QLabel>(form, "muXLabel")->text(), QString::fromUtf16(u"\u03BCX (mm/d)"));
  QCOMPARE(Child<QLabel>(form, "sigmaXLabel")->text(), QString::fromUtf16(u"\u03C3X (mm/d)"));
  QCOMPARE(Child<QLabel>(form, "daysPerMonthLabel")->text(), QStringLiteral("Days per month or season "));
  QCOMPARE(Child<QLabel>(form, "seedLabel")->text(), QStringLiteral("Random seed"));
  QCOMPARE(Child<QCheckBox>(form, "adjustment")->text(), QStringLiteral("Perform adjustment"));
  QCOMPARE(Child<QPushButton>(form, "ok")->text(), QStringLiteral("OK"));
  QCOMPARE(Child<QLineEdit>(form, "lambda")->toolTip(),
           QString::fromUtf16(u"Parameter lambda (inverse mean storm interarrival time, d\u207B\u00B9)"));
  QCOMPARE(Child<QLineEdit>(form, "kappa")->toolTip(),
           QStringLiteral(
               "Parameter kappa = ratio of beta and eta (beta = inverse mean interarrival time of cells, "
               "eta =  inverse mean cell duration) "));
  QCOMPARE(
      Child<QLineEdit>(form, "phi")->toolTip(),
      QStringLiteral("Parameter phi = ratio of gamma and eta (gamma = inverse mean storm duration, eta =  "
                     "inverse mean cell duration) "));
  QCOMPARE(Child<QLineEdit>(form, "alpha")->toolTip(),
           QStringLiteral("Parameter alpha (shape parameter of eta)"));
  QCOMPARE(Child<QLineEdit>(form, "nu")->toolTip(),
           QStringLiteral("Parameter nu (scale parameter of eta, days)"));
  QCOMPARE(Child<QLineEdit>(form, "muX")->toolTip(),
           QStringLiteral("Parameter muX (mean of cell intensity, mm/d)"));
  QCOMPARE(Child<QLineEdit>(form, "sigmaX")->toolTip(),
           QStringLiteral("Parameter sigmaX (standard deviation of cell intensity, mm/d)"));
  QCOMPARE(Child<QLabel>(form, "introText")->text(),
           QString::fromUtf16(
               u"Please make sure that for parameters \u03BCX and \u03C3X the length units are "
               u"millimeters (mm) and for parameters \u03BB, \u03BD (or \u03B7), \u03BCX and \u03C3X "
               u"the time units are days (d) (as indicated to the left of the Edit Boxes)"));
  QCOMPARE(
      Child<QLabel>(form, "adjustmentText")->text(),
      QStringLiteral("If your computer does not display Greek characters, place the mouse pointer above each "
                     "of the Edit Boxes and wait until the on-screen hint appears"));
  for (const QLabel* text : {Child<QLabel>(form, "introText"), Child<QLabel>(form, "adjustmentText")})
    QVERIFY(text->height() >= text->heightForWidth(text->width()));  // no line cut off
}

// Without an input file its values' button is disabled, and Tab passes it by.
void ParametersDialogTest::tabOrderFollowsTheColumnsThenTheButtons() {
  const QList<QWidget*> order{Child<QLineEdit>(form, "kappa"),      Child<QLineEdit>(form, "phi"),
                              Child<QCheckBox>(form, "adjustment"), Child<QLineEdit>(form, "alpha"),
                              Child<QLineEdit>(form, "nu"),         Child<QLineEdit>(form, "muX"),
                              Child<QLineEdit>(form, "sigmaX"),     Child<IntegerField>(form, "daysPerMonth"),
                              Child<IntegerField>(form, "seed"),    Child<QPushButton>(form, "cancel"),
                              Child<QPushButton>(form, "ok"),       Child<QLineEdit>(form, "lambda")};
  Enter(Child<QLineEdit>(form, "lambda"));
  for (QWidget* expected : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* focus = QApplication::focusWidget();
    QVERIFY2(focus == expected || expected->isAncestorOf(focus),
             qPrintable(focus->metaObject()->className()));
  }
}

void ParametersDialogTest::alphaPastedAcrossTheThresholdAndBack() {
  Enter(Child<QLineEdit>(form, "alpha"));
  RunSequences();
  QSignalSpy changes(Child<QLineEdit>(form, "alpha"), &QLineEdit::textChanged);
  Paste(Child<QLineEdit>(form, "alpha"), QStringLiteral("100"));
  QCOMPARE(changes.count(), 1);
  const double eta = kDefaultAlpha / kDefaultNu;
  COMPARE_EXACT(S().Parameters.Alpha, 100.0);
  COMPARE_EXACT(S().Parameters.Nu, eta);
  QCOMPARE(Child<QLineEdit>(form, "nu")->text(), QString::fromStdString(FormatGeneral(eta, ".")));
  QCOMPARE(Child<QLabel>(form, "nuLabel")->text(), QString::fromUtf16(u"\u03B7 (d\u207B\u00B9)"));
  QCOMPARE(Child<QLineEdit>(form, "nu")->toolTip(), QString::fromUtf16(u"Parameter eta (d\u207B\u00B9)"));
  QVERIFY(RunRestarted());

  RunSequences();
  Paste(Child<QLineEdit>(form, "alpha"), QStringLiteral("2.69569"));
  COMPARE_EXACT(S().Parameters.Nu, kDefaultAlpha / eta);
  QVERIFY(std::abs(S().Parameters.Nu - kDefaultNu) < 1e-17);
  QCOMPARE(Child<QLabel>(form, "nuLabel")->text(), QString::fromUtf16(u"\u03BD (d)"));
  QCOMPARE(Child<QLineEdit>(form, "nu")->toolTip(),
           QStringLiteral("Parameter nu (scale parameter of eta, days)"));
  QVERIFY(RunRestarted());
  QVERIFY(prompts->Calls().empty());
}

// Every intermediate text is taken: the crossing happens at 10 -> 100, and on the way
// back at the first character.
void ParametersDialogTest::alphaTypedCharacterByCharacter() {
  Type(Child<QLineEdit>(form, "alpha"), QStringLiteral("10"));
  COMPARE_EXACT(S().Parameters.Alpha, 10.0);
  COMPARE_EXACT(S().Parameters.Nu, kDefaultNu);
  QTest::keyClick(Child<QLineEdit>(form, "alpha"), Qt::Key_0);
  const double eta = 10 / kDefaultNu;
  COMPARE_EXACT(S().Parameters.Nu, eta);
  QCOMPARE(Child<QLabel>(form, "nuLabel")->text(), QString::fromUtf16(u"\u03B7 (d\u207B\u00B9)"));

  Type(Child<QLineEdit>(form, "alpha"), QStringLiteral("2"));
  COMPARE_EXACT(S().Parameters.Nu, 2 / eta);
  QCOMPARE(Child<QLabel>(form, "nuLabel")->text(), QString::fromUtf16(u"\u03BD (d)"));
  QTest::keyClicks(Child<QLineEdit>(form, "alpha"), QStringLiteral(".69569"));
  COMPARE_EXACT(S().Parameters.Alpha, kDefaultAlpha);
  COMPARE_EXACT(S().Parameters.Nu, 2 / eta);
  QCOMPARE(Child<QLineEdit>(form, "nu")->text(), QString::fromStdString(FormatGeneral(2 / eta, ".")));
  QVERIFY(prompts->Calls().empty());
}

void ParametersDialogTest::alphaOfExactlyHundredMeansFixedEta() {
  Enter(Child<QLineEdit>(form, "alpha"));
  Paste(Child<QLineEdit>(form, "alpha"), QStringLiteral("99.999"));
  QCOMPARE(Child<QLabel>(form, "nuLabel")->text(), QString::fromUtf16(u"\u03BD (d)"));
  COMPARE_EXACT(S().Parameters.Nu, kDefaultNu);
  Paste(Child<QLineEdit>(form, "alpha"), QStringLiteral("100"));
  QCOMPARE(Child<QLabel>(form, "nuLabel")->text(), QString::fromUtf16(u"\u03B7 (d\u207B\u00B9)"));
  COMPARE_EXACT(S().Parameters.Nu, 99.999 / kDefaultNu);
  Paste(Child<QLineEdit>(form, "alpha"), QStringLiteral("250"));  // no crossing: eta stays
  COMPARE_EXACT(S().Parameters.Nu, 99.999 / kDefaultNu);
  Paste(Child<QLineEdit>(form, "alpha"), QStringLiteral("99.999"));
  COMPARE_EXACT(S().Parameters.Nu, 99.999 / (99.999 / kDefaultNu));
  QCOMPARE(Child<QLabel>(form, "nuLabel")->text(), QString::fromUtf16(u"\u03BD (d)"));
}

void ParametersDialogTest::activationShowsTheFifthFieldForTheCurrentAlpha() {
  form->hide();
  EditParameters(*engine, [](ModelParameters& p) { p.Alpha = 100; });
  ShowForm();
  QCOMPARE(Child<QLabel>(form, "nuLabel")->text(), QString::fromUtf16(u"\u03B7 (d\u207B\u00B9)"));
  QCOMPARE(Child<QLineEdit>(form, "nu")->toolTip(), QString::fromUtf16(u"Parameter eta (d\u207B\u00B9)"));

  QWidget other;
  other.show();
  other.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&other));
  EditParameters(*engine, [](ModelParameters& p) { p.Alpha = 99; });
  ShowForm();
  QCOMPARE(Child<QLabel>(form, "nuLabel")->text(), QString::fromUtf16(u"\u03BD (d)"));
  QCOMPARE(Child<QLineEdit>(form, "nu")->toolTip(),
           QStringLiteral("Parameter nu (scale parameter of eta, days)"));
}

void ParametersDialogTest::fieldsReactingOnLeavingIgnoreTyping() {
  const struct {
    QLineEdit* edit;
    const double* variable;
  } fields[] = {{Child<QLineEdit>(form, "lambda"), &S().Parameters.Lambda},
                {Child<QLineEdit>(form, "phi"), &S().Parameters.Phi},
                {Child<QLineEdit>(form, "nu"), &S().Parameters.Nu},
                {Child<QLineEdit>(form, "muX"), &S().Parameters.MuX},
                {Child<QLineEdit>(form, "sigmaX"), &S().Parameters.SigmaX}};
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

void ParametersDialogTest::kappaReactsToEveryChange() {
  Enter(Child<QLineEdit>(form, "kappa"));
  RunSequences();
  Retype(Child<QLineEdit>(form, "kappa"), QStringLiteral("3"));
  COMPARE_EXACT(S().Parameters.Kappa, 3.0);
  QVERIFY(RunRestarted());
  RunSequences();
  QTest::keyClicks(Child<QLineEdit>(form, "kappa"), QStringLiteral(".5"));
  COMPARE_EXACT(S().Parameters.Kappa, 3.5);
  QVERIFY(RunRestarted());
}

void ParametersDialogTest::rejectedTextKeepsTheValueAndStillRestarts() {
  Enter(Child<QLineEdit>(form, "phi"));
  RunSequences();
  Retype(Child<QLineEdit>(form, "phi"), QStringLiteral("1,5"));
  TabOut();
  QVERIFY(prompts->Calls() == std::vector<std::string>{NotANumber("φ")});
  COMPARE_EXACT(S().Parameters.Phi, 0.0586);
  QCOMPARE(Child<QLineEdit>(form, "phi")->text(), QStringLiteral("0.0586"));  // the value in use
  QVERIFY(!RunRestarted());

  Enter(Child<QLineEdit>(form, "muX"));
  RunSequences();
  Retype(Child<QLineEdit>(form, "muX"), QStringLiteral("1e999"));  // beyond the range of a real
  TabOut();
  QCOMPARE(prompts->Calls().back(), NotANumber("μX"));
  COMPARE_EXACT(S().Parameters.MuX, 24.33408);
  QVERIFY(!RunRestarted());
}

// Text that is no number yet waits while it is typed, and is named when it is left.
void ParametersDialogTest::clearingKappaOrAlphaIsReportedAtOnce() {
  std::size_t reported = 0;
  for (QLineEdit* edit : {Child<QLineEdit>(form, "kappa"), Child<QLineEdit>(form, "alpha")}) {
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
  QCOMPARE(Child<QLineEdit>(form, "kappa")->text(), QStringLiteral("1.05819"));
  COMPARE_EXACT(S().Parameters.Alpha, kDefaultAlpha);
  COMPARE_EXACT(S().Parameters.Nu, kDefaultNu);
}

// Moving through every field with Tab, changing nothing, keeps the run and its values.
void ParametersDialogTest::tabThroughUnchangedFieldsKeepsTheRun() {
  ShowForm();
  const ModelParameters before = S().Parameters;
  Enter(Child<QLineEdit>(form, "lambda"));
  RunSequences();
  for (int field = 0; field < 12; ++field) TabOut();
  QCOMPARE(S().SequenceNumber, 2);
  QVERIFY(prompts->Calls().empty());
  QVERIFY(S().Parameters == before);
}

void ParametersDialogTest::equalIntensityMeanAndDeviationMeanExponentialIntensities() {
  Type(Child<QLineEdit>(form, "sigmaX"), QStringLiteral("30"));
  TabOut();
  QVERIFY(S().Parameters.GammaIntensity());
  Type(Child<QLineEdit>(form, "sigmaX"), QStringLiteral("24.3340809"));  // 0.9e-6 apart
  TabOut();
  QVERIFY(!S().Parameters.GammaIntensity());
  Type(Child<QLineEdit>(form, "muX"), QStringLiteral("24.3340789"));  // 2e-6 apart
  TabOut();
  QVERIFY(S().Parameters.GammaIntensity());
  Type(Child<QLineEdit>(form, "muX"), QStringLiteral("24.3340809"));
  TabOut();
  QVERIFY(!S().Parameters.GammaIntensity());
}

void ParametersDialogTest::daysReadAsTypedAndBoundedOnLeaving() {
  Enter(Child<IntegerField>(form, "daysPerMonth"));
  RunSequences();
  Retype(Child<IntegerField>(form, "daysPerMonth"), QStringLiteral("400"));
  QCOMPARE(S().Options.DaysPerMonth, 366);  // bounded as soon as it is used
  QVERIFY(RunRestarted());
  TabOut();
  QCOMPARE(Child<IntegerField>(form, "daysPerMonth")->text(), QStringLiteral("366"));
  QCOMPARE(S().Options.DaysPerMonth, 366);
  Type(Child<IntegerField>(form, "daysPerMonth"), QStringLiteral("-"));
  QCOMPARE(S().Options.DaysPerMonth, 28);
}

void ParametersDialogTest::seedTakesNegativeLargeAndNonIntegerTexts() {
  Enter(Child<IntegerField>(form, "seed"));
  RunSequences();
  Retype(Child<IntegerField>(form, "seed"), QStringLiteral("-17"));
  QCOMPARE(S().Options.RandomSeed, -17);
  QVERIFY(RunRestarted());
  Retype(Child<IntegerField>(form, "seed"), QStringLiteral("2147483647"));
  TabOut();
  QCOMPARE(S().Options.RandomSeed, 2147483647);
  Child<IntegerField>(form, "seed")->SetText(QStringLiteral("99999999999"));  // pasted: beyond a 32-bit seed
  QCOMPARE(S().Options.RandomSeed, 2147483647);
  QCOMPARE(Child<IntegerField>(form, "seed")->text(), QStringLiteral("2147483647"));
  QCOMPARE(prompts->Calls().size(), std::size_t{1});
}

void ParametersDialogTest::adjustmentBoxClicks() {
  Enter(Child<QCheckBox>(form, "adjustment"));
  RunSequences();
  QTest::mouseClick(Child<QCheckBox>(form, "adjustment"), Qt::LeftButton);
  QVERIFY(!S().Options.PerformAdjustment);
  QVERIFY(RunRestarted());
  RunSequences();
  QTest::keyClick(Child<QCheckBox>(form, "adjustment"), Qt::Key_Space);
  QVERIFY(S().Options.PerformAdjustment);
  QVERIFY(RunRestarted());
}

// The value typed is stored, but the run cannot start from it: every restart reports
// why, and the run goes on as it was until lambda is a rate again.
void ParametersDialogTest::lambdaTheRunCannotStartFromIsReported() {
  Enter(Child<QLineEdit>(form, "lambda"));
  RunSequences();
  Retype(Child<QLineEdit>(form, "lambda"), QStringLiteral("0"));
  TabOut();
  COMPARE_EXACT(S().Parameters.Lambda, 0.0);
  QCOMPARE(prompts->Calls().size(), std::size_t{1});
  QVERIFY(prompts->Calls()[0].find("Lambda") != std::string::npos);
  QCOMPARE(S().SequenceNumber, 2);
  QTest::keyClick(Child<QLineEdit>(form, "kappa"), Qt::Key_End);
  QTest::keyClick(Child<QLineEdit>(form, "kappa"), Qt::Key_1);
  QCOMPARE(prompts->Calls().size(), std::size_t{2});
  // Leaving kappa, whose change was taken as it was typed, changes nothing.
  Type(Child<QLineEdit>(form, "lambda"), QStringLiteral("0.9"));
  QCOMPARE(prompts->Calls().size(), std::size_t{2});
  TabOut();
  QCOMPARE(prompts->Calls().size(), std::size_t{2});
  QVERIFY(RunRestarted());
}

void ParametersDialogTest::alphaCrossingWithZeroNuIsReported() {
  Type(Child<QLineEdit>(form, "nu"), QStringLiteral("0"));
  TabOut();
  Enter(Child<QLineEdit>(form, "alpha"));
  Paste(Child<QLineEdit>(form, "alpha"), QStringLiteral("100"));
  QVERIFY(prompts->Calls() == std::vector<std::string>{"message: Floating point division by zero"});
  COMPARE_EXACT(S().Parameters.Alpha, kDefaultAlpha);
  COMPARE_EXACT(S().Parameters.Nu, 0.0);
}

void ParametersDialogTest::reloadFromAFileHeader() {
  Type(Child<QLineEdit>(form, "lambda"), QStringLiteral("abc"));
  TabOut();
  QVERIFY(prompts->Calls() == std::vector<std::string>{NotANumber("λ")});
  RunSequences();
  std::istringstream file("D 0\r\nP 400 0.5 1.05819 0.0586 150 3 10 12\r\n");
  engine->OpenInput(file, "daily.txt");
  form->LoadFromEngine();
  QCOMPARE(Child<QLineEdit>(form, "lambda")->text(), QStringLiteral("0.5"));
  QCOMPARE(Child<QLineEdit>(form, "alpha")->text(), QStringLiteral("150"));
  QCOMPARE(Child<QLineEdit>(form, "nu")->text(), QStringLiteral("3"));
  QCOMPARE(Child<QLabel>(form, "nuLabel")->text(), QString::fromUtf16(u"\u03B7 (d\u207B\u00B9)"));
  COMPARE_EXACT(S().Parameters.Nu, 3.0);
  QCOMPARE(Child<IntegerField>(form, "daysPerMonth")->text(), QStringLiteral("400"));
  QCOMPARE(S().Options.DaysPerMonth, 400);
  QVERIFY(S().Parameters.GammaIntensity());
  QVERIFY(RunRestarted());
  QCOMPARE(prompts->Calls().size(), std::size_t{1});
  Enter(Child<IntegerField>(form, "daysPerMonth"));
  TabOut();
  QCOMPARE(S().Options.DaysPerMonth, 366);
}

void ParametersDialogTest::badLambdaFromAFileIsRefusedByTheEngine() {
  std::istringstream file("D 0\r\nP 31 -1 2 0.0586 2.69569 0.15 24 24\r\n");
  QVERIFY_THROWS_EXCEPTION(InvalidArgument, engine->OpenInput(file, "daily.txt"));
  form->LoadFromEngine();
  QVERIFY(prompts->Calls().empty());
  QCOMPARE(Child<QLineEdit>(form, "lambda")->text(), QStringLiteral("-1"));
  COMPARE_EXACT(S().Parameters.Kappa, 2.0);
}

void ParametersDialogTest::okAppliesTheFieldBeingLeftAndKeepsTheTexts() {
  Type(Child<QLineEdit>(form, "phi"), QStringLiteral("xyz"));
  Type(Child<QLineEdit>(form, "lambda"), QStringLiteral("0.7"));
  QVERIFY(prompts->Calls() == std::vector<std::string>{NotANumber("φ")});
  COMPARE_EXACT(S().Parameters.Lambda, 0.9396);
  QTest::mouseClick(Child<QPushButton>(form, "ok"), Qt::LeftButton);
  QVERIFY(form->isHidden());
  QCOMPARE(form->result(), int(QDialog::Accepted));
  COMPARE_EXACT(S().Parameters.Lambda, 0.7);
  QVERIFY(prompts->Calls() == std::vector<std::string>{NotANumber("φ")});
  ShowForm();
  QCOMPARE(Child<QLineEdit>(form, "lambda")->text(), QStringLiteral("0.7"));
  QCOMPARE(Child<QLineEdit>(form, "phi")->text(), QStringLiteral("0.0586"));
}

// The close box, Esc and Cancel take no field's text, and bring back the values the
// dialog opened with, restarting the run once more if an edit had restarted it.
void ParametersDialogTest::closeBoxEndsTheShowingToo() {
  const auto cancellers = std::vector<std::function<void()>>{
      [this] { QVERIFY(form->close()); }, [this] { QTest::keyClick(form, Qt::Key_Escape); },
      [this] { QTest::mouseClick(Child<QPushButton>(form, "cancel"), Qt::LeftButton); }};
  for (const auto& cancel : cancellers) {
    ShowForm();
    Type(Child<QLineEdit>(form, "kappa"), QStringLiteral("1.5"));
    TabOut();
    COMPARE_EXACT(S().Parameters.Kappa, 1.5);
    engine->Step();
    Type(Child<QLineEdit>(form, "lambda"), QStringLiteral("0.7"));
    cancel();
    QVERIFY(form->isHidden());
    QCOMPARE(form->result(), int(QDialog::Rejected));
    COMPARE_EXACT(S().Parameters.Lambda, 0.9396);
    COMPARE_EXACT(S().Parameters.Kappa, 1.05819);
    QCOMPARE(S().SequenceNumber, 0);
    QCOMPARE(Child<QLineEdit>(form, "lambda")->text(), QStringLiteral("0.9396"));
    QCOMPARE(Child<QLineEdit>(form, "kappa")->text(), QStringLiteral("1.05819"));
  }
}

void ParametersDialogTest::localeDecimalComma() {
  form->setLocale(QLocale(QLocale::German, QLocale::Germany));
  form->LoadFromEngine();
  QCOMPARE(Child<QLineEdit>(form, "lambda")->text(), QStringLiteral("0,9396"));
  Type(Child<QLineEdit>(form, "lambda"), QStringLiteral("0,25"));
  TabOut();
  COMPARE_EXACT(S().Parameters.Lambda, 0.25);
  Type(Child<QLineEdit>(form, "lambda"), QStringLiteral("0.5"));
  TabOut();
  COMPARE_EXACT(S().Parameters.Lambda, 0.25);
  QVERIFY(prompts->Calls() == std::vector<std::string>{NotANumber("λ")});
}

void ParametersDialogTest::helpKeyOpensTheParametersTopic() {
  QTest::keyClick(form, Qt::Key_F1);
  QVERIFY(help->isVisible());
  QVERIFY(help->CurrentTitle().contains(QStringLiteral("Bartlett-Lewis model parameters")));
  help->close();
}

QTEST_MAIN(ParametersDialogTest)
// The mean is proportional to lambda; a value that is no number leaves the table blank.
void ParametersDialogTest::modelStatisticsFollowTheValuesTyped() {
  QLabel* hourlyMean = Child<ModelStatisticsPanel>(form, "statisticsPanel")->Values[0][0];
  const double before = hourlyMean->text().toDouble();
  QVERIFY(before > 0);
  Type(Child<QLineEdit>(form, "lambda"), QStringLiteral("1.8792"));            // twice the default lambda
  QVERIFY(std::abs(hourlyMean->text().toDouble() / (2 * before) - 1) < 1e-3);  // four digits shown
  Type(Child<QLineEdit>(form, "muX"), QStringLiteral("abc"));
  QCOMPARE(hourlyMean->text(), QStringLiteral("–"));
  Type(Child<QLineEdit>(form, "muX"), QStringLiteral("24.33408"));
  Type(Child<QLineEdit>(form, "alpha"), QStringLiteral("0.9"));
  QVERIFY(
      Child<ModelStatisticsPanel>(form, "statisticsPanel")->Note->text().contains(QStringLiteral("Alpha")));
}

void ParametersDialogTest::parametersTheGeneratorRefusesShowNoStatistics_data() {
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("text");
  QTest::newRow("phi too small") << "phi"
                                 << "0.001";
  QTest::newRow("kappa/phi too large") << "kappa"
                                       << "62";  // 1058 times the default phi
}

void ParametersDialogTest::parametersTheGeneratorRefusesShowNoStatistics() {
  QFETCH(QString, field);
  QFETCH(QString, text);
  auto* panel = Child<ModelStatisticsPanel>(form, "statisticsPanel");
  Type(Child<QLineEdit>(form, field.toLatin1().constData()), text);
  QCOMPARE(panel->Values[0][0]->text(), QStringLiteral("–"));
  QVERIFY(panel->Note->text().contains(QStringLiteral("Phi")));
}

#include "parameters_dialog_test.moc"
