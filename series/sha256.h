#pragma once
// SHA-256 (FIPS 180-4) of a stream of bytes, as `sha256sum` prints it: a run's sidecar
// names its inputs and its output by their digests, so that merge can tell whether the
// shards it joins come from one run and arrived whole.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace nimbra {

class Sha256 {
 public:
  Sha256();
  void Add(std::string_view bytes);
  // The digest of the bytes added so far, in lower-case hexadecimal.
  std::string Hex() const;

 private:
  void Compress(const unsigned char* block);

  std::array<std::uint32_t, 8> state_;
  std::array<unsigned char, 64> block_{};
  std::size_t filled_ = 0;
  std::uint64_t length_ = 0;
};

// The digest of a file's bytes; raises InOutError naming the file when it cannot be read.
std::string Sha256OfFile(const std::string& path);

}  // namespace nimbra
