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

class GraphsWindow : public QWidget {
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

  GraphsWindow(Engine& engine, Prompts& prompts, HelpWindow& help, QWidget* parent = nullptr);
  ~GraphsWindow() override;

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

  // The charts and their series, as the window last drew them.
  struct Plots {
    QChart* marginal = nullptr;  // variation and skewness
    QChart* autocorrelation = nullptr;
    QChart* storms = nullptr;  // storms and their cells
    QChart* hyetograph = nullptr;
    QChart* dryProbability = nullptr;
    // Storms 1 to 9 one each, then every later storm together.
    std::array<StairSeries*, kCellSeriesCount> cells{};
    StairSeries* originalHours = nullptr;
    StairSeries* syntheticHours = nullptr;
    ChartSeries* originalDryProbability = nullptr;
    ChartSeries* syntheticDryProbability = nullptr;
    ChartSeries* originalMarginal = nullptr;
    ChartSeries* syntheticMarginal = nullptr;
    ChartSeries* originalAutocorrelation = nullptr;
    ChartSeries* syntheticAutocorrelation = nullptr;
  };
  const Plots& Drawn() const { return plots_; }
  // In file mode there are no original hours to show: the disaggregated ones are chosen.
  void SetOriginalAvailable(bool available);

  void ShowChosenDataSet();
  void ShowChosenStatisticsOption();
  void DrawCurrentPage();
  void CopyChart();
  void ShowCellBorders();
  void RedrawOnActivation();
  void TellClosed();

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
  QRadioButton* MakeRadioButton(const QString& caption, void (GraphsWindow::*action)());
  void ShowStorms(const StormSet& storms);
  void ShowStatistics(const StatisticsSummary& original, const StatisticsSummary& synthetic);
  void ShowProbabilities();
  void ShowStatisticsOptions(bool shown, bool wetHours);
  void ShowDataSetOptions(bool shown);
  void DrawPage(Page page);

  void ShowChosenStorms();
  void ShowChosenStatistics();

  QTabWidget* tabs_;
  QPushButton* copyButton_;
  QGroupBox* statisticsGroup_;
  QRadioButton* allHoursButton_;
  QRadioButton* wetDaysButton_;
  QRadioButton* wetHoursButton_;
  QRadioButton* originalButton_;
  QRadioButton* disaggregatedButton_;
  QGroupBox* dataSetGroup_;
  QCheckBox* bordersBox_;
  Plots plots_;
  Engine& engine_;
  Prompts& prompts_;
  bool runGoing_ = false;
  std::array<GraphPage*, kPageCount> pages_{};
};

}  // namespace nimbra
