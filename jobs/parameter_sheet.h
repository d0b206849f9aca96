#pragma once
// The parameters file as a user edits it in a grid: one text per cell, in the columns of
// params.csv. A sheet becomes a table through the file's own reader, so a cell is held to
// exactly what the file may hold, and each set to the range the generator draws with.

#include <string>
#include <vector>

#include "parameter_table.h"

namespace nimbra {

inline constexpr const char* kSheetColumns[] = {"station",    "season",     "months", "lambda", "kappa",
                                                "phi",        "alpha",      "nu",     "mu_x",   "sigma_x",
                                                "calibrated", "rep_factor", "rep_min"};
inline constexpr int kSheetColumnCount = 13;

using SheetRow = std::vector<std::string>;  // kSheetColumnCount cells

std::vector<SheetRow> SheetOf(const ParameterTable& table);

// Raises InputError naming the sheet's row (from 1) and column of the first bad cell, or the
// range that works for a set the generator cannot draw with.
ParameterTable TableOf(const std::vector<SheetRow>& rows);

// The file nimbra-cli reads, with the calibrated, rep_factor and rep_min columns; written
// whole or not at all.
void SaveParameterTable(const ParameterTable& table, const std::string& path);

}  // namespace nimbra
