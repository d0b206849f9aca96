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
#include "object_names.h"
#include "qt_prompts.h"
#include "real_number.h"

namespace nimbra {

namespace {

// The dialog is built with the engine's defaults; LoadFromEngine shows the values in use.
const RunOptions kBuilt;

}  // namespace

RepetitionDialog::RepetitionDialog(Engine& engine, Prompts& prompts, HelpWindow& help, QWidget* parent)
    : QDialog(parent), engine_(engine), prompts_(prompts) {
  setWindowTitle(QStringLiteral("Repetition Options"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  auto* grid = new QGridLayout(this);
  factorField_ = AddIntegerRow(
      grid, 0, QStringLiteral("Factor for level 1 repetitions allowed "),
      QStringLiteral(
          "To find the number of level 1 repetitions allowed, this entry will be multiplied by the "
          "number of attempts to establish an appropriate sequence of wet days"),
      kRepLevel1FactorRange.min, kRepLevel1FactorRange.max, kBuilt.RepLevel1Factor);
  minimumField_ = AddIntegerRow(
      grid, 1, QStringLiteral("Minimum number of level 1 repetitions allowed"),
      QStringLiteral("The number of level 1 repetitions allowed cannot be lower than this number"),
      kRepLevel1MinRange.min, kRepLevel1MinRange.max, kBuilt.RepLevel1Min);
  allowedField_ = AddIntegerRow(grid, 2, QStringLiteral("Total repetitions allowed"),
                                QStringLiteral("Total number of level 1 and level 2 repetitions allowed"),
                                kRepAllowedRange.min, kRepAllowedRange.max, kBuilt.RepAllowed);
  distanceEdit_ = AddDistanceRow(grid, 3);
  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  okButton_->setAutoDefault(false);  // Return in a field does not hide the dialog
  grid->addWidget(okButton_, 4, 0, 1, 2, Qt::AlignHCenter);
  grid->setSizeConstraint(QLayout::SetFixedSize);
  NameObjects({{factorField_, "factor"},
               {minimumField_, "minimum"},
               {allowedField_, "allowed"},
               {distanceEdit_, "distance"},
               {okButton_, "ok"}});
  SetTabOrder();
  InstallHelpKey(this, kHelpContext, help);
  ConnectReactions();
  LoadFromEngine();
}

IntegerField* RepetitionDialog::AddIntegerRow(QGridLayout* grid, int row, const QString& caption,
                                              const QString& hint, int minimum, int maximum, int value) {
  auto* field = new IntegerField(minimum, maximum, value, this);
  field->setToolTip(hint);
  auto* label = new QLabel(caption, this);
  label->setBuddy(field);
  grid->addWidget(label, row, 0);
  grid->addWidget(field, row, 1);
  return field;
}

QLineEdit* RepetitionDialog::AddDistanceRow(QGridLayout* grid, int row) {
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
void RepetitionDialog::SetTabOrder() {
  setTabOrder(factorField_, allowedField_);
  setTabOrder(allowedField_, minimumField_);
  setTabOrder(minimumField_, distanceEdit_);
  setTabOrder(distanceEdit_, okButton_);
}

// Connected before the fields are loaded: loading relies on the handlers to store the
// values back, brought within each field's bounds.
void RepetitionDialog::ConnectReactions() {
  connect(factorField_, &IntegerField::Changed, this, &RepetitionDialog::StoreFactor);
  connect(minimumField_, &IntegerField::Changed, this, &RepetitionDialog::StoreMinimum);
  connect(allowedField_, &IntegerField::Changed, this, &RepetitionDialog::StoreAllowed);
  connect(distanceEdit_, &QLineEdit::textChanged, this, &RepetitionDialog::StoreDistance);
  connect(okButton_, &QPushButton::clicked, this, &RepetitionDialog::Finish);
}

void RepetitionDialog::LoadFromEngine() {
  const RunView s = S();
  factorField_->SetValue(s.Options.RepLevel1Factor);
  minimumField_->SetValue(s.Options.RepLevel1Min);
  allowedField_->SetValue(s.Options.RepAllowed);
  distanceEdit_->setText(
      ToQString(FormatGeneral(s.Options.RepDistanceAllowed, FromQString(locale().decimalPoint()))));
}

void RepetitionDialog::StoreFactor() {
  EditOptions(engine_, [this](RunOptions& o) { o.RepLevel1Factor = factorField_->ValueInRange(); });
}

void RepetitionDialog::StoreMinimum() {
  EditOptions(engine_, [this](RunOptions& o) { o.RepLevel1Min = minimumField_->ValueInRange(); });
}

void RepetitionDialog::StoreAllowed() {
  EditOptions(engine_, [this](RunOptions& o) { o.RepAllowed = allowedField_->ValueInRange(); });
}

// Every intermediate text that is a number is stored; one that is not is reported and
// leaves the distance as it was.
void RepetitionDialog::StoreDistance() {
  EditOptions(engine_, [this](RunOptions& o) {
    ReadRealNumber(FromQString(distanceEdit_->text()), o.RepDistanceAllowed,
                   FromQString(locale().decimalPoint()), prompts_);
  });
}

void RepetitionDialog::Finish() {
  hide();
  emit Closed();
}

void RepetitionDialog::TellClosed() { emit Closed(); }

void RepetitionDialog::closeEvent(QCloseEvent* event) {
  TellClosed();
  event->accept();  // hidden, not destroyed
}

void RepetitionDialog::reject() { close(); }

}  // namespace nimbra
