#include "station_seed.h"

#include <cstdint>

namespace nimbra {

int StationSeed(int runSeed, std::string_view station) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : station) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  const auto folded = static_cast<std::uint32_t>(hash ^ (hash >> 32));
  return static_cast<int>(folded ^ static_cast<std::uint32_t>(runSeed));
}

}  // namespace nimbra
