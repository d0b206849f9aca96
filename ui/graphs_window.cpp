#include "graphs_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

#include "chart_clipboard.h"
#include "chart_zoom.h"
#include "graph_pages.h"
#include "guarded_command.h"
#include "help_window.h"
#include "object_names.h"
#include "stair_series.h"

namespace nimbra {

namespace {

constexpr int kTabHeight = 40;
constexpr QSize kInitialSize(626, 390);
constexpr int kTabRowSlack = 8;

// Colour values, red in the low byte.
constexpr int kRed = 0x0000FF;
constexpr int kGreen = 0x008000;
constexpr int kYellow = 0x00FFFF;
constexpr int kBlue = 0xFF0000;
constexpr int kOrange = 33023;
constexpr int kGrey = 6908265;
constexpr int kFuchsia = 0xFF00FF;
constexpr int kTeal = 0x808000;
constexpr int kNavy = 0x800000;
constexpr int kMaroon = 0x000080;
constexpr std::array<int, GraphsWindow::kCellSeriesCount> kCellColours = {
    kRed, kGreen, kYellow, kBlue, kOrange, kGrey, kFuchsia, kTeal, kNavy, kMaroon};

constexpr PageLayout kPages[GraphsWindow::kPageCount] = {
    {.name = "Storms",
     .chartName = "storms",
     .title = "Storms ",
     .bottomTitle = "Time (days)",
     .leftTitle = "Intensity (mm/h)",
     .legendBeside = true},
    {.name = "Hyetograph",
     .chartName = "hyetograph",
     .title = "Hyetograph",
     .bottomTitle = "Time (days)",
     .leftTitle = "Intensity (mm/h)"},
    {.name = "Probabilities",
     .chartName = "dryProbability",
     .title = "Probabilities of dry spells",
     .leftTitle = "Probability (P)",
     .bottom = BottomAxis::Categories,
     .background = PageBackground::WhitePanel,
     .probabilities = true,
     .animatedZoom = true},
    {.name = "Marginal",
     .chartName = "marginal",
     .title = "Marginal statistics",
     .leftTitle = "Variation, Skewness",
     .bottom = BottomAxis::Categories,
     .background = PageBackground::WhitePanel,
     .animatedZoom = true},
    {.name = "Autocorrelation",
     .chartName = "autocorrelation",
     .title = "Autocorrelation",
     .bottomTitle = "Lag (h)",
     .leftTitle = "Autocorrelation",
     .bottom = BottomAxis::WholeNumbers,
     .background = PageBackground::YellowGradient,
     .pageHint = "Graphical comparison of autocorrelations"},
};

// Cells of different storms overlap, and the original hours are drawn over the
// disaggregated ones: a fill that lets the series below show through keeps both readable.
constexpr StairSeries::Look kCellLook{false, false, 200};
constexpr StairSeries::Look kHourLook{true, false, 150};

// Room in the row of tabs for the option frames and the copy button beside them.
class TallTabBar : public QTabBar {
 public:
  using QTabBar::QTabBar;

