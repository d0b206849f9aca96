#pragma once
// The header and parameters lines of the classic daily input file, both optional: `D` or
// `H` (records with 24 observed hours), the number of values to skip before each depth
// and a title; then `P DaysPerMonth Lambda Kappa Phi Alpha Nu MuX SigmaX`.

#include <array>
#include <optional>
#include <string>

#include "input_tokens.h"

namespace nimbra {

// The days per month and the seven rates of an input file's parameters line.
struct ParametersLine {
  int daysPerMonth = 0;
  std::array<double, 7> rates{};  // Lambda, Kappa, Phi, Alpha, Nu, MuX, SigmaX
};

struct InputHeader {
  bool HasHours = false;
  int SkipCount = 0;
  std::optional<ParametersLine> Parameters;
};

// Reads from the start of the text (a UTF-8 byte-order mark passed over) up to the first
// record. A bad line raises InputError or InvalidArgument naming its line of fileName.
InputHeader ReadInputHeaderLines(InputScanner& scan, const std::string& fileName);

}  // namespace nimbra
