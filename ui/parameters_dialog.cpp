#include "parameters_dialog.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "checked.h"
#include "engine_edits.h"
#include "field_ranges.h"
#include "format.h"
#include "guarded_command.h"
#include "help_window.h"
#include "object_names.h"
#include "qt_prompts.h"
#include "real_number.h"

namespace nimbra {

namespace {

// A change of window (a message box, another program) or a context menu takes the
// focus without the user having left the field for another control.
bool LeavesTheField(const QFocusEvent& event) {
  const Qt::FocusReason reason = event.reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
         reason != Qt::MenuBarFocusReason;
}

// Sets the two fixed texts apart from the fields and from each other.
constexpr int kTextSpacing = 8;

const QString kNuLabel = QStringLiteral("ν (d)");
const QString kEtaLabel = QStringLiteral("η (d⁻¹)");
const QString kNuHint = QStringLiteral("Parameter nu (scale parameter of eta, days)");
const QString kEtaHint = QStringLiteral("Parameter eta (d⁻¹)");

}  // namespace

ParametersDialog::ParametersDialog(Engine& engine, Prompts& prompts, HelpWindow& help, QWidget* parent)
    : QDialog(parent), engine_(engine), prompts_(prompts) {
  setWindowTitle(QStringLiteral("Bartlett-Lewis model parameters"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(MakeParameterGrid());
  layout->addLayout(MakeOptionRow());
  statisticsPanel_ = new ModelStatisticsPanel(this);
  layout->addWidget(statisticsPanel_);
  introText_ = MakeFixedText(QStringLiteral(
      "Please make sure that for parameters μX and σX the length units are millimeters (mm) and for "
      "parameters λ, ν (or η), μX and σX the time units are days (d) (as indicated to the left of the Edit "
      "Boxes)"));
  adjustmentText_ = MakeFixedText(QStringLiteral(
      "If your computer does not display Greek characters, place the mouse pointer above each of the Edit "
      "Boxes and wait until the on-screen hint appears"));
  sourceText_ = MakeFixedText(QString());
  layout->addWidget(sourceText_);
  layout->addSpacing(kTextSpacing);
  layout->addWidget(introText_);
  layout->addSpacing(kTextSpacing);
  layout->addWidget(adjustmentText_);
  layout->addSpacing(kTextSpacing);
  layout->addLayout(MakeButtonRow());
  FitFixedTexts(layout);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  NameObjects({{lambdaEdit_, "lambda"},
               {kappaEdit_, "kappa"},
               {phiEdit_, "phi"},
               {alphaEdit_, "alpha"},
               {nuEdit_, "nu"},
               {muXEdit_, "muX"},
               {sigmaXEdit_, "sigmaX"},
               {lambdaLabel_, "lambdaLabel"},
               {kappaLabel_, "kappaLabel"},
               {phiLabel_, "phiLabel"},
               {alphaLabel_, "alphaLabel"},
               {nuLabel_, "nuLabel"},
               {muXLabel_, "muXLabel"},
               {sigmaXLabel_, "sigmaXLabel"},
               {daysPerMonthLabel_, "daysPerMonthLabel"},
               {seedLabel_, "seedLabel"},
               {daysPerMonthField_, "daysPerMonth"},
               {seedField_, "seed"},
               {statisticsPanel_, "statisticsPanel"},
               {adjustmentBox_, "adjustment"},
               {introText_, "introText"},
               {adjustmentText_, "adjustmentText"},
               {sourceText_, "source"},
               {fileValuesButton_, "fileValues"},
               {parameterFileButton_, "parameterFile"},
               {cancelButton_, "cancel"},
               {okButton_, "ok"}});
  SetTabOrder();
  InstallHelpKey(this, kHelpContext, help);
  ConnectReactions();
  LoadFromEngine();
}

QLineEdit* ParametersDialog::AddRealField(QGridLayout* grid, int row, int column, QLabel*& label,
                                          const QString& caption, const QString& hint) {
  label = new QLabel(caption, this);
  auto* edit = new QLineEdit(this);
  edit->setToolTip(hint);
  // Room for the longest number the general format writes, such as the default nu.
  edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0.000000000000000000")) + 12);
  label->setBuddy(edit);
  grid->addWidget(label, row, column);
  grid->addWidget(edit, row, column + 1);
  return edit;
}

QLayout* ParametersDialog::MakeParameterGrid() {
  auto* grid = new QGridLayout;
  lambdaEdit_ = AddRealField(grid, 0, 0, lambdaLabel_, QStringLiteral("λ (d⁻¹)"),
                             QStringLiteral("Parameter lambda (inverse mean storm interarrival time, d⁻¹)"));
  kappaEdit_ =
      AddRealField(grid, 1, 0, kappaLabel_, QStringLiteral("κ = β/η"),
                   QStringLiteral("Parameter kappa = ratio of beta and eta (beta = inverse mean interarrival "
                                  "time of cells, eta =  inverse mean cell duration) "));
  phiEdit_ = AddRealField(grid, 2, 0, phiLabel_, QStringLiteral("φ = γ/η"),
                          QStringLiteral("Parameter phi = ratio of gamma and eta (gamma = inverse mean storm "
                                         "duration, eta =  inverse mean cell duration) "));
  alphaEdit_ = AddRealField(grid, 0, 2, alphaLabel_, QStringLiteral("α "),
                            QStringLiteral("Parameter alpha (shape parameter of eta)"));
  nuEdit_ = AddRealField(grid, 1, 2, nuLabel_, kNuLabel, kNuHint);
  muXEdit_ = AddRealField(grid, 2, 2, muXLabel_, QStringLiteral("μX (mm/d)"),
                          QStringLiteral("Parameter muX (mean of cell intensity, mm/d)"));
  sigmaXEdit_ = AddRealField(grid, 3, 2, sigmaXLabel_, QStringLiteral("σX (mm/d)"),
                             QStringLiteral("Parameter sigmaX (standard deviation of cell intensity, mm/d)"));
  adjustmentBox_ = new QCheckBox(QStringLiteral("Perform adjustment"), this);
  adjustmentBox_->setChecked(true);
  grid->addWidget(adjustmentBox_, 3, 0, 1, 2);
  grid->setHorizontalSpacing(8);
  return grid;
}

QLayout* ParametersDialog::MakeOptionRow() {
  daysPerMonthLabel_ = new QLabel(QStringLiteral("Days per month or season "), this);
  daysPerMonthField_ =
      new IntegerField(kDaysPerMonthRange.min, kDaysPerMonthRange.max, kDaysPerMonthRange.min, this);
  seedLabel_ = new QLabel(QStringLiteral("Random seed"), this);
  seedField_ = new IntegerField(0, 0, 0, this);
  daysPerMonthLabel_->setBuddy(daysPerMonthField_);
  seedLabel_->setBuddy(seedField_);
  auto* row = new QHBoxLayout;
  row->addWidget(daysPerMonthLabel_);
  row->addWidget(daysPerMonthField_);
  row->addStretch();
  row->addWidget(seedLabel_);
  row->addWidget(seedField_);
  return row;
}

QLabel* ParametersDialog::MakeFixedText(const QString& text) {
  auto* label = new QLabel(text, this);
  label->setWordWrap(true);
  // The texts wrap within the width of the fields rather than widening the dialog.
  label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  return label;
}

// A wrapped text's own size hint assumes a narrower, taller text: each is given the
// height it needs at the width of the fields.
void ParametersDialog::FitFixedTexts(const QLayout* layout) {
  const QMargins margins = layout->contentsMargins();
  textWidth_ = layout->sizeHint().width() - margins.left() - margins.right();
  for (QLabel* text : {introText_, adjustmentText_}) text->setFixedHeight(text->heightForWidth(textWidth_));
}

QLayout* ParametersDialog::MakeButtonRow() {
  fileValuesButton_ = new QPushButton(QStringLiteral("&Input file's values"), this);
  fileValuesButton_->setToolTip(QStringLiteral(
      "Take the parameters line of the input file again and start the run from its first record"));
  parameterFileButton_ = new QPushButton(QStringLiteral("&Parameter sets..."), this);
  parameterFileButton_->setToolTip(QStringLiteral(
      "Choose another parameters file for the CSV input and start the run from its first day"));
  cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancelButton_->setToolTip(QStringLiteral("Go back to the values the dialog opened with (Esc)"));
  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  auto* row = new QHBoxLayout;
  row->addWidget(fileValuesButton_);
  row->addWidget(parameterFileButton_);
  row->addStretch();
  // Return in a field does not close the dialog: a field takes effect when it is left.
  for (QPushButton* button : {fileValuesButton_, parameterFileButton_, cancelButton_, okButton_}) {
    button->setAutoDefault(false);
    if (button == cancelButton_ || button == okButton_) row->addWidget(button);
  }
  return row;
}

// Down the left column, down the right one, along the row of options, then the buttons.
void ParametersDialog::SetTabOrder() {
  QWidget* const order[] = {lambdaEdit_,        kappaEdit_, phiEdit_,          adjustmentBox_,
                            alphaEdit_,         nuEdit_,    muXEdit_,          sigmaXEdit_,
                            daysPerMonthField_, seedField_, fileValuesButton_, parameterFileButton_,
                            cancelButton_,      okButton_};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void ParametersDialog::ConnectReactions() {
  // Kappa and Alpha react to every change of their text that is a number, as well as
  // to leaving.
  connect(kappaEdit_, &QLineEdit::textChanged, this,
          [this] { ChangeParameter(kappaEdit_, &ModelParameters::Kappa, false); });
  connect(alphaEdit_, &QLineEdit::textChanged, this, [this] { React([this] { ChangeAlpha(false); }); });
  leaveReactions_ = {
      {lambdaEdit_, &ParametersDialog::StoreLambda}, {kappaEdit_, &ParametersDialog::StoreKappa},
      {phiEdit_, &ParametersDialog::StorePhi},       {alphaEdit_, &ParametersDialog::StoreAlpha},
      {nuEdit_, &ParametersDialog::StoreNu},         {muXEdit_, &ParametersDialog::StoreMuX},
      {sigmaXEdit_, &ParametersDialog::StoreSigmaX}};
  for (const auto& reaction : leaveReactions_) reaction.first->installEventFilter(this);
  for (QLineEdit* edit : {lambdaEdit_, kappaEdit_, phiEdit_, alphaEdit_, nuEdit_, muXEdit_, sigmaXEdit_})
    connect(edit, &QLineEdit::textChanged, this, &ParametersDialog::ShowModelStatistics);
  connect(daysPerMonthField_, &IntegerField::Changed, this, &ParametersDialog::StoreDaysPerMonth);
  connect(adjustmentBox_, &QCheckBox::clicked, this, &ParametersDialog::StoreAdjustment);
  connect(seedField_, &IntegerField::Changed, this, &ParametersDialog::StoreSeed);
  connect(okButton_, &QPushButton::clicked, this, &ParametersDialog::Finish);
  connect(cancelButton_, &QPushButton::clicked, this, &ParametersDialog::reject);
  connect(fileValuesButton_, &QPushButton::clicked, this, [this] {
    if (onFileValues) React(onFileValues);
    LoadFromEngine();
  });
  connect(parameterFileButton_, &QPushButton::clicked, this, [this] {
    if (onOtherParameterFile) React(onOtherParameterFile);
    LoadFromEngine();
  });
}

bool ParametersDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && LeavesTheField(*static_cast<QFocusEvent*>(event))) {
    for (const auto& [edit, handler] : leaveReactions_)
      if (edit == watched) (this->*handler)();
  }
  return QDialog::eventFilter(watched, event);
}

// Showing the dialog counts as activating it, whether or not the window system
// reports the activation of a window shown again.
bool ParametersDialog::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) ShowNuOrEta();
  return QDialog::event(event);
}

