#pragma once
// The Disaggregate page: all stations of the records, or those chosen, disaggregated in the
// background to the hourly CSV file with its sidecar and, when asked, the report, as the
// nimbra-cli command the sidecar records would. Progress shows stations and days done and
// the time left; a cancel leaves no file that looks complete.

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QWidget>

#include "disaggregation_job.h"
#include "file_field.h"
#include "hour_comparison.h"
#include "hourly_csv_reader.h"
#include "task_bar.h"

namespace nimbra {

// What the page takes from the Records and Parameters pages.
struct DisaggregationInputs {
  QString DailyPath;
  DailyCsvOptions Daily;
  int DayStart = 0;
  QString ParametersPath;
  std::vector<std::string> Stations;  // empty: every one
};

// A finished run, kept for the comparison; its figures are computed on the worker, so
// that showing them costs the window no time.
struct FinishedRun {
  DisaggregationRequest Request;
  DisaggregationOutcome Outcome;
  std::vector<NamedSeries> Daily;                    // the stations run, in the outcome's order
  std::vector<std::vector<double>> Observed;         // per station, 24 per day; empty: none observed
  ParameterTable Table;                              // the parameters file
  std::vector<std::vector<HourComparison>> Figures;  // per station, per row of Table.RowsFor(station)
};

class DisaggregatePage : public QWidget {
  Q_OBJECT

 public:
  explicit DisaggregatePage(Prompts& prompts, QWidget* parent = nullptr);

  DisaggregationRequest Request(const DisaggregationInputs& inputs) const;
  void Run(const DisaggregationInputs& inputs);

  QRadioButton* AllStations = nullptr;
  QRadioButton* ChosenStations = nullptr;
  FileField* Output = nullptr;
  QCheckBox* ReportBox = nullptr;
  FileField* Report = nullptr;
  FileField* Observed = nullptr;
  QSpinBox* SeedBox = nullptr;
  QSpinBox* ThreadsBox = nullptr;
  QSpinBox* DecimalsBox = nullptr;
  QComboBox* LabelBox = nullptr;
  TaskBar* Bar = nullptr;

 signals:
  void Disaggregated(std::shared_ptr<const FinishedRun> run);
};

}  // namespace nimbra