 protected:
  QSize tabSizeHint(int index) const override {
    QSize size = QTabBar::tabSizeHint(index);
    size.setHeight(std::max(size.height(), kTabHeight));
    return size;
  }
};

class PageControl : public QTabWidget {
 public:
  explicit PageControl(QWidget* parent) : QTabWidget(parent) { setTabBar(new TallTabBar(this)); }
};

// Hour h of the sequence covers (h-1)/24 to h/24 days: a day's last hour ends at midnight.
void AddHours(ChartSeries& series, const HourlySeries& hours, bool listInLegend) {
  if (listInLegend && hours.Count > 0) series.SetInLegend(true);
  for (int h = 1; h <= hours.Count; ++h) {
    series.AddXY(static_cast<double>(h - 1) / kHoursPerDay, hours[h]);
    series.AddXY(static_cast<double>(h) / kHoursPerDay, hours[h]);
  }
}

// A cell's rectangle: its height from the origin, and zero again from its end.
void AddCells(ChartSeries& series, const Storm& storm) {
  if (storm.Count > 0) series.SetInLegend(true);
  for (int c = 1; c <= storm.Count; ++c) {
    const Cell& cell = storm[c];
    series.AddXY(cell.origin, cell.intensity / kHoursPerDay);
    series.AddXY(cell.origin + cell.duration, 0, QStringLiteral(" "));
  }
}

}  // namespace

GraphsWindow::GraphsWindow(Engine& engine, Prompts& prompts, HelpWindow& help, QWidget* parent)
    : QWidget(parent), engine_(engine), prompts_(prompts) {
  setWindowFlags(Qt::Window);
  setWindowTitle(QStringLiteral("Nimbra graphs"));
  BuildPages();
  BuildSeries();
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tabs_);
  // Wide enough for the tabs beside the widest options, in whatever font the desktop uses.
  const int tabRow = tabs_->tabBar()->sizeHint().width() + tabs_->cornerWidget()->sizeHint().width();
  resize(std::max(kInitialSize.width(), tabRow + kTabRowSlack), kInitialSize.height());
  NameObjects({{copyButton_, "copy"},
               {statisticsGroup_, "statisticsChoice"},
               {allHoursButton_, "allHours"},
               {wetDaysButton_, "wetDays"},
               {wetHoursButton_, "wetHours"},
               {originalButton_, "original"},
               {disaggregatedButton_, "disaggregated"},
               {dataSetGroup_, "dataSetChoice"},
               {bordersBox_, "cellBorders"}});
  InstallHelpKey(this, kHelpContext, help);
  tabs_->setCurrentIndex(kHyetographPage);
  DrawCurrentPage();
  connect(tabs_, &QTabWidget::currentChanged, this, &GraphsWindow::DrawCurrentPage);
  tabs_->installEventFilter(this);
  tabs_->tabBar()->installEventFilter(this);
}

GraphsWindow::~GraphsWindow() = default;

void GraphsWindow::BuildPages() {
  tabs_ = new PageControl(this);
  tabs_->setObjectName(QStringLiteral("pages"));
  for (int p = 0; p < kPageCount; ++p) {
    pages_[p] = new GraphPage(kPages[p], tabs_);
    tabs_->addTab(pages_[p], QString::fromLatin1(kPages[p].name));
  }
  plots_.marginal = pages_[kMarginalPage]->Chart();
  plots_.autocorrelation = pages_[kAutocorrelationPage]->Chart();
  plots_.storms = pages_[kStormsPage]->Chart();
  plots_.hyetograph = pages_[kHyetographPage]->Chart();
  plots_.dryProbability = pages_[kProbabilitiesPage]->Chart();
  tabs_->setCornerWidget(MakeOptions(), Qt::TopRightCorner);
  bordersBox_ = new QCheckBox(QStringLiteral("Show borders"), pages_[kStormsPage]);
  connect(bordersBox_, &QCheckBox::clicked, this, &GraphsWindow::ShowCellBorders);
  pages_[kStormsPage]->AddOverlay(bordersBox_, Qt::AlignTop | Qt::AlignLeft);
}

