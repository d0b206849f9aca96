#include "merge_command.h"

#include <fstream>
#include <memory>

#include "atomic_file.h"
#include "errors.h"

namespace nimbra {

namespace {

// One shard file read a station block at a time.
class ShardFile {
 public:
  explicit ShardFile(const std::string& path) : path_(path), in_(path, std::ios::binary) {
    if (!in_) throw InOutError(path + ": cannot open the file");
    if (!std::getline(in_, header_)) throw InputError(path + ": the file is empty");
    Advance();
  }

  const std::string& Header() const { return header_; }
  const std::string& Path() const { return path_; }
  bool Ended() const { return ended_; }
  const std::string& Station() const { return station_; }

  // Copies the lines of the current station to out and moves to the next station.
  void CopyStation(std::ostream& out) {
    const std::string station = station_;
    while (!ended_ && station_ == station) {
      out << line_ << '\n';
      Advance();
    }
    if (!ended_ && station_ < station) {
      throw InputError(path_ + ", line " + std::to_string(lineNumber_) + ": station '" + station_ +
                       "' comes after '" + station + "'; a shard's stations must be sorted by name");
    }
  }

 private:
  void Advance() {
    ended_ = !std::getline(in_, line_);
    if (ended_) return;
    ++lineNumber_;
    station_ = line_.substr(0, line_.find(','));
  }

  std::string path_;
  std::ifstream in_;
  std::string header_;
  std::string line_;
  std::string station_;
  long long lineNumber_ = 1;
  bool ended_ = false;
};

ShardFile* FirstStation(const std::vector<std::unique_ptr<ShardFile>>& shards) {
  ShardFile* first = nullptr;
  for (const auto& shard : shards) {
    if (shard->Ended()) continue;
    if (first != nullptr && shard->Station() == first->Station()) {
      throw InputError("station '" + shard->Station() + "' is in both " + first->Path() + " and " +
                       shard->Path() + "; shards of one run hold different stations");
    }
    if (first == nullptr || shard->Station() < first->Station()) first = shard.get();
  }
  return first;
}

void Merge(const MergeOptions& options) {
  std::vector<std::unique_ptr<ShardFile>> shards;
  for (const std::string& path : options.Inputs) {
    shards.push_back(std::make_unique<ShardFile>(path));
    if (shards.back()->Header() != shards.front()->Header()) {
      throw InputError(path + ", line 1: the header differs from the one of " + options.Inputs.front());
    }
  }
  AtomicFile output(options.Output);
  output.Stream() << shards.front()->Header() << '\n';
  while (ShardFile* shard = FirstStation(shards)) shard->CopyStation(output.Stream());
  output.Commit();
}

}  // namespace

int RunMerge(const MergeOptions& options, std::ostream& err) {
  try {
    Merge(options);
  } catch (const NimbraError& e) {
    err << "nimbra-cli merge: " << e.what() << '\n';
    return 2;
  }
  return 0;
}

}  // namespace nimbra
