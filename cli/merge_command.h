#pragma once
// `nimbra-cli merge`: the hourly CSV files of the shards of one run joined into the file
// a single run writes. Each shard holds whole stations sorted by name; the stations of
// all shards come out sorted by name, their lines unchanged.

#include <ostream>
#include <string>
#include <vector>

namespace nimbra {

struct MergeOptions {
  std::string Output;
  std::vector<std::string> Inputs;
};

int RunMerge(const MergeOptions& options, std::ostream& err);

}  // namespace nimbra
