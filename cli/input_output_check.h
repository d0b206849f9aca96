#pragma once
// Checks made before any file of a run is opened, because creating an output truncates or
// replaces it: an output that is an input, or two outputs that are one file, would destroy
// data. Files are compared by what they are, so a link, a relative path or a name that
// does not exist yet all count.

#include <string>
#include <vector>

namespace nimbra {

struct NamedFile {
  std::string Path;
  std::string Role;  // how the user named it, such as "-o" or "the sidecar of -o"; may be empty
};

// Throws InOutError naming both paths when an output is an input or another output, and
// naming the path when an input or an output is a directory. Empty paths are not checked.
// Character devices (/dev/null, a terminal) are never taken as a clash.
void CheckFiles(const std::vector<NamedFile>& inputs, const std::vector<NamedFile>& outputs);

// The classic run's one input and one output.
void CheckInputAndOutput(const std::string& input, const std::string& output);

}  // namespace nimbra
