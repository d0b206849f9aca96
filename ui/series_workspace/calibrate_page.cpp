#include "calibrate_page.h"

#include <QFormLayout>
#include <QMetaObject>
#include <QVBoxLayout>
#include <memory>
#include <thread>

#include "number_cells.h"
#include "spin_box.h"

namespace nimbra {

CalibratePage::CalibratePage(Prompts& prompts, QWidget* parent) : QWidget(parent) {
  Daily = new FileField(prompts, FileField::Purpose::Open, tr("Daily CSV file of the period"),
                        QStringLiteral("calibrate/daily"));
  Observed = new FileField(prompts, FileField::Purpose::Open, tr("Observed hourly CSV file of the period"),
                           QStringLiteral("calibrate/observed"));
  SeasonsEdit = new QLineEdit;
  SeasonsEdit->setPlaceholderText(tr("every season of the parameters; or for example 6,7,8"));
  SeedsBox = MakeSpinBox(1, 100, CalibrationCase{}.Seeds);
  SeedBox = MakeSpinBox(-1000000, 1000000, 1);
  EvaluationsBox = MakeSpinBox(1, 10000, CalibrationSettings{}.Evaluations);
  SlowdownBox = MakeSpinBox(1, 100, static_cast<int>(CalibrationCase{}.SlowdownAllowed));
  SlowdownBox->setSuffix(tr(" times the fitted set's"));
  ThreadsBox = MakeSpinBox(1, 1024, static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
  Output = new FileField(prompts, FileField::Purpose::Save, tr("Calibrated parameters file to write"),
                         QStringLiteral("calibrate/output"));
  Report = new FileField(prompts, FileField::Purpose::Save, tr("Calibration report to write (optional)"),
                         QStringLiteral("calibrate/report"));
  Bar = new TaskBar(tr("&Calibrate"));
  BeforeAfter =
      MakeNumberTable({tr("Season"), tr("Statistic"), tr("Observed"), tr("Fitted"), tr("Calibrated")});
  auto* form = new QFormLayout;
  form->addRow(tr("Daily depths:"), Daily);
  form->addRow(tr("Observed hours:"), Observed);
  form->addRow(tr("Seasons:"), SeasonsEdit);
  form->addRow(tr("Seeds per candidate:"), SeedsBox);
  form->addRow(tr("First seed:"), SeedBox);
  form->addRow(tr("Evaluations per season:"), EvaluationsBox);
  form->addRow(tr("Run time at most:"), SlowdownBox);
  form->addRow(tr("Threads:"), ThreadsBox);
  form->addRow(tr("Calibrated file:"), Output);
  form->addRow(tr("Report file:"), Report);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(Bar);
  layout->addWidget(BeforeAfter, 1);
}

CalibrationRequest CalibratePage::Request(const QString& parametersPath) const {
  CalibrationRequest request;
  request.Daily = Daily->PathText();
  request.Observed = Observed->PathText();
  request.Parameters = parametersPath.toStdString();
  request.Output = Output->PathText();
  request.Report = Report->PathText();
  for (const QString& season : SeasonsEdit->text().split(QLatin1Char(','), Qt::SkipEmptyParts))
    request.Seasons.push_back(season.trimmed().toStdString());
  request.Seeds = SeedsBox->value();
  request.Seed = SeedBox->value();
  request.Evaluations = EvaluationsBox->value();
  request.SlowdownAllowed = SlowdownBox->value();
  request.Threads = ThreadsBox->value();
  return request;
}

void CalibratePage::Run(const QString& parametersPath) {
  auto rows = std::make_shared<std::vector<RowCalibration>>();
  const CalibrationRequest request = Request(parametersPath);
  Bar->Start([request, rows](const JobControl& control) { *rows = RunCalibrationJob(request, control); },
             [this, rows, output = Output->Path()] {
               ShowBeforeAfter(*rows);
               emit Calibrated(output);
             });
}

void CalibratePage::ShowBeforeAfter(const std::vector<RowCalibration>& rows) {
  const ColumnFitAfterFill fill(BeforeAfter);
  BeforeAfter->setRowCount(0);
  for (const RowCalibration& row : rows) {
    if (!row.Result) continue;
    for (std::size_t i = 0; i < kHourlyStatisticCount; ++i) {
      AddNumberRow(BeforeAfter,
                   {QString::fromStdString(row.Row.Season.Name),
                    QString::fromLatin1(StatisticName(static_cast<HourlyStatistic>(i)))},
                   {row.Result->Observed[i], row.Result->Before[i], row.Result->After[i]});
    }
  }
}

}  // namespace nimbra
