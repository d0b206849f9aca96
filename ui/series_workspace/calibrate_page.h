#pragma once
// The Calibrate page: the parameters file calibrated for disaggregation in the background,
// as nimbra-cli calibrate does with the same settings, showing the candidate being scored
// and the best objective so far. The file written fills the Parameters page; a cancel
// leaves it as it was. Per season, the five statistics observed, with the fitted set and
// with the calibrated one.

#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QWidget>

#include "calibration_job.h"
#include "file_field.h"
#include "task_bar.h"

namespace nimbra {

class CalibratePage : public QWidget {
  Q_OBJECT

 public:
  explicit CalibratePage(Prompts& prompts, QWidget* parent = nullptr);

  // parametersPath: the saved parameters file to calibrate.
  CalibrationRequest Request(const QString& parametersPath) const;
  void Run(const QString& parametersPath);

  FileField* Daily = nullptr;
  FileField* Observed = nullptr;
  QLineEdit* SeasonsEdit = nullptr;  // comma-separated; empty: every season
  QSpinBox* SeedsBox = nullptr;
  QSpinBox* SeedBox = nullptr;
  QSpinBox* EvaluationsBox = nullptr;
  QSpinBox* SlowdownBox = nullptr;  // times the fitted set's run time a calibrated set may take
  QSpinBox* ThreadsBox = nullptr;
  FileField* Output = nullptr;
  FileField* Report = nullptr;
  TaskBar* Bar = nullptr;
  QTableWidget* BeforeAfter = nullptr;

 signals:
  void Calibrated(const QString& parametersPath);

 private:
  void ShowBeforeAfter(const std::vector<RowCalibration>& rows);
};

}  // namespace nimbra
