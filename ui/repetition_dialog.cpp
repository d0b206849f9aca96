#include "repetition_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "engine_edits.h"
#include "field_ranges.h"
#include "format.h"
#include "help_window.h"
#include "qt_prompts.h"
#include "real_number.h"

namespace nimbra {

namespace {

// The dialog is built with the engine's defaults; FormCreate shows the values in use.
const RunOptions kBuilt;

}  // namespace

TRepetitionOptions::TRepetitionOptions(Engine& engine, Prompts& prompts, HelpWindow& help, QWidget* parent)
    : QDialog(parent), engine_(engine), prompts_(prompts) {
  setWindowTitle(QStringLiteral("Repetition Options"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  auto* grid = new QGridLayout(this);
  RepLeve1FacSpinEdit = AddIntegerRow(
      grid, 0, QStringLiteral("Factor for level 1 repetitions allowed "),
      QStringLiteral(
          "To find the number of level 1 repetitions allowed, this entry will be multiplied by the "
          "number of attempts to establish an appropriate sequence of wet days"),
      kRepLevel1FactorRange.min, kRepLevel1FactorRange.max, kBuilt.RepLevel1Factor);
  RepLevel1MinSpinEdit = AddIntegerRow(
      grid, 1, QStringLiteral("Minimum number of level 1 repetitions allowed"),
      QStringLiteral("The number of level 1 repetitions allowed cannot be lower than this number"),
      kRepLevel1MinRange.min, kRepLevel1MinRange.max, kBuilt.RepLevel1Min);
  RepAllowedSpinEdit =
      AddIntegerRow(grid, 2, QStringLiteral("Total repetitions allowed"),
                    QStringLiteral("Total number of level 1 and level 2 repetitions allowed"),
                    kRepAllowedRange.min, kRepAllowedRange.max, kBuilt.RepAllowed);
  RepDistanceAllowedEdit = AddDistanceRow(grid, 3);
  RepOKButton = new QPushButton(QStringLiteral("OK"), this);
  RepOKButton->setAutoDefault(false);  // Return in a field does not hide the dialog
  grid->addWidget(RepOKButton, 4, 0, 1, 2, Qt::AlignHCenter);
  grid->setSizeConstraint(QLayout::SetFixedSize);
  SetTabOrder();
  InstallHelpKey(this, kHelpContext, help);
  ConnectReactions();
  FormCreate();
}

IntegerField* TRepetitionOptions::AddIntegerRow(QGridLayout* grid, int row, const QString& caption,
                                                const QString& hint, int minimum, int maximum, int value) {
  auto* field = new IntegerField(minimum, maximum, value, this);
  field->setToolTip(hint);
  auto* label = new QLabel(caption, this);
  label->setBuddy(field);
  grid->addWidget(label, row, 0);
  grid->addWidget(field, row, 1);
  return field;
}

QLineEdit* TRepetitionOptions::AddDistanceRow(QGridLayout* grid, int row) {
  auto* edit = new QLineEdit(
      ToQString(FormatGeneral(kBuilt.RepDistanceAllowed, FromQString(locale().decimalPoint()))), this);
  edit->setToolTip(QStringLiteral(
      "Largest ratio, on a log scale, between an original and a synthetic daily depth: a sequence is "
      "accepted when |ln((original + 0.1) / (synthetic + 0.1))| stays below this on every day"));
  auto* label = new QLabel(QStringLiteral("Distance allowed"), this);
  label->setBuddy(edit);
  grid->addWidget(label, row, 0);
  grid->addWidget(edit, row, 1);
  return edit;
}

// The total comes before the minimum, as the dialog has always had it.
void TRepetitionOptions::SetTabOrder() {
  setTabOrder(RepLeve1FacSpinEdit, RepAllowedSpinEdit);
  setTabOrder(RepAllowedSpinEdit, RepLevel1MinSpinEdit);
  setTabOrder(RepLevel1MinSpinEdit, RepDistanceAllowedEdit);
  setTabOrder(RepDistanceAllowedEdit, RepOKButton);
}

// Connected before the fields are loaded: loading relies on the handlers to store the
// values back, brought within each field's bounds.
void TRepetitionOptions::ConnectReactions() {
  connect(RepLeve1FacSpinEdit, &IntegerField::Changed, this, &TRepetitionOptions::RepLeve1FacSpinEditChange);
  connect(RepLevel1MinSpinEdit, &IntegerField::Changed, this,
          &TRepetitionOptions::RepLevel1MinSpinEditChange);
  connect(RepAllowedSpinEdit, &IntegerField::Changed, this, &TRepetitionOptions::RepAllowedSpinEditChange);
  connect(RepDistanceAllowedEdit, &QLineEdit::textChanged, this,
          &TRepetitionOptions::RepDistanceAllowedEditChange);
  connect(RepOKButton, &QPushButton::clicked, this, &TRepetitionOptions::RepOKButtonClick);
}

void TRepetitionOptions::FormCreate() {
  const EngineState& s = S();
  RepLeve1FacSpinEdit->SetValue(s.Options.RepLevel1Factor);
  RepLevel1MinSpinEdit->SetValue(s.Options.RepLevel1Min);
  RepAllowedSpinEdit->SetValue(s.Options.RepAllowed);
  RepDistanceAllowedEdit->setText(
      ToQString(FormatGeneral(s.Options.RepDistanceAllowed, FromQString(locale().decimalPoint()))));
}

void TRepetitionOptions::RepLeve1FacSpinEditChange() {
  EditOptions(engine_, [this](RunOptions& o) { o.RepLevel1Factor = RepLeve1FacSpinEdit->ValueInRange(); });
}

void TRepetitionOptions::RepLevel1MinSpinEditChange() {
  EditOptions(engine_, [this](RunOptions& o) { o.RepLevel1Min = RepLevel1MinSpinEdit->ValueInRange(); });
}

void TRepetitionOptions::RepAllowedSpinEditChange() {
  EditOptions(engine_, [this](RunOptions& o) { o.RepAllowed = RepAllowedSpinEdit->ValueInRange(); });
}

// Every intermediate text that is a number is stored; one that is not is reported and
// leaves the distance as it was.
void TRepetitionOptions::RepDistanceAllowedEditChange() {
  EditOptions(engine_, [this](RunOptions& o) {
    ReadRealNumber(FromQString(RepDistanceAllowedEdit->text()), o.RepDistanceAllowed,
                   FromQString(locale().decimalPoint()), prompts_);
  });
}

void TRepetitionOptions::RepOKButtonClick() {
  hide();
  emit Closed();
}

void TRepetitionOptions::FormClose() { emit Closed(); }

void TRepetitionOptions::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();  // hidden, not destroyed
}

void TRepetitionOptions::reject() { close(); }

}  // namespace nimbra
