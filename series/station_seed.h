#pragma once
// The random seed and the shard of one station in a run of many: derived from the run's seed and the
// station's name alone, so that a station's hours do not depend on which other stations
// the file holds or in what order.
//
// Rule: h = FNV-1a 64-bit hash of the name's bytes (offset 14695981039346656037, prime
// 1099511628211); the station's seed is the 32-bit two's-complement value of
// (h xor (h >> 32)) xor runSeed, taken as unsigned 32-bit arithmetic.

#include <string_view>

namespace nimbra {

int StationSeed(int runSeed, std::string_view station);

// The seed of part k (from 0) of a station whose parameter sets ask for different repetition
// settings, so that no two parts draw the same numbers: part 0 keeps the station's seed, part k
// takes stationSeed xor (k * 2654435769), in unsigned 32-bit arithmetic.
int PartSeed(int stationSeed, int part);

// The shard, from 0 to shards - 1, that processes the station when a run is split over
// several machines: h modulo shards, with h the hash above. Stable across runs and
// independent of the other stations.
int StationShard(std::string_view station, int shards);

}  // namespace nimbra
