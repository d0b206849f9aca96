#include "fit_page.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QVBoxLayout>
#include <memory>
#include <optional>

#include "number_cells.h"

namespace nimbra {

FitPage::FitPage(Prompts& prompts, QWidget* parent) : QWidget(parent) {
  Input = new FileField(prompts, FileField::Purpose::Open, tr("Hourly record to fit"),
                        QStringLiteral("fit/input"));
  SeasonsBox = new QComboBox;
  SeasonsBox->addItems({QStringLiteral("monthly"), QStringLiteral("all"), tr("from a file")});
  SeasonsFile = new FileField(prompts, FileField::Purpose::Open, tr("Seasons file (season,months)"),
                              QStringLiteral("fit/seasons_file"));
  FixedEdit = new QLineEdit;
  FixedEdit->setPlaceholderText(tr("for example alpha=4 nu=0.5"));
  SeedBox = new QSpinBox;
  SeedBox->setRange(0, 1000000);
  SeedBox->setValue(1);
  Output = new FileField(prompts, FileField::Purpose::Save, tr("Parameters file to write"),
                         QStringLiteral("fit/output"));
  Report = new FileField(prompts, FileField::Purpose::Save, tr("Fit report to write (optional)"),
                         QStringLiteral("fit/report"));
  Bar = new TaskBar(tr("&Fit"));
  Targets =
      MakeNumberTable({tr("Season"), tr("Statistic"), tr("Observed"), tr("Fitted"), tr("Relative error")});
  auto* form = new QFormLayout;
  form->addRow(tr("Hourly record:"), Input);
  form->addRow(tr("Seasons:"), SeasonsBox);
  form->addRow(tr("Seasons file:"), SeasonsFile);
  form->addRow(tr("Fixed parameters:"), FixedEdit);
  form->addRow(tr("Seed:"), SeedBox);
  form->addRow(tr("Parameters file:"), Output);
  form->addRow(tr("Report file:"), Report);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(Bar);
  layout->addWidget(Targets, 1);
  connect(Bar->RunButton, &QPushButton::clicked, this, &FitPage::Run);
}

FitRequest FitPage::Request() const {
  FitRequest request;
  request.Input = Input->PathText();
  request.Output = Output->PathText();
  request.Report = Report->PathText();
  request.Seasons =
      SeasonsBox->currentIndex() == 2 ? SeasonsFile->PathText() : SeasonsBox->currentText().toStdString();
  for (const QString& fixed : FixedEdit->text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
    request.Fixed.push_back(fixed.toStdString());
  request.Seed = static_cast<unsigned>(SeedBox->value());
  return request;
}

void FitPage::Run() {
  auto outcome = std::make_shared<std::optional<FitOutcome>>();
  const FitRequest request = Request();
  Bar->Start([request, outcome](const JobControl& control) { *outcome = RunFitJob(request, control); },
             [this, outcome, output = Output->Path()] {
               ShowTargets((*outcome)->Fits);
               emit Fitted(output);
             });
}

void FitPage::ShowTargets(const std::vector<SeasonFit>& fits) {
  const ColumnFitAfterFill fill(Targets);
  Targets->setRowCount(0);
  for (const SeasonFit& fit : fits) {
    for (const FittedTarget& t : fit.Result.Targets) {
      AddNumberRow(
          Targets,
          {QString::fromStdString(fit.Season.Name), QString::fromStdString(TargetName(t.Target.Target))},
          {t.Target.Observed, t.Fitted, t.RelativeError});
    }
  }
}

}  // namespace nimbra
