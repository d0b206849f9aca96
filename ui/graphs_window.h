#pragma once
// The graphs window: the original and the disaggregated data of the run side by side
// in five charts, one per page (storms, hyetographs, dry-spell probabilities, marginal
// statistics, autocorrelations). It only reads the engine's state; the main window
// shows it and asks it to redraw after each sequence.

#include <QWidget>
#include <array>

#include "engine.h"
#include "prompts.h"

QT_BEGIN_NAMESPACE
class QChart;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QTabWidget;
QT_END_NAMESPACE

namespace nimbra {

class ChartSeries;
class GraphPage;
class HelpWindow;
class StairSeries;
class ZoomChartView;

class TGraphForm : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 23;
  enum Page {
    kStormsPage,
    kHyetographPage,
    kProbabilitiesPage,
    kMarginalPage,
    kAutocorrelationPage,
    kPageCount
  };
  static constexpr int kCellSeriesCount = 10;

  TGraphForm(Engine& engine, Prompts& prompts, HelpWindow& help, QWidget* parent = nullptr);
  ~TGraphForm() override;

  // The hyetographs, then the storms and the statistics for the options chosen.
  void UpdateGraphs();
  // Every series of the five charts empty and each chart's whole view back; the legends
  // stay as they are.
  void ResetGraphs();
  // While a run of steps goes on, the window reads the engine only when the main window
  // updates it between steps: its options wait, and showing it computes nothing.
  void SetRunGoing(bool going);
  // Shows page index (a Page), as clicking its tab does.
  void ShowPage(int index);
  ZoomChartView* ChartView(int page) const;

  QTabWidget* PageControl1;
  QPushButton* Copy;
  QGroupBox* RadioGroup1;
  QRadioButton* AllRadioButton;
  QRadioButton* WetDaysRadioButton;
  QRadioButton* WetHoursRadioButton;
  QRadioButton* OriginalRadioButton;
  QRadioButton* DisaggregatedRadioButton;
  QGroupBox* OrigOrDisRadioGroup;
  QCheckBox* ShowBorders;

  QChart* Chart1;  // marginal statistics
  QChart* Chart2;  // autocorrelations
  QChart* Chart3;  // storms and their cells
  QChart* Chart4;  // hyetographs
  QChart* Chart5;  // dry probabilities

  // Storms 1 to 9 one each, then every later storm together.
  std::array<StairSeries*, kCellSeriesCount> CellSeries{};
  StairSeries* Series6;  // original hours
  StairSeries* Series7;  // disaggregated hours
  ChartSeries* ProbSeries1;
  ChartSeries* ProbSeries2;
  ChartSeries* Series1;  // original variation and skewness
  ChartSeries* Series2;
  ChartSeries* Series3;  // original autocorrelations
  ChartSeries* Series4;

  void ChooseDataSetActionExecute();
  void ChooseStatisticsOptionExecute();
  void ChooseTabActionExecute();
  void CopyClick();
  void ShowBordersClick();
  void GraphFormActivate();
  void FormClose();

 signals:
  // The close box hid the window; the main window raises its "Show graphs" toggle.
  void Closed();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildPages();
  void BuildSeries();
  QWidget* MakeOptions();
  QGroupBox* MakeFrame(const QString& caption, std::initializer_list<QRadioButton*> buttons);
  QRadioButton* MakeRadioButton(const QString& caption, void (TGraphForm::*action)());
  void ShowStorms(const StormSet& storms);
  void ShowStatistics(const StatisticsSummary& original, const StatisticsSummary& synthetic);
  void ShowProbabilities();
  void ShowStatisticsOptions(bool shown, bool wetHours);
  void ShowDataSetOptions(bool shown);
  void DrawPage(Page page);

  void ShowChosenStorms();
  void ShowChosenStatistics();

  Engine& engine_;
  Prompts& prompts_;
  bool runGoing_ = false;
  std::array<GraphPage*, kPageCount> pages_{};
};

}  // namespace nimbra
