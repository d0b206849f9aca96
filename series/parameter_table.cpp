#include "parameter_table.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>

#include "civil_date.h"
#include "daily_csv_reader.h"
#include "errors.h"
#include "parameter_checks.h"

namespace nimbra {

namespace {

constexpr std::array<const char*, 7> kParameterColumns = {"lambda", "kappa", "phi",    "alpha",
                                                          "nu",     "mu_x",  "sigma_x"};
// The engine's names of the same parameters, in its messages.
constexpr std::array<const char*, 7> kParameterNames = {"Lambda", "Kappa", "Phi",   "Alpha",
                                                        "Nu",     "MuX",   "SigmaX"};

struct Columns {
  int Station = -1;
  int Season = -1;
  int Months = -1;
  std::array<int, 7> Parameters{};
  int Calibrated = -1;
  int RepFactor = -1;
  int RepMin = -1;
};

Columns FindColumns(const CsvReader& reader) {
  Columns columns;
  columns.Station = reader.ColumnIndex("station");
  columns.Season = reader.RequireColumn("season");
  columns.Months = reader.ColumnIndex("months");
  for (std::size_t i = 0; i < kParameterColumns.size(); ++i) {
    columns.Parameters[i] = reader.RequireColumn(kParameterColumns[i]);
  }
  columns.Calibrated = reader.ColumnIndex("calibrated");
  columns.RepFactor = reader.ColumnIndex("rep_factor");
  columns.RepMin = reader.ColumnIndex("rep_min");
  return columns;
}

double ReadPositive(const CsvReader& reader, int column, std::string_view field) {
  double value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc() || end != field.data() + field.size() || !std::isfinite(value) || value <= 0) {
    reader.FailField(column, "a positive number", field);
  }
  return value;
}

Season ReadSeason(const CsvReader& reader, const Columns& columns,
                  const std::vector<std::string_view>& fields) {
  const std::string_view name = fields[columns.Season];
  if (name == "all") return {std::string(name), kAllMonths};
  if (const auto month = ParseMonthList(name); month && name.size() <= 2) return {std::string(name), *month};
  if (name.empty()) reader.FailField(columns.Season, "a month 1 to 12, 'all' or a season name", name);
  if (columns.Months < 0) {
    reader.FailLine("expected a column 'months' with the months of season '" + std::string(name) + "'");
  }
  const auto months = ParseMonthList(fields[columns.Months]);
  if (!months)
    reader.FailField(columns.Months, "month numbers 1 to 12 separated by blanks", fields[columns.Months]);
  return {std::string(name), *months};
}

ModelParameters ReadParameters(const CsvReader& reader, const Columns& columns,
                               const std::vector<std::string_view>& fields) {
  std::array<double, 7> v{};
  for (std::size_t i = 0; i < v.size(); ++i) {
    v[i] = ReadPositive(reader, columns.Parameters[i], fields[columns.Parameters[i]]);
  }
  return {v[0], v[1], v[2], v[3], v[4], v[5], v[6]};
}

// A set the storm generator cannot draw with is refused at its column, as the classic
// mode refuses it, before any station runs.
void RefuseUnworkable(const CsvReader& reader, const Columns& columns, const ModelParameters& parameters) {
  try {
    parameters.Validate();
  } catch (const UnworkableParameter& e) {
    const auto name = std::find(kParameterNames.begin(), kParameterNames.end(), e.Parameter());
    if (name == kParameterNames.end()) reader.FailLine(e.what());
    reader.FailColumn(columns.Parameters[static_cast<std::size_t>(name - kParameterNames.begin())], e.what());
  }
}

// An empty field, or an absent column, leaves the setting to the run's options.
std::optional<int> ReadRepetitions(const CsvReader& reader, int column,
                                   const std::vector<std::string_view>& fields, int highest) {
  if (column < 0 || fields[column].empty()) return std::nullopt;
  const std::string_view field = fields[column];
  int value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc() || end != field.data() + field.size() || value < 1 || value > highest) {
    reader.FailField(column, "a whole number from 1 to " + std::to_string(highest), field);
  }
  return value;
}

bool ReadCalibrated(const CsvReader& reader, int column, const std::vector<std::string_view>& fields) {
  if (column < 0 || fields[column].empty() || fields[column] == "no") return false;
  if (fields[column] != "yes") reader.FailField(column, "yes, no or nothing", fields[column]);
  return true;
}

std::string StationText(const std::string& station) {
  return station.empty() ? "every station" : "station '" + station + "'";
}

}  // namespace

ParameterTable ParameterTable::Read(const std::string& path) {
  CsvReader reader = CsvReader::Open(path);
  return Read(reader);
}

