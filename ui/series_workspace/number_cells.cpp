#include "number_cells.h"

#include <QHeaderView>
#include <cmath>

#include "csv_row.h"
#include "format.h"

namespace nimbra {

namespace {

constexpr int kDataRole = Qt::UserRole;

QTableWidgetItem* ReadOnly(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

}  // namespace

QTableWidget* MakeNumberTable(const QStringList& header) {
  auto* table = new QTableWidget(0, static_cast<int>(header.size()));
  table->setHorizontalHeaderLabels(header);
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table->verticalHeader()->hide();
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().lineSpacing() + 8);
  return table;
}

void AddNumberRow(QTableWidget* table, const QStringList& labels, std::initializer_list<double> numbers) {
  const int row = table->rowCount();
  table->insertRow(row);
  int column = 0;
  for (const QString& label : labels) table->setItem(row, column++, ReadOnly(label));
  for (const double number : numbers) {
    const std::string text = std::isnan(number) ? std::string() : FormatSignificant(number, 10);
    QTableWidgetItem* item = ReadOnly(std::isnan(number) ? QString() : QString::number(number, 'g', 5));
    item->setData(kDataRole, QString::fromStdString(text));
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table->setItem(row, column++, item);
  }
}

ColumnFitAfterFill::ColumnFitAfterFill(QTableWidget* table) : table_(table) {
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
}

ColumnFitAfterFill::~ColumnFitAfterFill() {
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

std::string TableCsv(const QTableWidget& table) {
  std::string text;
  const auto append = [&text](int column, const QString& cell) {
    if (column > 0) text += ',';
    text += CsvField(cell.toStdString());
  };
  for (int column = 0; column < table.columnCount(); ++column)
    append(column, table.horizontalHeaderItem(column)->text());
  text += '\n';
  for (int row = 0; row < table.rowCount(); ++row) {
    for (int column = 0; column < table.columnCount(); ++column) {
      const QTableWidgetItem* item = table.item(row, column);
      const QVariant exact = item ? item->data(kDataRole) : QVariant();
      append(column, exact.isValid() ? exact.toString() : (item ? item->text() : QString()));
    }
    text += '\n';
  }
  return text;
}

}  // namespace nimbra
