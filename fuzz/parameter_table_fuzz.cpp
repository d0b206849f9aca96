// Feeds arbitrary bytes to the reader of parameter tables and asks the table for a
// station's sets. Errors of the file are expected; a crash, a sanitizer report, an
// escaping exception of another kind or a set the storm generator cannot draw with is a
// finding: the reader refuses those up front.

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>

#include "errors.h"
#include "parameter_table.h"
#include "text_fuzz_entry.h"

namespace nimbra {
namespace {

void RequireDrawable(const ParametersByMonth& sets) {
  for (const ModelParameters& set : sets) {
    try {
      set.Validate();
    } catch (const InvalidArgument& e) {
      std::cerr << "the table gave a set the generator cannot draw with: " << e.what() << '\n';
      std::abort();
    }
  }
}

}  // namespace

void ReadAll(const std::string& bytes) {
  try {
    CsvReader reader("fuzz.csv", bytes);
    const ParameterTable table = ParameterTable::Read(reader);
    const std::string station = table.Rows().front().Station;
    RequireDrawable(table.For(station, 0));
    RequireDrawable(table.For(station, table.Rows().front().Season.Months));
  } catch (const NimbraError&) {
  }
}

}  // namespace nimbra
