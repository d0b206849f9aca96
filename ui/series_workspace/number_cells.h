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
// The table's header and cells as CSV text.
std::string TableCsv(const QTableWidget& table);

}  // namespace nimbra