// Each chart draws the disaggregated data first and the original data over them.
void GraphsWindow::BuildSeries() {
  GraphPage& storms = *pages_[kStormsPage];
  for (int i = 0; i < kCellSeriesCount; ++i) {
    const QString title = i + 1 < kCellSeriesCount ? QStringLiteral("Storm %1").arg(i + 1)
                                                   : QStringLiteral("Storm >=%1").arg(kCellSeriesCount);
    plots_.cells[i] = storms.Add<StairSeries>(QStringLiteral("cells%1").arg(i + 1), title,
                                              ColourValue(kCellColours[i]), kCellLook);
  }
  const QColor red = ColourValue(kRed);
  const QColor green = ColourValue(kGreen);
  const QString original = QStringLiteral("Original");
  const QString disaggregated = QStringLiteral("Disaggregated");
  GraphPage& hours = *pages_[kHyetographPage];
  plots_.syntheticHours =
      hours.Add<StairSeries>(QStringLiteral("syntheticHours"), disaggregated, green, kHourLook);
  plots_.originalHours = hours.Add<StairSeries>(QStringLiteral("originalHours"), original, red, kHourLook);
  GraphPage& probabilities = *pages_[kProbabilitiesPage];
  plots_.syntheticDryProbability =
      probabilities.Add<BarSeries>(QStringLiteral("syntheticDryProbability"), disaggregated, green);
  plots_.originalDryProbability =
      probabilities.Add<BarSeries>(QStringLiteral("originalDryProbability"), original, red);
  GraphPage& marginal = *pages_[kMarginalPage];
  plots_.syntheticMarginal =
      marginal.Add<BarSeries>(QStringLiteral("syntheticMarginal"), disaggregated, green);
  plots_.originalMarginal = marginal.Add<BarSeries>(QStringLiteral("originalMarginal"), original, red);
  GraphPage& autocorrelation = *pages_[kAutocorrelationPage];
  plots_.syntheticAutocorrelation =
      autocorrelation.Add<LineSeries>(QStringLiteral("syntheticAutocorrelation"), disaggregated, green, 2);
  plots_.originalAutocorrelation =
      autocorrelation.Add<LineSeries>(QStringLiteral("originalAutocorrelation"), original, red, 3);
}

// The two frames share one place beside the tabs; each frame's buttons form a group of
// their own, so that each frame always shows its choice.
QWidget* GraphsWindow::MakeOptions() {
  auto* options = new QWidget(tabs_);
  allHoursButton_ = MakeRadioButton(QStringLiteral("All"), &GraphsWindow::ShowChosenStatisticsOption);
  wetDaysButton_ = MakeRadioButton(QStringLiteral("Wet days"), &GraphsWindow::ShowChosenStatisticsOption);
  wetHoursButton_ = MakeRadioButton(QStringLiteral("Wet hours"), &GraphsWindow::ShowChosenStatisticsOption);
  originalButton_ = MakeRadioButton(QStringLiteral("Original"), &GraphsWindow::ShowChosenDataSet);
  disaggregatedButton_ = MakeRadioButton(QStringLiteral("Disaggregated"), &GraphsWindow::ShowChosenDataSet);
  auto* statistics = new QButtonGroup(options);
  for (QRadioButton* button : {allHoursButton_, wetDaysButton_, wetHoursButton_})
    statistics->addButton(button);
  auto* dataSet = new QButtonGroup(options);
  for (QRadioButton* button : {originalButton_, disaggregatedButton_}) dataSet->addButton(button);
  statisticsGroup_ = MakeFrame(QStringLiteral("Option for evaluation of statistics"),
                               {allHoursButton_, wetDaysButton_, wetHoursButton_});
  dataSetGroup_ = MakeFrame(QStringLiteral("Data set"), {originalButton_, disaggregatedButton_});
  copyButton_ = new QPushButton(QStringLiteral("Copy"), options);
  copyButton_->setToolTip(QStringLiteral("Copy graph to clipboard"));
  connect(copyButton_, &QPushButton::clicked, this, &GraphsWindow::CopyChart);
  auto* frames = new QGridLayout;
  frames->addWidget(statisticsGroup_, 0, 0);
  frames->addWidget(dataSetGroup_, 0, 0);
  auto* layout = new QHBoxLayout(options);
  layout->setContentsMargins(4, 0, 4, 2);
  layout->addLayout(frames);
  layout->addWidget(copyButton_, 0, Qt::AlignVCenter);
  return options;
}

QGroupBox* GraphsWindow::MakeFrame(const QString& caption, std::initializer_list<QRadioButton*> buttons) {
  auto* frame = new QGroupBox(caption);
  auto* layout = new QHBoxLayout(frame);
  layout->setContentsMargins(6, 0, 6, 0);
  for (QRadioButton* button : buttons) layout->addWidget(button);
  layout->addStretch();  // the narrower frame's buttons stay together on the left
  return frame;
}

// Checking a button, by the user or from code, runs its action; unchecking does not.
QRadioButton* GraphsWindow::MakeRadioButton(const QString& caption, void (GraphsWindow::*action)()) {
  auto* button = new QRadioButton(caption);
  connect(button, &QRadioButton::toggled, this, [this, action](bool checked) {
    if (checked) (this->*action)();
  });
  return button;
}

