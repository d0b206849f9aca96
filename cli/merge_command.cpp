#include "merge_command.h"

#include <fstream>
#include <memory>

#include "atomic_file.h"
#include "command_output.h"
#include "csv_row.h"
#include "errors.h"
#include "input_output_check.h"
#include "sha256.h"
#include "shard_sidecars.h"
#include "shown_text.h"
#include "station_seed.h"
#include "subcommand_run.h"

namespace nimbra {

namespace {

constexpr std::string_view kHourlyHeader = "station,time,precip_mm";

// One shard file read a station block at a time, each row checked on the way: in order,
// of this shard, and the file whole as its sidecar describes it.
class ShardFile {
 public:
  explicit ShardFile(const ShardSidecar& sidecar) : sidecar_(sidecar), in_(sidecar.Path, std::ios::binary) {
    if (!in_) throw InOutError(sidecar.Path + ": cannot open the file");
    rowLine_ = 1;
    if (!ReadLine(header_) || header_ != kHourlyHeader) {
      Fail("expected the header '" + std::string(kHourlyHeader) + "' of an hourly file, found '" +
           Shown(header_) + "'");
    }
    Advance();
  }

  const std::string& Path() const { return sidecar_.Path; }
  bool Ended() const { return ended_; }
  const std::string& Station() const { return station_; }

  // Copies the rows of the current station to out and moves to the next station.
  void CopyStation(std::ostream& out) {
    const std::string station = station_;
    const int home = StationShard(station, sidecar_.Count);
    if (home != sidecar_.Index) {
      Fail("station '" + Shown(station) + "' belongs to shard " + std::to_string(home) + "/" +
           std::to_string(sidecar_.Count) + ", not to this shard " + std::to_string(sidecar_.Index));
    }
    std::string lastTime;
    for (bool first = true; !ended_ && station_ == station; first = false) {
      if (!first && time_ <= lastTime) {
        Fail("hour '" + Shown(time_) + "' comes after '" + Shown(lastTime) +
             "'; a station's hours must be in order");
      }
      lastTime = time_;
      out << row_;
      Advance();
    }
    if (!ended_ && station_ < station) {
      Fail("station '" + Shown(station_) + "' comes after '" + Shown(station) +
           "'; a shard's stations must be sorted by name");
    }
  }

 private:
  // A line and its line end, digested as read; false at the end of the file.
  bool ReadLine(std::string& line) {
    if (!std::getline(in_, line)) return false;
    ++line_;
    digest_.Add(line);
    if (in_.eof()) {
      cut_ = true;
    } else {
      digest_.Add("\n");
    }
    return true;
  }

  void Advance() {
    std::string line;
    ended_ = !ReadLine(line);
    if (ended_) return Finish();
    rowLine_ = line_;
    row_ = line + '\n';
    std::size_t pos = 0;
    CsvRowStatus status;
    while ((status = splitter_.Split(row_, pos, fields_)) == CsvRowStatus::OpenQuote && ReadLine(line)) {
      row_ += line + '\n';
    }
    if (status != CsvRowStatus::Complete || cut_)
      Fail("the row is cut off: the file ends in the middle of it");
    if (fields_.size() != 3)
      Fail("expected 3 fields as in the header, found " + std::to_string(fields_.size()));
    station_ = fields_[0];
    time_ = fields_[1];
    ++rows_;
  }

  // The file read to its end: it must be the one its run wrote.
  void Finish() {
    if (rows_ != sidecar_.Rows) {
      Fail("holds " + std::to_string(rows_) + " rows where its run wrote " + std::to_string(sidecar_.Rows) +
           ": the file was cut or changed");
    }
    if (digest_.Hex() != sidecar_.Sha256) {
      Fail(
          "its bytes differ from those its run wrote (the digest in its sidecar): the file was cut or "
          "changed");
    }
  }

  [[noreturn]] void Fail(const std::string& why) const {
    throw InputError(sidecar_.Path + ", line " + std::to_string(ended_ ? line_ : rowLine_) + ": " + why);
  }

  const ShardSidecar& sidecar_;
  std::ifstream in_;
  Sha256 digest_;
  CsvRowSplitter splitter_{','};
  std::vector<std::string_view> fields_;
  std::string header_;
  std::string row_;
  std::string station_;
  std::string time_;
  std::int64_t rows_ = 0;
  long long line_ = 0;
  long long rowLine_ = 0;
  bool cut_ = false;
  bool ended_ = false;
};

ShardFile* FirstStation(const std::vector<std::unique_ptr<ShardFile>>& shards) {
  ShardFile* first = nullptr;
  for (const auto& shard : shards) {
    if (shard->Ended()) continue;
    if (first != nullptr && shard->Station() == first->Station()) {
      throw InputError("station '" + Shown(shard->Station()) + "' is in both " + first->Path() + " and " +
                       shard->Path() + "; shards of one run hold different stations");
    }
    if (first == nullptr || shard->Station() < first->Station()) first = shard.get();
  }
  return first;
}

void CheckMergeFiles(const MergeOptions& options) {
  std::vector<NamedFile> inputs;
  for (const std::string& path : options.Inputs) {
    inputs.push_back({path, "a shard"});
    inputs.push_back({path + ".json", "a shard's sidecar"});
  }
  CheckFiles(inputs, {{options.Output, "-o"}, {options.Output + ".json", "the sidecar of -o"}});
}

void Merge(const MergeOptions& options, std::ostream& log) {
  CheckMergeFiles(options);
  const std::vector<ShardSidecar> sidecars = ReadShardSidecars(options.Inputs);
  std::vector<std::unique_ptr<ShardFile>> shards;
  for (const ShardSidecar& sidecar : sidecars) shards.push_back(std::make_unique<ShardFile>(sidecar));
  AtomicFile output(options.Output);
  SayHowWritten(output, log);
  output.Stream() << kHourlyHeader << '\n';
  while (ShardFile* shard = FirstStation(shards)) shard->CopyStation(output.Stream());
  if (output.Straight()) return output.Commit();
  output.Close();
  std::int64_t rows = 0;
  for (const ShardSidecar& sidecar : sidecars) rows += sidecar.Rows;
  AtomicFile sidecar(options.Output + ".json");
  sidecar.Stream() << MergedSidecar(sidecars, rows, output.Sha256Hex(), options.CommandLine).dump(2) << '\n';
  AtomicFile::CommitTogether(output, sidecar);
}

}  // namespace

int RunMerge(const MergeOptions& options, std::ostream& err) {
  return AtCommandBoundary("merge", err, 2, [&] {
    Merge(options, err);
    return 0;
  });
}

}  // namespace nimbra
