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

// Validation values of the parts' streams: part k xors k * 0x9e3779b9 (mod 2^32) into the seed.
TEST(StationSeed, PartsFollowTheDocumentedRule) {
  EXPECT_EQ(PartSeed(0x296230c0, 0), 0x296230c0);
  EXPECT_EQ(PartSeed(0x296230c0, 1), static_cast<int>(0xb7554979u));
  EXPECT_EQ(PartSeed(0, 2), 0x3c6ef372);
  EXPECT_EQ(PartSeed(-1, 1), 0x61c88646);
}

// The shard is the whole 64-bit hash modulo the shard count, not the folded seed.
TEST(StationSeed, ShardFollowsTheDocumentedRule) {
  struct Case {
    const char* station;
    int shards;
    int shard;
  };
  const Case cases[] = {{"Tempelhof", 4, 3}, {"Tempelhof", 7, 0}, {"Tempelhof", 1000, 707},
                        {"B,q", 3, 1},       {"B,q", 1000, 318},  {"Dahlem", 7, 6},
                        {"", 3, 2},          {"A", 1, 0},         {"S2", 1000000, 33040}};
  for (const Case& c : cases)
    EXPECT_EQ(StationShard(c.station, c.shards), c.shard) << c.station << " of " << c.shards;
}

}  // namespace
}  // namespace nimbra
