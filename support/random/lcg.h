#pragma once
// The linear congruential generator modulo 2^32 behind every random number of the
// model, and its jump ahead: the state n advances later in O(log n) steps, so that a
// worker can start directly at any point of a seed's stream.

#include <cstdint>

namespace nimbra {

inline constexpr std::uint32_t kLcgMultiplier = 134775813u;
inline constexpr std::uint32_t kLcgIncrement = 1u;

constexpr std::uint32_t LcgNext(std::uint32_t state) { return state * kLcgMultiplier + kLcgIncrement; }

// n advances compose to one affine map x -> a x + c modulo 2^32, built by squaring.
constexpr std::uint32_t LcgJump(std::uint32_t state, std::uint64_t steps) {
  std::uint32_t a = kLcgMultiplier;
  std::uint32_t c = kLcgIncrement;
  for (; steps != 0; steps >>= 1) {
    if (steps & 1) state = state * a + c;
    c = a * c + c;
    a = a * a;
  }
  return state;
}

}  // namespace nimbra
