#pragma once
// The choice of the hourly output file, and the checks that keep it from destroying data.

#include <optional>
#include <string>

#include "prompts.h"

namespace nimbra {

inline constexpr const char* kHourlyFileFilters = "Hourly rainfall files (*.txt);;All files (*)";

// Whether the two names are one file, by the same path or through a link.
bool SameFile(const std::string& first, const std::string& second);

// Asks until the user settles on a new file, an existing one to overwrite, or cancels
// (nothing then). The input file the run reads is refused with a message naming both.
std::optional<std::string> ChooseOutputFile(Prompts& prompts, const std::string& input);

// The message that refuses output as the file the run reads.
std::string InputAsOutputMessage(const std::string& output, const std::string& input);

}  // namespace nimbra
