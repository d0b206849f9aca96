#pragma once
// The Compare page: for a station and season of the last disaggregation, the observed
// hours (when the run had some), the disaggregated hours and the model's own values side
// by side, as a table and as charts, with a day viewer. Charts copy as SVG and PNG from
// their context menu; the table exports as CSV.

#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>
#include <array>
#include <memory>

#include "disaggregate_page.h"
#include "hour_comparison.h"
#include "prompts.h"

namespace nimbra {

class ComparePage : public QWidget {
  Q_OBJECT

 public:
  explicit ComparePage(Prompts& prompts, QWidget* parent = nullptr);

  void SetRun(std::shared_ptr<const FinishedRun> run);
  // The figures shown, for the station and season chosen.
  const HourComparison& Shown() const { return shown_; }
  // Writes the table as CSV to a file the prompts choose; false when none was written.
  bool ExportTable();

  QComboBox* StationBox = nullptr;
  QComboBox* SeasonBox = nullptr;
  QTableWidget* Table = nullptr;
  QPushButton* ExportButton = nullptr;
  std::array<QChartView*, kHourlyStatisticCount> StatisticViews{};
  QChartView* MaximaView = nullptr;
  QDateEdit* DayEdit = nullptr;
  QPushButton* PreviousDay = nullptr;
  QPushButton* NextDay = nullptr;
  QChartView* DayView = nullptr;

 private:
  QWidget* BuildCharts();
  QWidget* BuildDayViewer();
  void StationChosen();
  void Compare();
  void ShowDay();
  void StepDay(int days);

  Prompts& prompts_;
  std::shared_ptr<const FinishedRun> run_;
  HourComparison shown_{};
};

}  // namespace nimbra