ParameterTable ParameterTable::Read(CsvReader& reader) {
  ParameterTable table;
  table.path_ = reader.Path();
  const Columns columns = FindColumns(reader);
  std::vector<std::string_view> fields;
  while (reader.NextRow(fields)) {
    reader.RequireFieldCount(fields.size());
    SeasonParameters row;
    if (columns.Station >= 0) row.Station = std::string(fields[columns.Station]);
    row.Season = ReadSeason(reader, columns, fields);
    row.Parameters = ReadParameters(reader, columns, fields);
    RefuseUnworkable(reader, columns, row.Parameters);
    row.Calibrated = ReadCalibrated(reader, columns.Calibrated, fields);
    row.RepFactor = ReadRepetitions(reader, columns.RepFactor, fields, 200);
    row.RepMin = ReadRepetitions(reader, columns.RepMin, fields, 1000);
    row.Line = reader.Line();
    table.Add(reader, std::move(row));
  }
  if (table.rows_.empty())
    throw InputError(table.path_ + ": expected at least one parameter set, found none");
  return table;
}

void ParameterTable::Add(const CsvReader& reader, SeasonParameters row) {
  for (const SeasonParameters& other : rows_) {
    const MonthSet shared = other.Season.Months & row.Season.Months;
    if (other.Station != row.Station || shared == 0) continue;
    throw InputError(reader.Path() + ", lines " + std::to_string(other.Line) + " and " +
                     std::to_string(row.Line) + ": " + StationText(row.Station) +
                     " has two parameter sets for months " + MonthListText(shared));
  }
  rows_.push_back(std::move(row));
}

std::vector<SeasonParameters> ParameterTable::RowsFor(const std::string& station) const {
  std::vector<SeasonParameters> rows;
  MonthSet own = 0;
  for (const SeasonParameters& row : rows_) {
    if (row.Station.empty() || row.Station != station) continue;
    rows.push_back(row);
    own |= row.Season.Months;
  }
  for (const SeasonParameters& row : rows_) {
    if (!row.Station.empty() || (row.Season.Months & ~own) == 0) continue;
    rows.push_back(row);
    rows.back().Season.Months &= static_cast<MonthSet>(~own);
  }
  return rows;
}

ParametersByMonth ParameterTable::For(const std::string& station, MonthSet monthsUsed) const {
  ParametersByMonth byMonth{};
  MonthSet covered = 0;
  for (const SeasonParameters& row : RowsFor(station)) {
    for (int month = 1; month <= 12; ++month) {
      if (row.Season.Covers(month)) byMonth[month - 1] = row.Parameters;
    }
    covered |= row.Season.Months;
  }
  // A station without a value needs no set, yet the engine starts from one: any set
  // of the table serves, which no wet sequence will use.
  if (covered == 0 && monthsUsed == 0) byMonth.fill(rows_.front().Parameters);
  const MonthSet open = monthsUsed & static_cast<MonthSet>(~covered);
  if (open != 0) {
    throw InputError(path_ + ": station '" + station + "' has days in months " + MonthListText(open) +
                     ", which no parameter set covers");
  }
  // The engine starts from the set of the series' first month, which may hold no value:
  // a month without a set takes a covered one, which no wet sequence will use.
  const int anyCovered = std::countr_zero(static_cast<unsigned>(covered));
  for (int month = 1; month <= 12 && covered != 0; ++month) {
    if ((covered & MonthBit(month)) == 0) byMonth[month - 1] = byMonth[anyCovered];
  }
  return byMonth;
}

void ParameterTable::RefuseUnknownStations(const std::vector<std::string>& stations,
                                           const std::string& dataPath) const {
  for (const SeasonParameters& row : rows_) {
    if (row.Station.empty() || std::binary_search(stations.begin(), stations.end(), row.Station)) continue;
    throw InputError(path_ + ", line " + std::to_string(row.Line) + ": station '" + row.Station +
                     "' is not in " + dataPath);
  }
}

std::vector<std::string> ParameterTable::Warnings() const {
  std::vector<std::string> warnings;
  for (const SeasonParameters& row : rows_) {
    for (const std::string& warning : ParameterWarnings(row.Parameters)) {
      warnings.push_back(path_ + ", line " + std::to_string(row.Line) + ": " + warning);
    }
  }
  return warnings;
}

MonthSet MonthsWithValues(const StationSeries& series) {
  MonthSet months = 0;
  for (std::size_t i = 0; i < series.Daily.size() && months != kAllMonths; ++i) {
    if (!std::isnan(series.Daily[i])) months |= MonthBit(CivilFromDays(series.FirstDay + i).Month);
  }
  return months;
}

}  // namespace nimbra
