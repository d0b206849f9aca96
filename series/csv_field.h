#pragma once
// A user's text as one field of the CSV files we write: quoted when it holds a separator,
// a quote or a line end, so that a station named "Berlin, Tempelhof" reads back whole.

#include <string>
#include <string_view>

namespace nimbra {

std::string CsvField(std::string_view text);

}  // namespace nimbra
