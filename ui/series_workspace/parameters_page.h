#pragma once
// The Parameters page: the parameter sets by season (and station) as a grid in the columns
// of params.csv, loaded from and saved to that file. A cell that makes its set unreadable
// or unworkable is refused: it takes its old text back and the page says why. The model's
// own hourly and daily statistics of the current row stand below the grid.

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>
#include <optional>

#include "file_field.h"
#include "parameter_table.h"
#include "prompts.h"

namespace nimbra {

class ModelStatisticsPanel;

class ParametersPage : public QWidget {
  Q_OBJECT

 public:
  explicit ParametersPage(Prompts& prompts, QWidget* parent = nullptr);

  // Reads the file into the grid; an error is shown and leaves the grid as it was.
  bool Load(const QString& path);
  // Writes the grid to the file field's path; false (the reason shown) when it cannot.
  bool Save();
  // The table of the grid, checked; nothing when the grid is empty.
  std::optional<ParameterTable> Table() const;
  // The saved file the grid equals; empty while the grid has changes not saved.
  QString SavedPath() const { return modified_ ? QString() : savedPath_; }

  FileField* File = nullptr;
  QPushButton* LoadButton = nullptr;
  QPushButton* SaveButton = nullptr;
  QTableWidget* Grid = nullptr;
  ModelStatisticsPanel* Statistics = nullptr;
  QLabel* Message = nullptr;

 signals:
  void TableChanged();

 private:
  void Fill(const ParameterTable& table);
  void CellEdited(QTableWidgetItem* item);
  void ShowStatistics(int row);

  std::vector<std::vector<std::string>> cells_;  // the grid as last accepted
  QString savedPath_;
  bool modified_ = false;
  bool filling_ = false;
};

}  // namespace nimbra
