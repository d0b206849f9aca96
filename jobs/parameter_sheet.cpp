#include "parameter_sheet.h"

#include "atomic_file.h"
#include "calibration_output.h"
#include "csv_row.h"
#include "errors.h"
#include "format.h"
#include "parameter_checks.h"

namespace nimbra {

namespace {

constexpr const char* kSheetName = "parameter table";

std::string Optional(const std::optional<int>& value) {
  return value ? std::to_string(*value) : std::string();
}

// The CSV text of the sheet: a header line, then row r of the sheet on line r + 1.
std::string CsvText(const std::vector<SheetRow>& rows) {
  std::string text;
  for (int column = 0; column < kSheetColumnCount; ++column) {
    if (column > 0) text += ',';
    text += kSheetColumns[column];
  }
  text += '\n';
  for (const SheetRow& row : rows) {
    for (std::size_t column = 0; column < row.size(); ++column) {
      if (column > 0) text += ',';
      text += CsvField(row[column]);
    }
    text += '\n';
  }
  return text;
}

}  // namespace

std::vector<SheetRow> SheetOf(const ParameterTable& table) {
  std::vector<SheetRow> rows;
  for (const SeasonParameters& r : table.Rows()) {
    const ModelParameters& p = r.Parameters;
    const bool named =
        r.Season.Name != "all" && !(r.Season.Name.size() <= 2 && ParseMonthList(r.Season.Name));
    SheetRow row{r.Station, r.Season.Name, named ? MonthListText(r.Season.Months) : ""};
    for (const double v : {p.Lambda, p.Kappa, p.Phi, p.Alpha, p.Nu, p.MuX, p.SigmaX})
      row.push_back(FormatSignificant(v, 10));
    row.insert(row.end(), {r.Calibrated ? "yes" : "no", Optional(r.RepFactor), Optional(r.RepMin)});
    rows.push_back(row);
  }
  return rows;
}

ParameterTable TableOf(const std::vector<SheetRow>& rows) {
  CsvReader reader(kSheetName, CsvText(rows));
  const ParameterTable table = ParameterTable::Read(reader);
  for (const SeasonParameters& row : table.Rows()) {
    try {
      RefuseUnworkableParameters(row.Parameters, row.Parameters.SigmaX != row.Parameters.MuX);
    } catch (const InvalidArgument& e) {
      throw InputError(std::string(kSheetName) + ", line " + std::to_string(row.Line) + ": " + e.what());
    }
  }
  return table;
}

void SaveParameterTable(const ParameterTable& table, const std::string& path) {
  std::vector<RowCalibration> rows;
  for (const SeasonParameters& row : table.Rows()) rows.push_back({row, std::nullopt, {}});
  AtomicFile file(path);
  WriteCalibratedParameters(rows, file.Stream());
  file.Commit();
}

}  // namespace nimbra