void GraphsWindow::SetOriginalAvailable(bool available) {
  originalButton_->setEnabled(available);
  if (!available) disaggregatedButton_->setChecked(true);
}

void GraphsWindow::ShowPage(int index) { tabs_->setCurrentIndex(index); }

ZoomChartView* GraphsWindow::ChartView(int page) const {
  return pages_.at(static_cast<std::size_t>(page))->View();
}

void GraphsWindow::DrawPage(Page page) { pages_[page]->Draw(); }

void GraphsWindow::UpdateGraphs() {
  const RunView s = engine_.View();
  plots_.originalHours->Clear();
  plots_.syntheticHours->Clear();
  if (s.OriginalHourlyAvailable) {
    AddHours(*plots_.originalHours, s.OriginalHourly, true);
  } else {
    plots_.originalHours->SetInLegend(false);
  }
  AddHours(*plots_.syntheticHours, s.SyntheticHourly, false);
  DrawPage(kHyetographPage);
  ShowChosenStorms();
  ShowChosenStatistics();
}

void GraphsWindow::ResetGraphs() {
  for (Page page : {kMarginalPage, kAutocorrelationPage, kStormsPage, kHyetographPage, kProbabilitiesPage}) {
    pages_[page]->Clear();
    pages_[page]->View()->RestoreWholeView();
  }
}

void GraphsWindow::SetRunGoing(bool going) { runGoing_ = going; }

void GraphsWindow::ShowStorms(const StormSet& storms) {
  for (StairSeries* series : plots_.cells) series->Clear();
  for (int i = 1; i < kCellSeriesCount; ++i) plots_.cells[i]->SetInLegend(false);
  for (int j = 1; j <= storms.Count; ++j)
    AddCells(*plots_.cells[std::min(j, kCellSeriesCount) - 1], storms[j]);
  DrawPage(kStormsPage);
}

void GraphsWindow::ShowStatistics(const StatisticsSummary& original, const StatisticsSummary& synthetic) {
  const bool withOriginal = engine_.View().OriginalHourlyAvailable;
  for (ChartSeries* series : {plots_.originalMarginal, plots_.syntheticMarginal,
                              plots_.originalAutocorrelation, plots_.syntheticAutocorrelation})
    series->Clear();
  plots_.syntheticMarginal->Add(synthetic.Variation, QStringLiteral("Variation"));
  plots_.syntheticMarginal->Add(synthetic.Skewness, QStringLiteral("Skewness"));
  plots_.syntheticAutocorrelation->AddArray(synthetic.Autoc);
  plots_.originalMarginal->SetInLegend(withOriginal);
  plots_.originalAutocorrelation->SetInLegend(withOriginal);
  if (withOriginal) {
    plots_.originalMarginal->Add(original.Variation);
    plots_.originalMarginal->Add(original.Skewness);
    plots_.originalAutocorrelation->AddArray(original.Autoc);
  }
  ShowProbabilities();
  DrawPage(kMarginalPage);
  DrawPage(kAutocorrelationPage);
}

