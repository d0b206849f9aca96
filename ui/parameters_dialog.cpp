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
const QString kEtaLabel = QStringLiteral("η (d^-1)");
const QString kNuHint = QStringLiteral("Parameter nu (scale parameter of eta, days)");
const QString kEtaHint = QStringLiteral("Parameter eta (days^-1)");

}  // namespace

TBLParametersForm::TBLParametersForm(Engine& engine, Prompts& prompts, HelpWindow& help, QWidget* parent)
    : QDialog(parent), engine_(engine), prompts_(prompts) {
  setWindowTitle(QStringLiteral("Bartlett-Lewis model parameters"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(MakeParameterGrid());
  layout->addLayout(MakeOptionRow());
  StatisticsPanel = new ModelStatisticsPanel(this);
  layout->addWidget(StatisticsPanel);
  StaticText1 = MakeFixedText(QStringLiteral(
      "Please make sure that for parameters μX and σX the length units are millimeters (mm) and for "
      "parameters λ, ν (or η), μX and σX the time units are days (d) (as indicated to the left of the Edit "
      "Boxes)"));
  StaticText2 = MakeFixedText(QStringLiteral(
      "If your computer does not display Greek characters, place the mouse pointer above each of the Edit "
      "Boxes and wait until the on-screen hint appears"));
  layout->addSpacing(kTextSpacing);
  layout->addWidget(StaticText1);
  layout->addSpacing(kTextSpacing);
  layout->addWidget(StaticText2);
  layout->addSpacing(kTextSpacing);
  layout->addLayout(MakeButtonRow());
  FitFixedTexts(layout);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  SetTabOrder();
  InstallHelpKey(this, kHelpContext, help);
  ConnectReactions();
  FormCreate();
}

QLineEdit* TBLParametersForm::AddRealField(QGridLayout* grid, int row, int column, QLabel*& label,
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

QLayout* TBLParametersForm::MakeParameterGrid() {
  auto* grid = new QGridLayout;
  Edit1 = AddRealField(grid, 0, 0, Label1, QStringLiteral("λ (d^-1)"),
                       QStringLiteral("Parameter lamda (inverse mean storm interarrival time, days ^ -1)"));
  Edit2 =
      AddRealField(grid, 1, 0, Label2, QStringLiteral("κ = β/η"),
                   QStringLiteral("Parameter kappa = ratio of beta and eta (beta = inverse mean interarrival "
                                  "time of cells, eta =  inverse mean cell duration) "));
  Edit3 = AddRealField(grid, 2, 0, Label3, QStringLiteral("φ = γ/η"),
                       QStringLiteral("Parameter phi = ratio of gamma and eta (gamma = inverse mean storm "
                                      "duration, eta =  inverse mean cell duration) "));
  Edit4 = AddRealField(grid, 0, 2, Label4, QStringLiteral("α "),
                       QStringLiteral("Parameter alpha (shape parameter of eta)"));
  Edit5 = AddRealField(grid, 1, 2, Label5, kNuLabel, kNuHint);
  Edit6 = AddRealField(grid, 2, 2, Label6, QStringLiteral("μX (mm d^-1)"),
                       QStringLiteral("Parameter muX (mean of cell intensity, millimeters per days)"));
  Edit7 =
      AddRealField(grid, 3, 2, Label7, QStringLiteral("σX (mm d^-1)"),
                   QStringLiteral("Parameter sigmaX (standard deviation of cell intensity, millimeters per "
                                  "days)"));
  PerformAdjustmentBox = new QCheckBox(QStringLiteral("Perform adjustment"), this);
  PerformAdjustmentBox->setChecked(true);
  grid->addWidget(PerformAdjustmentBox, 3, 0, 1, 2);
  grid->setHorizontalSpacing(8);
  return grid;
}

QLayout* TBLParametersForm::MakeOptionRow() {
  Label8 = new QLabel(QStringLiteral("Days per month or season "), this);
  SpinEdit1 = new IntegerField(kDaysPerMonthRange.min, kDaysPerMonthRange.max, kDaysPerMonthRange.min, this);
  Label9 = new QLabel(QStringLiteral("Random seed"), this);
  SpinEdit2 = new IntegerField(0, 0, 0, this);
  Label8->setBuddy(SpinEdit1);
  Label9->setBuddy(SpinEdit2);
  auto* row = new QHBoxLayout;
  row->addWidget(Label8);
  row->addWidget(SpinEdit1);
  row->addStretch();
  row->addWidget(Label9);
  row->addWidget(SpinEdit2);
  return row;
}

QLabel* TBLParametersForm::MakeFixedText(const QString& text) {
  auto* label = new QLabel(text, this);
  label->setWordWrap(true);
  // The texts wrap within the width of the fields rather than widening the dialog.
  label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  return label;
}

// A wrapped text's own size hint assumes a narrower, taller text: each is given the
// height it needs at the width of the fields.
void TBLParametersForm::FitFixedTexts(const QLayout* layout) {
  const QMargins margins = layout->contentsMargins();
  const int width = layout->sizeHint().width() - margins.left() - margins.right();
  for (QLabel* text : {StaticText1, StaticText2}) text->setFixedHeight(text->heightForWidth(width));
}

QLayout* TBLParametersForm::MakeButtonRow() {
  Button1 = new QPushButton(QStringLiteral("OK"), this);
  // Return in a field does not close the dialog: a field takes effect when it is left.
  Button1->setAutoDefault(false);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(Button1);
  row->addStretch();
  return row;
}

// The OK button comes between the two columns of parameters.
void TBLParametersForm::SetTabOrder() {
  QWidget* const order[] = {
      Edit1, Edit2, Edit3, Edit4, Button1, Edit5, Edit6, Edit7, SpinEdit1, PerformAdjustmentBox, SpinEdit2};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void TBLParametersForm::ConnectReactions() {
  // Kappa and Alpha react to every change of their text that is a number, as well as
  // to leaving.
  connect(Edit2, &QLineEdit::textChanged, this,
          [this] { ChangeParameter(Edit2, &ModelParameters::Kappa, false); });
  connect(Edit4, &QLineEdit::textChanged, this, [this] { React([this] { ChangeAlpha(false); }); });
  leaveReactions_ = {{Edit1, &TBLParametersForm::Edit1Change}, {Edit2, &TBLParametersForm::Edit2Change},
                     {Edit3, &TBLParametersForm::Edit3Change}, {Edit4, &TBLParametersForm::Edit4Change},
                     {Edit5, &TBLParametersForm::Edit5Change}, {Edit6, &TBLParametersForm::Edit6Change},
                     {Edit7, &TBLParametersForm::Edit7Change}};
  for (const auto& reaction : leaveReactions_) reaction.first->installEventFilter(this);
  for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7})
    connect(edit, &QLineEdit::textChanged, this, &TBLParametersForm::ShowModelStatistics);
  connect(SpinEdit1, &IntegerField::Changed, this, &TBLParametersForm::SpinEdit1Change);
  connect(PerformAdjustmentBox, &QCheckBox::clicked, this, &TBLParametersForm::PerformAdjustmentBoxClick);
  connect(SpinEdit2, &IntegerField::Changed, this, &TBLParametersForm::SpinEdit2Change);
  connect(Button1, &QPushButton::clicked, this, &TBLParametersForm::Button1Click);
}

bool TBLParametersForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && LeavesTheField(*static_cast<QFocusEvent*>(event))) {
    for (const auto& [edit, handler] : leaveReactions_)
      if (edit == watched) (this->*handler)();
  }
  return QDialog::eventFilter(watched, event);
}

