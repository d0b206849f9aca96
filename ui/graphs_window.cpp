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
constexpr std::array<int, TGraphForm::kCellSeriesCount> kCellColours = {
    kRed, kGreen, kYellow, kBlue, kOrange, kGrey, kFuchsia, kTeal, kNavy, kMaroon};

constexpr PageLayout kPages[TGraphForm::kPageCount] = {
    {.name = "Storms",
     .chartName = "Chart3",
     .title = "Storms ",
     .bottomTitle = "Time (days)",
     .leftTitle = "Intensity (mm/h)",
     .legendBeside = true},
    {.name = "Hyetograph",
     .chartName = "Chart4",
     .title = "Hyetograph",
     .bottomTitle = "Time (days)",
     .leftTitle = "Intensity (mm/h)"},
    {.name = "Probabilities",
     .chartName = "Chart5",
     .title = "Probabilities of dry spells",
     .leftTitle = "Probability (P)",
     .bottom = BottomAxis::Categories,
     .background = PageBackground::WhitePanel,
     .probabilities = true,
     .animatedZoom = true},
    {.name = "Marginal",
     .chartName = "Chart1",
     .title = "Marginal statistics",
     .leftTitle = "Variation, Skewness",
     .bottom = BottomAxis::Categories,
     .background = PageBackground::WhitePanel,
     .animatedZoom = true},
    {.name = "Autocorrelation",
     .chartName = "Chart2",
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

// Hour h is drawn one hour late, from h/24 to (h+1)/24 days, as the window has always
// drawn it.
void AddHours(ChartSeries& series, const HourlySeries& hours, bool listInLegend) {
  if (listInLegend && hours.Count > 0) series.SetInLegend(true);
  for (int h = 1; h <= hours.Count; ++h) {
    series.AddXY(static_cast<double>(h) / kHoursPerDay, hours[h]);
    series.AddXY(static_cast<double>(h + 1) / kHoursPerDay, hours[h]);
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

TGraphForm::TGraphForm(Engine& engine, Prompts& prompts, HelpWindow& help, QWidget* parent)
    : QWidget(parent), engine_(engine), prompts_(prompts) {
  setWindowFlags(Qt::Window);
  setWindowTitle(QStringLiteral("Nimbra graphs"));
  BuildPages();
  BuildSeries();
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(PageControl1);
  // Wide enough for the tabs beside the widest options, in whatever font the desktop uses.
  const int tabRow =
      PageControl1->tabBar()->sizeHint().width() + PageControl1->cornerWidget()->sizeHint().width();
  resize(std::max(kInitialSize.width(), tabRow + kTabRowSlack), kInitialSize.height());
  InstallHelpKey(this, kHelpContext, help);
  PageControl1->setCurrentIndex(kHyetographPage);
  ChooseTabActionExecute();
  connect(PageControl1, &QTabWidget::currentChanged, this, &TGraphForm::ChooseTabActionExecute);
  PageControl1->installEventFilter(this);
  PageControl1->tabBar()->installEventFilter(this);
}

TGraphForm::~TGraphForm() = default;

void TGraphForm::BuildPages() {
  PageControl1 = new PageControl(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  for (int p = 0; p < kPageCount; ++p) {
    pages_[p] = new GraphPage(kPages[p], PageControl1);
    PageControl1->addTab(pages_[p], QString::fromLatin1(kPages[p].name));
  }
  Chart1 = pages_[kMarginalPage]->Chart();
  Chart2 = pages_[kAutocorrelationPage]->Chart();
  Chart3 = pages_[kStormsPage]->Chart();
  Chart4 = pages_[kHyetographPage]->Chart();
  Chart5 = pages_[kProbabilitiesPage]->Chart();
  PageControl1->setCornerWidget(MakeOptions(), Qt::TopRightCorner);
  ShowBorders = new QCheckBox(QStringLiteral("Show borders"), pages_[kStormsPage]);
  connect(ShowBorders, &QCheckBox::clicked, this, &TGraphForm::ShowBordersClick);
  pages_[kStormsPage]->AddOverlay(ShowBorders, Qt::AlignTop | Qt::AlignLeft);
}

// Each chart draws the disaggregated data first and the original data over them.
void TGraphForm::BuildSeries() {
  GraphPage& storms = *pages_[kStormsPage];
  for (int i = 0; i < kCellSeriesCount; ++i) {
    const QString title = i + 1 < kCellSeriesCount ? QStringLiteral("Storm %1").arg(i + 1)
                                                   : QStringLiteral("Storm >=%1").arg(kCellSeriesCount);
    CellSeries[i] = storms.Add<StairSeries>(QStringLiteral("CellSeries%1").arg(i + 1), title,
                                            ColourValue(kCellColours[i]), kCellLook);
  }
  const QColor red = ColourValue(kRed);
  const QColor green = ColourValue(kGreen);
  const QString original = QStringLiteral("Original");
  const QString disaggregated = QStringLiteral("Disaggregated");
  GraphPage& hours = *pages_[kHyetographPage];
  Series7 = hours.Add<StairSeries>(QStringLiteral("Series7"), disaggregated, green, kHourLook);
  Series6 = hours.Add<StairSeries>(QStringLiteral("Series6"), original, red, kHourLook);
  GraphPage& probabilities = *pages_[kProbabilitiesPage];
  ProbSeries2 = probabilities.Add<BarSeries>(QStringLiteral("ProbSeries2"), disaggregated, green);
  ProbSeries1 = probabilities.Add<BarSeries>(QStringLiteral("ProbSeries1"), original, red);
  GraphPage& marginal = *pages_[kMarginalPage];
  Series2 = marginal.Add<BarSeries>(QStringLiteral("Series2"), disaggregated, green);
  Series1 = marginal.Add<BarSeries>(QStringLiteral("Series1"), original, red);
  GraphPage& autocorrelation = *pages_[kAutocorrelationPage];
  Series4 = autocorrelation.Add<LineSeries>(QStringLiteral("Series4"), disaggregated, green, 2);
  Series3 = autocorrelation.Add<LineSeries>(QStringLiteral("Series3"), original, red, 3);
}

// The two frames share one place beside the tabs; each frame's buttons form a group of
// their own, so that each frame always shows its choice.
QWidget* TGraphForm::MakeOptions() {
  auto* options = new QWidget(PageControl1);
  AllRadioButton = MakeRadioButton(QStringLiteral("All"), &TGraphForm::ChooseStatisticsOptionExecute);
  WetDaysRadioButton =
      MakeRadioButton(QStringLiteral("Wet days"), &TGraphForm::ChooseStatisticsOptionExecute);
  WetHoursRadioButton =
      MakeRadioButton(QStringLiteral("Wet hours"), &TGraphForm::ChooseStatisticsOptionExecute);
  OriginalRadioButton = MakeRadioButton(QStringLiteral("Original"), &TGraphForm::ChooseDataSetActionExecute);
  DisaggregatedRadioButton =
      MakeRadioButton(QStringLiteral("Disaggregated"), &TGraphForm::ChooseDataSetActionExecute);
  auto* statistics = new QButtonGroup(options);
  for (QRadioButton* button : {AllRadioButton, WetDaysRadioButton, WetHoursRadioButton})
    statistics->addButton(button);
  auto* dataSet = new QButtonGroup(options);
  for (QRadioButton* button : {OriginalRadioButton, DisaggregatedRadioButton}) dataSet->addButton(button);
  RadioGroup1 = MakeFrame(QStringLiteral("Option for evaluation of statistics"),
                          {AllRadioButton, WetDaysRadioButton, WetHoursRadioButton});
  OrigOrDisRadioGroup =
      MakeFrame(QStringLiteral("Data set"), {OriginalRadioButton, DisaggregatedRadioButton});
  Copy = new QPushButton(QStringLiteral("Copy"), options);
  Copy->setToolTip(QStringLiteral("Copy graph to clipboard"));
  connect(Copy, &QPushButton::clicked, this, &TGraphForm::CopyClick);
  auto* frames = new QGridLayout;
  frames->addWidget(RadioGroup1, 0, 0);
  frames->addWidget(OrigOrDisRadioGroup, 0, 0);
  auto* layout = new QHBoxLayout(options);
  layout->setContentsMargins(4, 0, 4, 2);
  layout->addLayout(frames);
  layout->addWidget(Copy, 0, Qt::AlignVCenter);
  return options;
}

QGroupBox* TGraphForm::MakeFrame(const QString& caption, std::initializer_list<QRadioButton*> buttons) {
  auto* frame = new QGroupBox(caption);
  auto* layout = new QHBoxLayout(frame);
  layout->setContentsMargins(6, 0, 6, 0);
  for (QRadioButton* button : buttons) layout->addWidget(button);
  layout->addStretch();  // the narrower frame's buttons stay together on the left
  return frame;
}

// Checking a button, by the user or from code, runs its action; unchecking does not.
QRadioButton* TGraphForm::MakeRadioButton(const QString& caption, void (TGraphForm::*action)()) {
  auto* button = new QRadioButton(caption);
  connect(button, &QRadioButton::toggled, this, [this, action](bool checked) {
    if (checked) (this->*action)();
  });
  return button;
}

void TGraphForm::ShowPage(int index) { PageControl1->setCurrentIndex(index); }

ZoomChartView* TGraphForm::ChartView(int page) const {
  return pages_.at(static_cast<std::size_t>(page))->View();
}

void TGraphForm::DrawPage(Page page) { pages_[page]->Draw(); }

void TGraphForm::UpdateGraphs() {
  const EngineState& s = engine_.State();
  Series6->Clear();
  Series7->Clear();
  if (s.OriginalHourlyAvailable) {
    AddHours(*Series6, s.OriginalHourly, true);
  } else {
    Series6->SetInLegend(false);
  }
  AddHours(*Series7, s.SyntheticHourly, false);
  DrawPage(kHyetographPage);
  ShowChosenStorms();
  ShowChosenStatistics();
}

void TGraphForm::ResetGraphs() {
  for (Page page : {kMarginalPage, kAutocorrelationPage, kStormsPage, kHyetographPage, kProbabilitiesPage}) {
    pages_[page]->Clear();
    pages_[page]->View()->RestoreWholeView();
  }
}

void TGraphForm::SetRunGoing(bool going) { runGoing_ = going; }

void TGraphForm::ShowStorms(const StormSet& storms) {
  for (StairSeries* series : CellSeries) series->Clear();
  for (int i = 1; i < kCellSeriesCount; ++i) CellSeries[i]->SetInLegend(false);
  for (int j = 1; j <= storms.Count; ++j) AddCells(*CellSeries[std::min(j, kCellSeriesCount) - 1], storms[j]);
  DrawPage(kStormsPage);
}

void TGraphForm::ShowStatistics(const StatisticsSummary& original, const StatisticsSummary& synthetic) {
  const bool withOriginal = engine_.State().OriginalHourlyAvailable;
  for (ChartSeries* series : {Series1, Series2, Series3, Series4}) series->Clear();
  Series2->Add(synthetic.Variation, QStringLiteral("Variation"));
  Series2->Add(synthetic.Skewness, QStringLiteral("Skewness"));
  Series4->AddArray(synthetic.Autoc);
  Series1->SetInLegend(withOriginal);
  Series3->SetInLegend(withOriginal);
  if (withOriginal) {
    Series1->Add(original.Variation);
    Series1->Add(original.Skewness);
    Series3->AddArray(original.Autoc);
  }
  ShowProbabilities();
  DrawPage(kMarginalPage);
  DrawPage(kAutocorrelationPage);
}

// From the counts of all six summaries, whatever the option. A count of zero under a
// fraction ends the filling at that bar: the bars before it stay, no later bar is added.
void TGraphForm::ShowProbabilities() {
  const EngineState& s = engine_.State();
  struct Bar {
    ChartSeries* series;
    std::int32_t wet;
    std::int32_t of;
    const char* label;
  };
  std::vector<Bar> bars;
  ProbSeries1->Clear();
  ProbSeries2->Clear();
  ProbSeries1->SetInLegend(s.OriginalHourlyAvailable);
  if (s.OriginalHourlyAvailable) {
    bars.push_back({ProbSeries1, s.WetHourStatsOriginal.Count, s.AllStatsOriginal.Count, ""});
    bars.push_back({ProbSeries1, s.WetDayStatsOriginal.Count, s.AllStatsOriginal.Count, ""});
    bars.push_back({ProbSeries1, s.WetHourStatsOriginal.Count, s.WetDayStatsOriginal.Count, ""});
  }
  bars.push_back({ProbSeries2, s.WetHourStatsSynthetic.Count, s.AllStatsSynthetic.Count, "P(dry hour)"});
  bars.push_back({ProbSeries2, s.WetDayStatsSynthetic.Count, s.AllStatsSynthetic.Count, "P(dry day)"});
  bars.push_back(
      {ProbSeries2, s.WetHourStatsSynthetic.Count, s.WetDayStatsSynthetic.Count, "P(dry hour|wet day)"});
  for (const Bar& bar : bars) {
    if (bar.of == 0) break;
    bar.series->Add(1.0 - static_cast<double>(bar.wet) / static_cast<double>(bar.of),
                    QString::fromLatin1(bar.label));
  }
  DrawPage(kProbabilitiesPage);
}

void TGraphForm::ChooseDataSetActionExecute() {
  if (!runGoing_) ShowChosenStorms();
}

void TGraphForm::ChooseStatisticsOptionExecute() {
  if (!runGoing_) ShowChosenStatistics();
}

void TGraphForm::ShowChosenStorms() {
  const EngineState& s = engine_.State();
  ShowStorms(DisaggregatedRadioButton->isChecked() ? s.Storms : s.OriginalStorms);
}

void TGraphForm::ShowChosenStatistics() {
  const EngineState& s = engine_.State();
  if (AllRadioButton->isChecked()) {
    ShowStatistics(s.AllStatsOriginal, s.AllStatsSynthetic);
  } else if (WetDaysRadioButton->isChecked()) {
    ShowStatistics(s.WetDayStatsOriginal, s.WetDayStatsSynthetic);
  } else {
    ShowStatistics(s.WetHourStatsOriginal, s.WetHourStatsSynthetic);
  }
}

// Each visit to a statistics page starts with "All", each visit to the storms with the
// disaggregated storms; the other pages offer no option.
void TGraphForm::ChooseTabActionExecute() {
  const int page = PageControl1->currentIndex();
  const bool statistics = page == kMarginalPage || page == kAutocorrelationPage;
  ShowStatisticsOptions(statistics, page == kMarginalPage);
  if (statistics) AllRadioButton->setChecked(true);
  ShowDataSetOptions(page == kStormsPage);
  if (page == kStormsPage) DisaggregatedRadioButton->setChecked(true);
}

void TGraphForm::ShowStatisticsOptions(bool shown, bool wetHours) {
  RadioGroup1->setVisible(shown);
  AllRadioButton->setVisible(shown);
  WetDaysRadioButton->setVisible(shown);
  WetHoursRadioButton->setVisible(shown && wetHours);
}

void TGraphForm::ShowDataSetOptions(bool shown) {
  OrigOrDisRadioGroup->setVisible(shown);
  OriginalRadioButton->setVisible(shown);
  DisaggregatedRadioButton->setVisible(shown);
}

void TGraphForm::CopyClick() { CopyChartToClipboard(*ChartView(PageControl1->currentIndex())); }

void TGraphForm::ShowBordersClick() {
  for (StairSeries* series : CellSeries) series->SetDivisionLinesVisible(ShowBorders->isChecked());
}

// The statistics are brought up to date; the charts wait for the next update.
void TGraphForm::GraphFormActivate() {
  if (runGoing_) return;
  RunGuarded(prompts_, [this] { engine_.ComputeStatistics(); });
}

void TGraphForm::FormClose() {
  hide();
  emit Closed();
}

bool TGraphForm::event(QEvent* event) {
  // Showing activates the window; the statistics are computed then, before the
  // update that follows the showing, even where the activation itself comes later.
  if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) GraphFormActivate();
  return QWidget::event(event);
}

void TGraphForm::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

// The focus entering the page control from another control, as the window first shows.
bool TGraphForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) ChooseTabActionExecute();
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace nimbra
