#include "station_seed.h"

#include <gtest/gtest.h>

namespace nimbra {
namespace {

// Validation values of the documented rule: FNV-1a 64 of the name, folded to 32 bits,
// xor the run's seed.
TEST(StationSeed, FollowsTheDocumentedRule) {
  EXPECT_EQ(StationSeed(0, ""), 0x4fd0bfc1);   // 0xcbf29ce4 ^ 0x84222325
  EXPECT_EQ(StationSeed(0, "a"), 0x296230c0);  // 0xaf63dc4c ^ 0x8601ec8c
  EXPECT_EQ(StationSeed(7, "a"), 0x296230c7);
  EXPECT_EQ(StationSeed(-1, "a"), ~0x296230c0);
  EXPECT_NE(StationSeed(0, "Berlin"), StationSeed(0, "berlin"));
}

}  // namespace
}  // namespace nimbra
