#include "model_statistics_panel.h"

#include <exception>

#include "model_statistics.h"
#include "parameter_checks.h"
#include "qt_prompts.h"

namespace nimbra {

namespace {

constexpr double kScales[ModelStatisticsPanel::kColumns] = {1.0 / kHoursPerDay, 1.0};

QString Number(double value) { return QString::number(value, 'g', 4); }

}  // namespace

ModelStatisticsPanel::ModelStatisticsPanel(QWidget* parent) : QWidget(parent) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(new QLabel(tr("Model statistics"), this), 0, 0);
  grid->addWidget(new QLabel(tr("1 h"), this), 0, 1, Qt::AlignRight);
  grid->addWidget(new QLabel(tr("24 h"), this), 0, 2, Qt::AlignRight);
  const QString names[kRows] = {tr("Mean (mm)"), tr("Variance (mm²)"), tr("Lag-1 autocorrelation"),
                                tr("Dry probability")};
  for (int row = 0; row < kRows; ++row) {
    grid->addWidget(new QLabel(names[row], this), row + 1, 0);
    for (int column = 0; column < kColumns; ++column) {
      Values[row][column] = new QLabel(this);
      grid->addWidget(Values[row][column], row + 1, column + 1, Qt::AlignRight);
    }
  }
  Note = new QLabel(this);
  Note->setWordWrap(true);
  grid->addWidget(Note, kRows + 1, 0, 1, kColumns + 1);
}

void ModelStatisticsPanel::Clear(const QString& note) {
  for (auto& row : Values)
    for (QLabel* value : row) value->setText(QStringLiteral("–"));
  Note->setText(note);
}

void ModelStatisticsPanel::Show(const std::optional<ModelParameters>& parameters) {
  if (!parameters) {
    Clear({});
    return;
  }
  try {
    // Numbers for parameters the generator refuses would promise a run that cannot start.
    RefuseUnworkableParameters(*parameters, parameters->SigmaX != parameters->MuX);
    const ModelStatistics model(*parameters);
    for (int column = 0; column < kColumns; ++column) {
      const double h = kScales[column];
      Values[0][column]->setText(Number(model.Mean(h)));
      Values[1][column]->setText(Number(model.Variance(h)));
      Values[2][column]->setText(Number(model.Autocorrelation(h, 1)));
      Values[3][column]->setText(Number(model.DryProbability(h)));
    }
    Note->clear();
  } catch (const std::exception& e) {
    Clear(ToQString(e.what()));
  }
}

}  // namespace nimbra
