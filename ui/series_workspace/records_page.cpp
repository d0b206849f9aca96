#include "records_page.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMimeData>
#include <QVBoxLayout>

#include "date_time_text.h"
#include "depth_field.h"
#include "errors.h"
#include "qt_prompts.h"
#include "remembered_settings.h"
#include "run_sidecar.h"

namespace nimbra {

namespace {

constexpr int kRecentFiles = 8;
const QString kRecentKey = QStringLiteral("series/recent_daily_files");

QTableWidgetItem* Cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

QTableWidgetItem* Count(std::int64_t value) {
  QTableWidgetItem* item = Cell(QString::number(value));
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

}  // namespace

RecordsPage::RecordsPage(Prompts& prompts, QWidget* parent) : QWidget(parent), prompts_(prompts) {
  setAcceptDrops(true);
  RecentBox = new QComboBox;
  RecentBox->setEditable(false);
  RecentBox->addItems(RememberedValue(kRecentKey).toStringList());
  RecentBox->setCurrentIndex(-1);
  RecentBox->setPlaceholderText(tr("Open a daily CSV file, pick a recent one or drop one here"));
  BrowseButton = new QPushButton(tr("&Open..."));
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(RecentBox, 1);
  fileRow->addWidget(BrowseButton);
  StationTable = new QTableWidget(0, 6);
  StationTable->setHorizontalHeaderLabels(
      {tr("Station"), tr("First day"), tr("Last day"), tr("Days"), tr("Wet days"), tr("Missing days")});
  StationTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  StationTable->verticalHeader()->hide();
  Message = new QLabel;
  Message->setWordWrap(true);
  Message->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fileRow);
  layout->addWidget(BuildOptions());
  layout->addWidget(StationTable, 1);
  layout->addWidget(Message);
  connect(BrowseButton, &QPushButton::clicked, this, &RecordsPage::ChooseFile);
  connect(RecentBox, &QComboBox::activated, this, [this](int index) { Open(RecentBox->itemText(index)); });
}

QWidget* RecordsPage::BuildOptions() {
  auto* options = new QWidget;
  auto* form = new QFormLayout(options);
  WideBox = new QCheckBox(tr("Wide layout: a date column and a column per station"));
  StationColumnEdit = new QLineEdit(QStringLiteral("station"));
  DateColumnEdit = new QLineEdit(QStringLiteral("date"));
  ValueColumnEdit = new QLineEdit(QStringLiteral("precip_mm"));
  MissingEdit = new QLineEdit(QStringLiteral("-999,-999.9"));
  DayStartBox = new QSpinBox;
  DayStartBox->setRange(0, 23);
  DayStartBox->setSuffix(tr(":00"));
  auto* columns = new QHBoxLayout;
  columns->addWidget(StationColumnEdit);
  columns->addWidget(DateColumnEdit);
  columns->addWidget(ValueColumnEdit);
  form->addRow(WideBox);
  form->addRow(tr("Columns (station, date, depth):"), columns);
  form->addRow(tr("Missing day markers:"), MissingEdit);
  form->addRow(tr("A day's total starts at:"), DayStartBox);
  return options;
}

DailyCsvOptions RecordsPage::Options() const {
  DailyCsvOptions options;
  options.Wide = WideBox->isChecked();
  options.StationColumn = StationColumnEdit->text().toStdString();
  options.DateColumn = DateColumnEdit->text().toStdString();
  options.ValueColumn = ValueColumnEdit->text().toStdString();
  options.StationColumnRequired = options.StationColumn != "station";
  options.MissingSentinels = ParseMissingSentinels(MissingEdit->text().toStdString());
  return options;
}

bool RecordsPage::Open(const QString& path) {
  try {
    const DailyCsvOptions options = Options();
    stations_ = ReadDailyCsv(path.toStdString(), options);
    opened_ = options;
  } catch (const NimbraError& e) {
    Message->setText(QString::fromStdString(e.what()));
    return false;
  }
  path_ = path;
  Message->setText(tr("%1: %n station(s)", nullptr, static_cast<int>(stations_.size())).arg(path));
  ShowStations();
  Remember(path);
  emit RecordsOpened();
  return true;
}

void RecordsPage::ShowStations() {
  StationTable->setRowCount(static_cast<int>(stations_.size()));
  for (int row = 0; row < StationTable->rowCount(); ++row) {
    const NamedSeries& station = stations_[static_cast<std::size_t>(row)];
    const StationSummary s = SummariseSeries(station.Station, station.Series);
    QTableWidgetItem* name = Cell(QString::fromStdString(station.Station));
    name->setFlags(name->flags() | Qt::ItemIsUserCheckable);
    name->setCheckState(Qt::Checked);
    StationTable->setItem(row, 0, name);
    StationTable->setItem(row, 1, Cell(QString::fromStdString(FormatDate(s.FirstDay))));
    StationTable->setItem(row, 2, Cell(QString::fromStdString(FormatDate(s.FirstDay + s.Days - 1))));
    StationTable->setItem(row, 3, Count(s.Days));
    StationTable->setItem(row, 4, Count(s.WetDays));
    StationTable->setItem(row, 5, Count(s.MissingDays));
  }
}

std::vector<std::string> RecordsPage::ChosenStations() const {
  std::vector<std::string> chosen;
  for (int row = 0; row < StationTable->rowCount(); ++row) {
    if (StationTable->item(row, 0)->checkState() == Qt::Checked)
      chosen.push_back(StationTable->item(row, 0)->text().toStdString());
  }
  return chosen;
}

bool RecordsPage::AllChosen() const { return ChosenStations().size() == stations_.size(); }

void RecordsPage::ChooseFile() {
  TitleNextDialog(prompts_, tr("Open a daily CSV file"));
  const std::string path = prompts_.ChooseFileToOpen(path_.toStdString(), "CSV files (*.csv);;All files (*)");
  if (!path.empty()) Open(QString::fromStdString(path));
}

void RecordsPage::Remember(const QString& path) {
  QStringList recent = RememberedValue(kRecentKey).toStringList();
  recent.removeAll(path);
  recent.prepend(path);
  while (recent.size() > kRecentFiles) recent.removeLast();
  RememberValue(kRecentKey, recent);
  const QSignalBlocker blocker(RecentBox);
  RecentBox->clear();
  RecentBox->addItems(recent);
  RecentBox->setCurrentIndex(0);
}

void RecordsPage::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void RecordsPage::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (!urls.isEmpty() && urls.first().isLocalFile()) Open(urls.first().toLocalFile());
}

}  // namespace nimbra
