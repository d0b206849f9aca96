#pragma once
// Read-only tables of labels and numbers, as the workspace's pages list results, and their
// export as CSV (numbers with the point, to ten significant digits, as our files write them).

#include <QStringList>
#include <QTableWidget>
#include <initializer_list>
#include <string>

namespace nimbra {

QTableWidget* MakeNumberTable(const QStringList& header);
// A row of labels, then numbers; a NaN shows as an empty cell.
void AddNumberRow(QTableWidget* table, const QStringList& labels, std::initializer_list<double> numbers);
// While it lives, a table whose columns fit their contents does not fit them after each
// cell set (a shown table measures the whole column each time: hundreds of milliseconds
// for a few hundred cells); they are fitted once when it goes.
class ColumnFitAfterFill {
 public:
  explicit ColumnFitAfterFill(QTableWidget* table);
  ~ColumnFitAfterFill();
  ColumnFitAfterFill(const ColumnFitAfterFill&) = delete;
  ColumnFitAfterFill& operator=(const ColumnFitAfterFill&) = delete;

 private:
  QTableWidget* table_;
};

// The table's header and cells as CSV text.
std::string TableCsv(const QTableWidget& table);

}  // namespace nimbra
