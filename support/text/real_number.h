#pragma once
// Real numbers typed by the user in an edit field, with the locale's decimal
// separator. Data files have their own reader, which always takes the point.

#include <optional>
#include <string>

#include "prompts.h"

namespace nimbra {

// The value of text when it is exactly: blanks, an optional sign, digits with at
// most one decimalSeparator among or after them (at least one digit or the
// separator, so "." alone is 0), then optionally E or e, an optional sign and at
// least one digit ("1e" is refused), then blanks. A value beyond the range of a
// double is refused; one too small for it becomes zero. An empty separator
// admits no fraction.
std::optional<double> ParseRealNumber(const std::string& text, const std::string& decimalSeparator);

// Stores the value of text in value and returns true; otherwise tells the user
// "Must be a real number", leaves value as it was and returns false.
bool ReadRealNumber(const std::string& text, double& value, const std::string& decimalSeparator,
                    Prompts& prompts);

}  // namespace nimbra
