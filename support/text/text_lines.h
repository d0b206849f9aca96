#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nimbra {

// Splits text at CR LF, CR or LF; an empty text is one empty line.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace nimbra
