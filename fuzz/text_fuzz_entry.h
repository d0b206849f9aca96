#pragma once
// libFuzzer's entry point for a target that reads its input as the text of a file: the
// target defines nimbra::ReadAll and includes this header in its one source file.

#include <cstddef>
#include <cstdint>
#include <string>

namespace nimbra {
void ReadAll(const std::string& bytes);
}  // namespace nimbra

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  nimbra::ReadAll(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
