#include "csv_field.h"

namespace nimbra {

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",;\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

}  // namespace nimbra
