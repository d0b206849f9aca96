#pragma once
// `nimbra-cli merge`: the hourly CSV files of the shards of one run joined into the file
// a single run writes. Each shard's sidecar says which run wrote it, which shard it is, how
// many rows it wrote and the digest of its bytes; merge joins only the whole set of shards
// of one run, each file as its run wrote it, and writes the sidecar of the joined file. Each
// shard holds whole stations sorted by name, each station's hours in order; the stations of
// all shards come out sorted by name, their rows unchanged.

#include <ostream>
#include <string>
#include <vector>

namespace nimbra {

struct MergeOptions {
  std::string Output;
  std::vector<std::string> Inputs;
  std::vector<std::string> CommandLine;
};

int RunMerge(const MergeOptions& options, std::ostream& err);

}  // namespace nimbra
