#include "input_output_check.h"

#include <filesystem>

#include "errors.h"

namespace nimbra {

namespace {

namespace fs = std::filesystem;

void RefuseDirectory(const char* role, const std::string& name) {
  std::error_code error;
  if (!name.empty() && fs::is_directory(name, error)) {
    throw InOutError(std::string("the ") + role + " file " + name + " is a directory");
  }
}

}  // namespace

void CheckInputAndOutput(const std::string& input, const std::string& output) {
  RefuseDirectory("input", input);
  RefuseDirectory("output", output);
  if (input.empty() || output.empty()) return;
  std::error_code error;
  if (fs::equivalent(input, output, error)) {
    throw InOutError("the output file " + output + " is the input file " + input +
                     ": writing it would destroy the input before it is read");
  }
}

}  // namespace nimbra
