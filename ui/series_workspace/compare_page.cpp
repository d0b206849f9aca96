#include "compare_page.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>
#include <fstream>

#include "chart_clipboard.h"
#include "civil_date.h"
#include "compare_charts.h"
#include "number_cells.h"
#include "qt_prompts.h"
#include "station_batch.h"

namespace nimbra {

namespace {

constexpr int kHours = 24;

QChartView* ChartView() {
  auto* view = new QChartView;
  view->setRenderHint(QPainter::Antialiasing);
  view->setMinimumSize(160, 140);
  view->setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* copy = new QAction(QObject::tr("Copy as SVG and PNG"), view);
  QObject::connect(copy, &QAction::triggered, view, [view] { CopyChartToClipboard(*view); });
  view->addAction(copy);
  return view;
}

void Replace(QChartView* view, QChart* chart) {
  QChart* old = view->chart();
  view->setChart(chart);
  delete old;
}

QDate ToQDate(std::int64_t serialDay) {
  const CivilDate date = CivilFromDays(serialDay);
  return {date.Year, date.Month, date.Day};
}

std::int64_t FromQDate(const QDate& date) { return DaysFromCivil({date.year(), date.month(), date.day()}); }

}  // namespace

ComparePage::ComparePage(Prompts& prompts, QWidget* parent) : QWidget(parent), prompts_(prompts) {
  StationBox = new QComboBox;
  SeasonBox = new QComboBox;
  ExportButton = new QPushButton(tr("&Export table as CSV..."));
  Table = MakeNumberTable({tr("Statistic"), tr("Observed"), tr("Disaggregated"), tr("Model")});
  for (std::size_t source = 0; source < kHourSourceCount; ++source)
    Table->horizontalHeaderItem(static_cast<int>(source) + 1)->setForeground(SourceColor(source));
  // Every statistic in view without scrolling: the table is the page's exact figures.
  Table->setMinimumHeight(Table->horizontalHeader()->sizeHint().height() +
                          static_cast<int>(kHourlyStatisticCount) *
                              Table->verticalHeader()->defaultSectionSize() +
                          2 * Table->frameWidth());
  auto* choice = new QHBoxLayout;
  choice->addWidget(StationBox, 1);
  choice->addWidget(SeasonBox, 1);
  choice->addWidget(ExportButton);
  auto* splitter = new QSplitter(Qt::Vertical);
  splitter->addWidget(Table);
  splitter->addWidget(BuildCharts());
  splitter->addWidget(BuildDayViewer());
  splitter->setStretchFactor(1, 2);
  splitter->setStretchFactor(2, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choice);
  // On a small screen or at a large scale the page scrolls rather than the window outgrowing the screen.
  auto* scroll = new QScrollArea;
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(splitter);
  layout->addWidget(scroll, 1);
  connect(StationBox, &QComboBox::currentIndexChanged, this, &ComparePage::StationChosen);
  connect(SeasonBox, &QComboBox::currentIndexChanged, this, &ComparePage::Compare);
  connect(ExportButton, &QPushButton::clicked, this, &ComparePage::ExportTable);
}

QWidget* ComparePage::BuildCharts() {
  auto* charts = new QWidget;
  auto* grid = new QGridLayout(charts);
  constexpr int kColumns = 3;  // the yearly maxima take a fourth, over every row
  constexpr int kRows = (static_cast<int>(kHourlyStatisticCount) + kColumns - 1) / kColumns;
  for (std::size_t i = 0; i < StatisticViews.size(); ++i) {
    StatisticViews[i] = ChartView();
    grid->addWidget(StatisticViews[i], static_cast<int>(i) / kColumns, static_cast<int>(i) % kColumns);
  }
  MaximaView = ChartView();
  grid->addWidget(MaximaView, 0, kColumns, kRows, 1);
  grid->setColumnStretch(kColumns, 2);
  return charts;
}

QWidget* ComparePage::BuildDayViewer() {
  auto* viewer = new QWidget;
  DayEdit = new QDateEdit;
  DayEdit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  PreviousDay = new QPushButton(tr("< Day"));
  NextDay = new QPushButton(tr("Day >"));
  DayView = ChartView();
  auto* row = new QHBoxLayout;
  row->addWidget(PreviousDay);
  row->addWidget(DayEdit);
  row->addWidget(NextDay);
  row->addStretch(1);
  auto* layout = new QVBoxLayout(viewer);
  layout->addLayout(row);
  layout->addWidget(DayView, 1);
  connect(DayEdit, &QDateEdit::dateChanged, this, &ComparePage::ShowDay);
  connect(PreviousDay, &QPushButton::clicked, this, [this] { StepDay(-1); });
  connect(NextDay, &QPushButton::clicked, this, [this] { StepDay(1); });
  return viewer;
}

void ComparePage::SetRun(std::shared_ptr<const FinishedRun> run) {
  run_ = std::move(run);
  const QSignalBlocker blocker(StationBox);
  StationBox->clear();
  for (const NamedSeries& station : run_->Daily) StationBox->addItem(QString::fromStdString(station.Station));
  StationChosen();
}

void ComparePage::StationChosen() {
  const int station = StationBox->currentIndex();
  if (!run_ || station < 0) return;
  const NamedSeries& series = run_->Daily[static_cast<std::size_t>(station)];
  {
    const QSignalBlocker blocker(SeasonBox);
    SeasonBox->clear();
    for (const SeasonParameters& row : run_->Table.RowsFor(series.Station))
      SeasonBox->addItem(QString::fromStdString(row.Season.Name));
    const QSignalBlocker dayBlocker(DayEdit);
    DayEdit->setDateRange(
        ToQDate(series.Series.FirstDay),
        ToQDate(series.Series.FirstDay + static_cast<std::int64_t>(series.Series.Daily.size()) - 1));
    DayEdit->setDate(ToQDate(series.Series.FirstDay));
  }
  Compare();
  ShowDay();
}

void ComparePage::Compare() {
  const int station = StationBox->currentIndex();
  const int season = SeasonBox->currentIndex();
  if (!run_ || station < 0 || season < 0) return;
  shown_ = run_->Figures[static_cast<std::size_t>(station)][static_cast<std::size_t>(season)];
  const ColumnFitAfterFill fill(Table);
  Table->setRowCount(0);
  for (std::size_t i = 0; i < kHourlyStatisticCount; ++i) {
    const QString name = QString::fromLatin1(StatisticName(static_cast<HourlyStatistic>(i)));
    std::array<double, kHourSourceCount> values{};
    for (std::size_t source = 0; source < kHourSourceCount; ++source)
      values[source] = shown_.Sources[source].Values[i];
    AddNumberRow(Table, {name}, {values[0], values[1], values[2]});
    Replace(StatisticViews[i], StatisticChart(name, values));
  }
  Replace(MaximaView, MaximaChart(shown_));
}

void ComparePage::ShowDay() {
  const int station = StationBox->currentIndex();
  if (!run_ || station < 0) return;
  const StationSeries& series = run_->Daily[static_cast<std::size_t>(station)].Series;
  const auto day = static_cast<std::size_t>(FromQDate(DayEdit->date()) - series.FirstDay);
  if (day >= series.Daily.size()) return;
  const std::span<const double> hours(run_->Outcome.Hours[static_cast<std::size_t>(station)]);
  const std::vector<double>& observed = run_->Observed[static_cast<std::size_t>(station)];
  const std::span<const double> observedDay =
      observed.empty() ? std::span<const double>()
                       : std::span<const double>(observed).subspan(day * kHours, kHours);
  const QString title =
      tr("%1: %2 mm in the day").arg(DayEdit->date().toString(Qt::ISODate)).arg(series.Daily[day]);
  Replace(DayView, DayChart(title, hours.subspan(day * kHours, kHours), observedDay));
}

void ComparePage::StepDay(int days) { DayEdit->setDate(DayEdit->date().addDays(days)); }

bool ComparePage::ExportTable() {
  TitleNextDialog(prompts_, tr("Export the comparison as CSV"), QStringLiteral("csv"));
  const std::optional<std::string> path = prompts_.ChooseFileToSave("comparison.csv", "CSV files (*.csv)");
  if (!path) return false;
  std::ofstream out(*path, std::ios::binary);
  out << TableCsv(*Table);
  out.close();
  if (!out) prompts_.ShowError(*path + ": cannot write the file");
  return static_cast<bool>(out);
}

}  // namespace nimbra
