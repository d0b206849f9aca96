#include "station_seed.h"

#include <cstdint>

namespace nimbra {

namespace {

std::uint64_t NameHash(std::string_view station) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : station) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

}  // namespace

int StationShard(std::string_view station, int shards) {
  return static_cast<int>(NameHash(station) % static_cast<std::uint64_t>(shards));
}

int StationSeed(int runSeed, std::string_view station) {
  const std::uint64_t hash = NameHash(station);
  const auto folded = static_cast<std::uint32_t>(hash ^ (hash >> 32));
  return static_cast<int>(folded ^ static_cast<std::uint32_t>(runSeed));
}

int PartSeed(int stationSeed, int part) {
  // The golden ratio's odd 32-bit multiple: k * it is distinct for every k below 2^32.
  constexpr std::uint32_t kSpread = 2654435769u;
  return static_cast<int>(static_cast<std::uint32_t>(stationSeed) ^
                          (static_cast<std::uint32_t>(part) * kSpread));
}

}  // namespace nimbra
