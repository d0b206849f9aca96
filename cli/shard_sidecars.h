#pragma once
// The sidecars of the shards given to merge, read and checked to make one whole run: the
// same run (inputs, parameters, seed, options, version), the same number of shards, each
// shard once and none missing.

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace nimbra {

struct ShardSidecar {
  std::string Path;  // of the shard's hourly file
  nlohmann::ordered_json Json;
  int Index = 0;
  int Count = 1;
  std::int64_t Rows = 0;
  std::string Sha256;
};

// Reads `<shard>.json` of each shard and checks that they make one run; raises InputError
// or InOutError naming the shard and why.
std::vector<ShardSidecar> ReadShardSidecars(const std::vector<std::string>& shards);

// The sidecar of the joined file: the run's own, with every station, the rows and digest of
// the joined file, and the command line of the merge.
nlohmann::ordered_json MergedSidecar(const std::vector<ShardSidecar>& shards, std::int64_t rows,
                                     const std::string& sha256, const std::vector<std::string>& commandLine);

}  // namespace nimbra
