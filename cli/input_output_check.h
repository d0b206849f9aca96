#pragma once
// Checks made before a file is opened, because opening the output truncates it: an
// output that is the input would destroy the data before it is read.

#include <string>

namespace nimbra {

// Throws InOutError when the input or the output is a directory, or when the output
// names the input file, by the same path or through a link. Empty names are not checked.
void CheckInputAndOutput(const std::string& input, const std::string& output);

}  // namespace nimbra