// From the counts of all six summaries, whatever the option. A count of zero under a
// fraction ends the filling at that bar: the bars before it stay, no later bar is added.
void GraphsWindow::ShowProbabilities() {
  const RunView s = engine_.View();
  struct Bar {
    ChartSeries* series;
    std::int32_t wet;
    std::int32_t of;
    const char* label;
  };
  std::vector<Bar> bars;
  plots_.originalDryProbability->Clear();
  plots_.syntheticDryProbability->Clear();
  plots_.originalDryProbability->SetInLegend(s.OriginalHourlyAvailable);
  if (s.OriginalHourlyAvailable) {
    bars.push_back(
        {plots_.originalDryProbability, s.WetHourStatsOriginal.Count, s.AllStatsOriginal.Count, ""});
    bars.push_back(
        {plots_.originalDryProbability, s.WetDayStatsOriginal.Count, s.AllStatsOriginal.Count, ""});
    bars.push_back(
        {plots_.originalDryProbability, s.WetHourStatsOriginal.Count, s.WetDayStatsOriginal.Count, ""});
  }
  bars.push_back({plots_.syntheticDryProbability, s.WetHourStatsSynthetic.Count, s.AllStatsSynthetic.Count,
                  "P(dry hour)"});
  bars.push_back({plots_.syntheticDryProbability, s.WetDayStatsSynthetic.Count, s.AllStatsSynthetic.Count,
                  "P(dry day)"});
  bars.push_back({plots_.syntheticDryProbability, s.WetHourStatsSynthetic.Count, s.WetDayStatsSynthetic.Count,
                  "P(dry hour|wet day)"});
  for (const Bar& bar : bars) {
    if (bar.of == 0) break;
    bar.series->Add(1.0 - static_cast<double>(bar.wet) / static_cast<double>(bar.of),
                    QString::fromLatin1(bar.label));
  }
  DrawPage(kProbabilitiesPage);
}

void GraphsWindow::ShowChosenDataSet() {
  if (!runGoing_) ShowChosenStorms();
}

void GraphsWindow::ShowChosenStatisticsOption() {
  if (!runGoing_) ShowChosenStatistics();
}

void GraphsWindow::ShowChosenStorms() {
  const RunView s = engine_.View();
  ShowStorms(disaggregatedButton_->isChecked() ? s.Storms : s.OriginalStorms);
}

void GraphsWindow::ShowChosenStatistics() {
  const RunView s = engine_.View();
  if (allHoursButton_->isChecked()) {
    ShowStatistics(s.AllStatsOriginal, s.AllStatsSynthetic);
  } else if (wetDaysButton_->isChecked()) {
    ShowStatistics(s.WetDayStatsOriginal, s.WetDayStatsSynthetic);
  } else {
    ShowStatistics(s.WetHourStatsOriginal, s.WetHourStatsSynthetic);
  }
}

// Each visit to a statistics page starts with "All", each visit to the storms with the
// disaggregated storms; the other pages offer no option.
void GraphsWindow::DrawCurrentPage() {
  const int page = tabs_->currentIndex();
  const bool statistics = page == kMarginalPage || page == kAutocorrelationPage;
  ShowStatisticsOptions(statistics, page == kMarginalPage);
  if (statistics) allHoursButton_->setChecked(true);
  ShowDataSetOptions(page == kStormsPage);
  if (page == kStormsPage) disaggregatedButton_->setChecked(true);
}

void GraphsWindow::ShowStatisticsOptions(bool shown, bool wetHours) {
  statisticsGroup_->setVisible(shown);
  allHoursButton_->setVisible(shown);
  wetDaysButton_->setVisible(shown);
  wetHoursButton_->setVisible(shown && wetHours);
}

void GraphsWindow::ShowDataSetOptions(bool shown) {
  dataSetGroup_->setVisible(shown);
  originalButton_->setVisible(shown);
  disaggregatedButton_->setVisible(shown);
}

void GraphsWindow::CopyChart() { CopyChartToClipboard(*ChartView(tabs_->currentIndex())); }

void GraphsWindow::ShowCellBorders() {
  for (StairSeries* series : plots_.cells) series->SetDivisionLinesVisible(bordersBox_->isChecked());
}

// The statistics are brought up to date; the charts wait for the next update.
void GraphsWindow::RedrawOnActivation() {
  if (runGoing_) return;
  RunGuarded(prompts_, [this] { engine_.ComputeStatistics(); });
}

void GraphsWindow::TellClosed() {
  hide();
  emit Closed();
}

bool GraphsWindow::event(QEvent* event) {
  // Showing activates the window; the statistics are computed then, before the
  // update that follows the showing, even where the activation itself comes later.
  if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) RedrawOnActivation();
  return QWidget::event(event);
}

void GraphsWindow::closeEvent(QCloseEvent* event) {
  TellClosed();
  event->accept();
}

// The focus entering the page control from another control, as the window first shows.
bool GraphsWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) DrawCurrentPage();
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace nimbra
