#pragma once
// The bytes of a file a window test compares.

#include <fstream>
#include <iterator>
#include <string>

namespace nimbra {

inline std::string ReadWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace nimbra