void ParametersDialog::LoadFromEngine() {
  const RunView s = S();
  loading_ = true;
  ShowReal(lambdaEdit_, s.Parameters.Lambda);
  ShowReal(kappaEdit_, s.Parameters.Kappa);
  ShowReal(phiEdit_, s.Parameters.Phi);
  ShowReal(alphaEdit_, s.Parameters.Alpha);
  ShowReal(nuEdit_, s.Parameters.Nu);
  ShowReal(muXEdit_, s.Parameters.MuX);
  ShowReal(sigmaXEdit_, s.Parameters.SigmaX);
  // Shown as it is: a value from a file outside the bounds stays until the field is left.
  daysPerMonthField_->SetText(QString::number(s.Options.DaysPerMonth));
  seedField_->SetValue(s.Options.RandomSeed);
  adjustmentBox_->setChecked(s.Options.PerformAdjustment);
  loading_ = false;
  ShowNuOrEta();
  ShowModelStatistics();
  ShowSource();
}

void ParametersDialog::ShowSource() {
  const RunView s = S();
  const bool fromFile = s.FromDatedInput;
  for (QLineEdit* edit : {lambdaEdit_, kappaEdit_, phiEdit_, alphaEdit_, nuEdit_, muXEdit_, sigmaXEdit_})
    edit->setReadOnly(fromFile);
  fileValuesButton_->setVisible(!fromFile);
  parameterFileButton_->setVisible(fromFile);
  sourceText_->setVisible(fromFile);
  if (!fromFile) return;
  const std::string inUse =
      s.ParameterSet.empty() ? std::string("none, the input has no wet day") : s.ParameterSet;
  sourceText_->setText(
      ToQString("Set in use: " + inUse +
                ". Each wet sequence of the CSV input takes the set of its first day's month; "
                "to change the sets, choose another parameters file."));
  sourceText_->setFixedHeight(sourceText_->heightForWidth(textWidth_));
}

