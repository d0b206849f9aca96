#pragma once
// The Records page: a daily CSV file opened (browse, recent files, or dropped on the page)
// in the layouts nimbra-cli disaggregate reads, its stations listed with their period,
// days, wet days and missing days, each with a box to choose it.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QWidget>
#include <vector>

#include "daily_csv_reader.h"
#include "prompts.h"

namespace nimbra {

class RecordsPage : public QWidget {
  Q_OBJECT

 public:
  explicit RecordsPage(Prompts& prompts, QWidget* parent = nullptr);

  // Reads the file with the options on the page; a reading error is shown on the page and
  // leaves the records as they were. True when the file was read.
  bool Open(const QString& path);
  const QString& Path() const { return path_; }
  // The layout options as the fields give them now; raises InvalidArgument for bad markers.
  DailyCsvOptions Options() const;
  // The options the open file was read with.
  const DailyCsvOptions& OpenedOptions() const { return opened_; }
  int DayStart() const { return DayStartBox->value(); }
  const std::vector<NamedSeries>& Stations() const { return stations_; }
  std::vector<std::string> ChosenStations() const;
  bool AllChosen() const;

  QComboBox* RecentBox = nullptr;
  QPushButton* BrowseButton = nullptr;
  QCheckBox* WideBox = nullptr;
  QLineEdit* StationColumnEdit = nullptr;
  QLineEdit* DateColumnEdit = nullptr;
  QLineEdit* ValueColumnEdit = nullptr;
  QLineEdit* MissingEdit = nullptr;
  QSpinBox* DayStartBox = nullptr;
  QTableWidget* StationTable = nullptr;
  QLabel* Message = nullptr;

 signals:
  void RecordsOpened();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QWidget* BuildOptions();
  void ChooseFile();
  void ShowStations();
  void Remember(const QString& path);

  Prompts& prompts_;
  QString path_;
  DailyCsvOptions opened_;
  std::vector<NamedSeries> stations_;
};

}  // namespace nimbra
