#include "parameters_page.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "errors.h"
#include "model_statistics_panel.h"
#include "number_cells.h"
#include "parameter_sheet.h"

namespace nimbra {

ParametersPage::ParametersPage(Prompts& prompts, QWidget* parent) : QWidget(parent) {
  File = new FileField(prompts, FileField::Purpose::Open, tr("Parameters file"),
                       QStringLiteral("series/parameters_file"));
  LoadButton = new QPushButton(tr("&Load"));
  SaveButton = new QPushButton(tr("&Save"));
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(File, 1);
  fileRow->addWidget(LoadButton);
  fileRow->addWidget(SaveButton);
  Grid = new QTableWidget(0, kSheetColumnCount);
  QStringList header;
  for (const char* column : kSheetColumns) header << QString::fromLatin1(column);
  Grid->setHorizontalHeaderLabels(header);
  Grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  Grid->setToolTip(tr("Rows are numbered as the lines of the parameters file"));
  Statistics = new ModelStatisticsPanel;
  Message = new QLabel;
  Message->setWordWrap(true);
  Message->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fileRow);
  layout->addWidget(Grid, 1);
  layout->addWidget(Message);
  layout->addWidget(Statistics);
  connect(LoadButton, &QPushButton::clicked, this, [this] { Load(File->Path()); });
  connect(SaveButton, &QPushButton::clicked, this, &ParametersPage::Save);
  connect(Grid, &QTableWidget::itemChanged, this, &ParametersPage::CellEdited);
  connect(Grid, &QTableWidget::currentCellChanged, this, [this](int row) { ShowStatistics(row); });
}

bool ParametersPage::Load(const QString& path) {
  try {
    Fill(ParameterTable::Read(path.toStdString()));
  } catch (const NimbraError& e) {
    Message->setText(QString::fromStdString(e.what()));
    return false;
  }
  File->SetPath(path);
  savedPath_ = path;
  modified_ = false;
  Message->setText(tr("%1: %n parameter set(s)", nullptr, Grid->rowCount()).arg(path));
  emit TableChanged();
  return true;
}

void ParametersPage::Fill(const ParameterTable& table) {
  cells_ = SheetOf(table);
  filling_ = true;
  {
    const ColumnFitAfterFill fill(Grid);
    Grid->setRowCount(static_cast<int>(cells_.size()));
    QStringList lines;
    for (int row = 0; row < Grid->rowCount(); ++row) {
      lines << QString::number(row + 2);  // the header is the file's first line
      for (int column = 0; column < kSheetColumnCount; ++column) {
        const std::string& text = cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
        Grid->setItem(row, column, new QTableWidgetItem(QString::fromStdString(text)));
      }
    }
    Grid->setVerticalHeaderLabels(lines);
  }
  filling_ = false;
  Grid->setCurrentCell(0, 3);
  ShowStatistics(0);
}

void ParametersPage::CellEdited(QTableWidgetItem* item) {
  if (filling_) return;
  const auto row = static_cast<std::size_t>(item->row());
  const auto column = static_cast<std::size_t>(item->column());
  std::vector<SheetRow> edited = cells_;
  edited[row][column] = item->text().trimmed().toStdString();
  try {
    TableOf(edited);
  } catch (const NimbraError& e) {
    Message->setText(tr("Refused: %1").arg(QString::fromStdString(e.what())));
    filling_ = true;
    item->setText(QString::fromStdString(cells_[row][column]));
    filling_ = false;
    return;
  }
  cells_ = std::move(edited);
  modified_ = true;
  Message->clear();
  ShowStatistics(item->row());
  emit TableChanged();
}

std::optional<ParameterTable> ParametersPage::Table() const {
  if (cells_.empty()) return std::nullopt;
  return TableOf(cells_);
}

bool ParametersPage::Save() {
  try {
    const std::optional<ParameterTable> table = Table();
    if (!table) throw InvalidArgument("There is no parameter set to save");
    SaveParameterTable(*table, File->PathText());
  } catch (const NimbraError& e) {
    Message->setText(QString::fromStdString(e.what()));
    return false;
  }
  savedPath_ = File->Path();
  modified_ = false;
  Message->setText(tr("Saved %1").arg(savedPath_));
  return true;
}

void ParametersPage::ShowStatistics(int row) {
  if (row < 0 || row >= static_cast<int>(cells_.size())) {
    Statistics->Show(std::nullopt);
    return;
  }
  Statistics->Show(TableOf({cells_[static_cast<std::size_t>(row)]}).Rows().front().Parameters);
}

}  // namespace nimbra
