#pragma once
// The choice of a daily rainfall file to read.

#include <string>

#include "prompts.h"

namespace nimbra {

// Kinds of daily rainfall files and of parameter sets, as a file dialog filters them.
inline constexpr const char* kDailyFileFilters = "Daily rainfall files (*.txt *.dat *.csv);;All files (*)";
inline constexpr const char* kParameterFileFilters = "Parameter sets (*.csv);;All files (*)";

// Asks until the user chooses a file that exists, telling them of each missing one;
// empty when they cancel.
std::string ChooseInputFile(Prompts& prompts, const char* filters = kDailyFileFilters);

}  // namespace nimbra