// The values as typed, before they are taken: a user sees what a value would give.
void ParametersDialog::ShowModelStatistics() {
  std::array<double, 7> values{};
  const QLineEdit* const edits[] = {lambdaEdit_, kappaEdit_, phiEdit_,   alphaEdit_,
                                    nuEdit_,     muXEdit_,   sigmaXEdit_};
  for (std::size_t k = 0; k < values.size(); ++k) {
    const auto value = ParseRealNumber(FromQString(edits[k]->text()), DecimalSeparator());
    if (!value) {
      statisticsPanel_->Show(std::nullopt);
      return;
    }
    values[k] = *value;
  }
  const auto& [lambda, kappa, phi, alpha, nu, muX, sigmaX] = values;
  statisticsPanel_->Show(ModelParameters{lambda, kappa, phi, alpha, nu, muX, sigmaX});
}

void ParametersDialog::ShowNuOrEta() {
  const bool fixed = S().Parameters.FixedEta();
  nuEdit_->setToolTip(fixed ? kEtaHint : kNuHint);
  nuLabel_->setText(fixed ? kEtaLabel : kNuLabel);
}

void ParametersDialog::StoreLambda() { ChangeParameter(lambdaEdit_, &ModelParameters::Lambda); }

void ParametersDialog::StoreKappa() { ChangeParameter(kappaEdit_, &ModelParameters::Kappa); }