// Showing the dialog counts as activating it, whether or not the window system
// reports the activation of a window shown again.
bool TBLParametersForm::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) HandleNiOrEta();
  return QDialog::event(event);
}

// The adjustment box and the seed are not loaded: they keep their own state, which
// starts as the engine's defaults.
void TBLParametersForm::FormCreate() {
  const EngineState& s = S();
  loading_ = true;
  ShowReal(Edit1, s.Parameters.Lambda);
  ShowReal(Edit2, s.Parameters.Kappa);
  ShowReal(Edit3, s.Parameters.Phi);
  ShowReal(Edit4, s.Parameters.Alpha);
  ShowReal(Edit5, s.Parameters.Nu);
  ShowReal(Edit6, s.Parameters.MuX);
  ShowReal(Edit7, s.Parameters.SigmaX);
  // Shown as it is: a value from a file outside the bounds stays until the field is left.
  SpinEdit1->SetText(QString::number(s.Options.DaysPerMonth));
  loading_ = false;
  HandleNiOrEta();
  ShowModelStatistics();
}

// The values as typed, before they are taken: a user sees what a value would give.
void TBLParametersForm::ShowModelStatistics() {
  std::array<double, 7> values{};
  const QLineEdit* const edits[] = {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7};
  for (std::size_t k = 0; k < values.size(); ++k) {
    const auto value = ParseRealNumber(FromQString(edits[k]->text()), DecimalSeparator());
    if (!value) {
      StatisticsPanel->Show(std::nullopt);
      return;
    }
    values[k] = *value;
  }
  const auto& [lambda, kappa, phi, alpha, nu, muX, sigmaX] = values;
  StatisticsPanel->Show(ModelParameters{lambda, kappa, phi, alpha, nu, muX, sigmaX});
}

void TBLParametersForm::HandleNiOrEta() {
  const bool fixed = S().Parameters.FixedEta();
  Edit5->setToolTip(fixed ? kEtaHint : kNuHint);
  Label5->setText(fixed ? kEtaLabel : kNuLabel);
}

void TBLParametersForm::Edit1Change() { ChangeParameter(Edit1, &ModelParameters::Lambda); }

void TBLParametersForm::Edit2Change() { ChangeParameter(Edit2, &ModelParameters::Kappa); }

