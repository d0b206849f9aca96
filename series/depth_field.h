#pragma once
// Rainfall depths in CSV fields: millimetres, 0 to 10000 as in classic files, with the ways a file
// marks a missing value (an empty field, NA, NaN, or a sentinel number such as -999).

#include <string_view>
#include <vector>

#include "csv_reader.h"

namespace nimbra {

inline const std::vector<double> kDefaultMissingSentinels = {-999.0, -999.9};

// The depth in the field, or NaN when the field marks a missing value. Anything else
// raises the reader's field error naming the row and the column.
double ReadDepth(const CsvReader& reader, int column, std::string_view field,
                 const std::vector<double>& missingSentinels);

// "-999,-999.9" as numbers; raises InvalidArgument naming the first entry that is no number.
std::vector<double> ParseMissingSentinels(std::string_view list);

}  // namespace nimbra