void ParametersDialog::StorePhi() { ChangeParameter(phiEdit_, &ModelParameters::Phi); }

void ParametersDialog::StoreAlpha() {
  React([this] { ChangeAlpha(true); });
}

// While Alpha >= 100 the value typed is eta itself.
void ParametersDialog::StoreNu() { ChangeParameter(nuEdit_, &ModelParameters::Nu); }

void ParametersDialog::StoreMuX() { ChangeParameter(muXEdit_, &ModelParameters::MuX); }

void ParametersDialog::StoreSigmaX() { ChangeParameter(sigmaXEdit_, &ModelParameters::SigmaX); }

// A field that still shows the value in use changes nothing: moving through the
// fields must not restart the run.
void ParametersDialog::ChangeParameter(QLineEdit* edit, double ModelParameters::*field, bool leaving) {
  React([=, this] {
    if (ShowsValue(edit, S().Parameters.*field)) return;
    const std::optional<double> value = ReadRealField(edit, S().Parameters.*field, leaving);
    if (!value) return;
    if (!MayRestart()) return ShowReal(edit, S().Parameters.*field);
    EditParameters(engine_, [=](ModelParameters& p) { p.*field = *value; });
    Restarted();
  });
}

void ParametersDialog::ChangeAlpha(bool leaving) {
  ModelParameters p = S().Parameters;
  if (ShowsValue(alphaEdit_, p.Alpha)) return;
  const std::optional<double> alpha = ReadRealField(alphaEdit_, p.Alpha, leaving);
  if (!alpha) return;
  if (!MayRestart()) return ShowReal(alphaEdit_, p.Alpha);
  p = p.WithAlpha(*alpha);
  ShowReal(nuEdit_, p.Nu);  // nuEdit_ reacts only to being left, not to this
  engine_.SetParameters(p);
  Restarted();
  ShowNuOrEta();
}

void ParametersDialog::StoreDaysPerMonth() {
  if (daysPerMonthField_->ValueInRange() == S().Options.DaysPerMonth && daysPerMonthField_->HoldsInteger())
    return;
  ChangeOption([this](RunOptions& o) { o.DaysPerMonth = daysPerMonthField_->ValueInRange(); });
}

void ParametersDialog::StoreAdjustment() {
  ChangeOption([this](RunOptions& o) { o.PerformAdjustment = adjustmentBox_->isChecked(); });
}

