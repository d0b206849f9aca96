#pragma once
// The Fit page: an hourly CSV record fitted season by season in the background, as
// nimbra-cli fit does with the same settings; the parameters file written fills the
// Parameters page, and each target's observed and fitted value is listed.

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QWidget>

#include "file_field.h"
#include "fit_job.h"
#include "task_bar.h"

namespace nimbra {

class FitPage : public QWidget {
  Q_OBJECT

 public:
  explicit FitPage(Prompts& prompts, QWidget* parent = nullptr);

  FitRequest Request() const;
  void Run();

  FileField* Input = nullptr;
  QComboBox* SeasonsBox = nullptr;  // monthly, all, or a file
  FileField* SeasonsFile = nullptr;
  QLineEdit* FixedEdit = nullptr;  // NAME=VALUE, blank-separated
  QSpinBox* SeedBox = nullptr;
  FileField* Output = nullptr;
  FileField* Report = nullptr;
  TaskBar* Bar = nullptr;
  QTableWidget* Targets = nullptr;

 signals:
  void Fitted(const QString& parametersPath);

 private:
  void ShowTargets(const std::vector<SeasonFit>& fits);
};

}  // namespace nimbra