void TBLParametersForm::Edit3Change() { ChangeParameter(Edit3, &ModelParameters::Phi); }

void TBLParametersForm::Edit4Change() {
  React([this] { ChangeAlpha(true); });
}

// While Alpha >= 100 the value typed is eta itself.
void TBLParametersForm::Edit5Change() { ChangeParameter(Edit5, &ModelParameters::Nu); }

void TBLParametersForm::Edit6Change() { ChangeParameter(Edit6, &ModelParameters::MuX); }

void TBLParametersForm::Edit7Change() { ChangeParameter(Edit7, &ModelParameters::SigmaX); }

// The digits shown are what counts: leaving a field unchanged stores them.
void TBLParametersForm::ChangeParameter(QLineEdit* edit, double ModelParameters::*field, bool leaving) {
  React([=, this] {
    const std::optional<double> value = ReadRealField(edit, S().Parameters.*field, leaving);
    if (!value) return;
    if (!MayRestart()) return ShowReal(edit, S().Parameters.*field);
    EditParameters(engine_, [=](ModelParameters& p) { p.*field = *value; });
  });
}

void TBLParametersForm::ChangeAlpha(bool leaving) {
  ModelParameters p = S().Parameters;
  const std::optional<double> alpha = ReadRealField(Edit4, p.Alpha, leaving);
  if (!alpha) return;
  if (!MayRestart()) return ShowReal(Edit4, p.Alpha);
  p = p.WithAlpha(*alpha);
  ShowReal(Edit5, p.Nu);  // Edit5 reacts only to being left, not to this
  engine_.SetParameters(p);
  HandleNiOrEta();
}

void TBLParametersForm::SpinEdit1Change() {
  ChangeOption([this](RunOptions& o) { o.DaysPerMonth = SpinEdit1->ValueInRange(); });
}

void TBLParametersForm::PerformAdjustmentBoxClick() {
  ChangeOption([this](RunOptions& o) { o.PerformAdjustment = PerformAdjustmentBox->isChecked(); });
}

// An empty field or a lone sign is a seed still being typed; any other text that is not
// a 32-bit integer is refused.
void TBLParametersForm::SpinEdit2Change() {
  if (loading_) return;
  const QString text = SpinEdit2->text().trimmed();
  if (SpinEdit2->HoldsInteger()) {
    ChangeOption([this](RunOptions& o) { o.RandomSeed = SpinEdit2->Value(); });
  } else if (!text.isEmpty() && text != QStringLiteral("-") && text != QStringLiteral("+")) {
    RefuseSeed();
  }
}

void TBLParametersForm::RefuseSeed() {
  prompts_.Inform("The random seed must be a whole number from -2147483648 to 2147483647");
  loading_ = true;
  SpinEdit2->SetValue(S().Options.RandomSeed);
  loading_ = false;
}

// These options take effect from the run's start, so the run starts again; a refusal
// to clear the log shows the options in use again.
void TBLParametersForm::ChangeOption(const std::function<void(RunOptions&)>& change) {
  React([&] {
    if (!MayRestart()) {
      loading_ = true;
      SpinEdit1->SetText(QString::number(S().Options.DaysPerMonth));
      SpinEdit2->SetValue(S().Options.RandomSeed);
      PerformAdjustmentBox->setChecked(S().Options.PerformAdjustment);
      loading_ = false;
      return;
    }
    EditOptions(engine_, change);
    engine_.RestartRun();
  });
}

bool TBLParametersForm::MayRestart() { return !mayClearLog || mayClearLog(); }

void TBLParametersForm::Button1Click() { accept(); }

void TBLParametersForm::reject() { Button1Click(); }

std::string TBLParametersForm::DecimalSeparator() const { return FromQString(locale().decimalPoint()); }

void TBLParametersForm::ShowReal(QLineEdit* edit, double value) {
  edit->setText(ToQString(FormatGeneral(value, DecimalSeparator())));
}

std::optional<double> TBLParametersForm::ReadRealField(QLineEdit* edit, double inUse, bool leaving) {
  const std::optional<double> value = ParseRealNumber(FromQString(edit->text()), DecimalSeparator());
  if (value || !leaving) return value;
  prompts_.Inform(FromQString(FieldName(edit)) + " must be a real number");
  const bool wasLoading = std::exchange(loading_, true);
  ShowReal(edit, inUse);
  loading_ = wasLoading;
  return std::nullopt;
}

// The parameter's symbol, as its label shows it.
QString TBLParametersForm::FieldName(const QLineEdit* edit) const {
  for (const QLabel* label : {Label1, Label2, Label3, Label4, Label5, Label6, Label7})
    if (label->buddy() == edit) return label->text().section(QLatin1Char(' '), 0, 0);
  return QString();
}

// Filling the fields with the engine's own values changes nothing.
void TBLParametersForm::React(const std::function<void()>& change) {
  if (!loading_) RunGuarded(prompts_, change);
}

}  // namespace nimbra