// An empty field or a lone sign is a seed still being typed; any other text that is not
// a 32-bit integer is refused.
void ParametersDialog::StoreSeed() {
  if (loading_) return;
  const QString text = seedField_->text().trimmed();
  if (seedField_->HoldsInteger()) {
    if (seedField_->Value() == S().Options.RandomSeed) return;
    ChangeOption([this](RunOptions& o) { o.RandomSeed = seedField_->Value(); });
  } else if (!text.isEmpty() && text != QStringLiteral("-") && text != QStringLiteral("+")) {
    RefuseSeed();
  }
}

void ParametersDialog::RefuseSeed() {
  prompts_.Warn("The random seed must be a whole number from -2147483648 to 2147483647");
  loading_ = true;
  seedField_->SetValue(S().Options.RandomSeed);
  loading_ = false;
}

// These options take effect from the run's start, so the run starts again; a refusal
// to clear the log shows the options in use again.
void ParametersDialog::ChangeOption(const std::function<void(RunOptions&)>& change) {
  React([&] {
    if (!MayRestart()) {
      loading_ = true;
      daysPerMonthField_->SetText(QString::number(S().Options.DaysPerMonth));
      seedField_->SetValue(S().Options.RandomSeed);
      adjustmentBox_->setChecked(S().Options.PerformAdjustment);
      loading_ = false;
      return;
    }
    EditOptions(engine_, change);
    engine_.RestartRun();
    Restarted();
  });
}

bool ParametersDialog::MayRestart() { return !mayRestart || mayRestart(); }

void ParametersDialog::Restarted() {
  if (onRestarted) onRestarted();
}

void ParametersDialog::Finish() { accept(); }

// Cancel, Esc and the close box: the values the dialog opened with come back, which
// restarts the run once more if an edit has changed them.
void ParametersDialog::reject() {
  React([this] { RestoreOpeningValues(); });
  LoadFromEngine();
  QDialog::reject();
}

// A CSV input's sets are its parameters file's: only the options go back.
void ParametersDialog::RestoreOpeningValues() {
  const bool fileSets = S().FromDatedInput;
  const OpeningValues now{fileSets ? opening_.Parameters : S().Parameters, S().Options.DaysPerMonth,
                          S().Options.RandomSeed, S().Options.PerformAdjustment};
  if (now == opening_ || !MayRestart()) return;
  EditOptions(engine_, [this](RunOptions& o) {
    o.DaysPerMonth = opening_.DaysPerMonth;
    o.RandomSeed = opening_.Seed;
    o.PerformAdjustment = opening_.Adjustment;
  });
  if (!fileSets) engine_.SetParameters(opening_.Parameters);
  Restarted();
}

void ParametersDialog::showEvent(QShowEvent* event) {
  opening_ = {S().Parameters, S().Options.DaysPerMonth, S().Options.RandomSeed,
              S().Options.PerformAdjustment};
  fileValuesButton_->setEnabled(S().ReadFromFile);
  QDialog::showEvent(event);
}

std::string ParametersDialog::DecimalSeparator() const { return FromQString(locale().decimalPoint()); }

QString ParametersDialog::RealText(double value) const {
  return ToQString(FormatGeneral(value, DecimalSeparator()));
}

void ParametersDialog::ShowReal(QLineEdit* edit, double value) { edit->setText(RealText(value)); }

bool ParametersDialog::ShowsValue(const QLineEdit* edit, double value) const {
  return edit->text().trimmed() == RealText(value);
}

std::optional<double> ParametersDialog::ReadRealField(QLineEdit* edit, double inUse, bool leaving) {
  const std::optional<double> value = ParseRealNumber(FromQString(edit->text()), DecimalSeparator());
  if (value || !leaving) return value;
  prompts_.Warn(FromQString(FieldName(edit)) + " must be a real number");
  const bool wasLoading = std::exchange(loading_, true);
  ShowReal(edit, inUse);
  loading_ = wasLoading;
  return std::nullopt;
}

// The parameter's symbol, as its label shows it.
QString ParametersDialog::FieldName(const QLineEdit* edit) const {
  for (const QLabel* label :
       {lambdaLabel_, kappaLabel_, phiLabel_, alphaLabel_, nuLabel_, muXLabel_, sigmaXLabel_})
    if (label->buddy() == edit) return label->text().section(QLatin1Char(' '), 0, 0);
  return QString();
}

// Filling the fields with the engine's own values changes nothing.
void ParametersDialog::React(const std::function<void()>& change) {
  if (!loading_) RunGuarded(prompts_, change);
}

}  // namespace nimbra
