#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli_process.h"
#include "sha256.h"

namespace nimbra_test {
namespace {

using Json = nlohmann::json;

class MergeCommand : public CliTest {
 protected:
  // A shard file and its sidecar as disaggregate --shard K/N writes them. The sidecar
  // describes `written`; the file holds `kept`, or `written` when kept is not given.
  void Shard(const std::string& name, int index, int count, const std::string& written, int seed = 1,
             const std::string* kept = nullptr) {
    std::ofstream(dir / name, std::ios::binary) << (kept ? *kept : written);
    nimbra::Sha256 digest;
    digest.Add(written);
    const auto rows = std::count(written.begin(), written.end(), '\n') - 1;
    const Json sidecar = {{"program", "nimbra-cli"},
                          {"seed", seed},
                          {"shard", {{"index", index}, {"count", count}}},
                          {"rows", rows},
                          {"output_sha256", digest.Hex()},
                          {"stations", Json::array()}};
    std::ofstream(dir / (name + ".json")) << sidecar.dump();
  }
};

const std::string kHeader = "station,time,precip_mm\n";

std::string Rows(const std::string& station, int hours, const std::string& day = "2010-07-01") {
  std::string rows;
  for (int h = 0; h < hours; ++h) rows += station + "," + day + "T0" + std::to_string(h) + ":00,0.50\n";
  return rows;
}

// Stations of 2 shards by the name's 64-bit FNV-1a hash: A, B,q and S2 go to shard 0; B and S3 to shard 1.
TEST_F(MergeCommand, ShardsThatDoNotMakeOneWholeRunAreRefusedNamingTheShard) {
  const std::string d = dir.string() + "/";
  const std::string good0 = kHeader + Rows("A", 2) + Rows("\"B,q\"", 2);
  const std::string good1 = kHeader + Rows("B", 2);
  const std::string cutAtLineEnd = kHeader + Rows("A", 2);
  const std::string cutMidRow = kHeader + Rows("A", 2) + "\"B,q\",2010-07-0";
  const std::string cutInQuotes = kHeader + Rows("A", 2) + "\"B,";
  Shard("s0.csv", 0, 2, good0);
  Shard("s1.csv", 1, 2, good1);
  Shard("seed2.csv", 1, 2, good1, 2);
  Shard("three.csv", 1, 3, good1);
  Shard("again.csv", 0, 2, good0);
  Shard("cut.csv", 0, 2, good0, 1, &cutAtLineEnd);
  Shard("mid.csv", 0, 2, good0, 1, &cutMidRow);
  Shard("quote.csv", 0, 2, good0, 1, &cutInQuotes);
  Shard("daily.csv", 1, 2, "station,date,precip_mm\nB,2010-07-01,1\n");
  Shard("reverse.csv", 0, 2, kHeader + "A,2010-07-01T01:00,0.50\nA,2010-07-01T00:00,0.50\n");
  Shard("unsorted.csv", 0, 2, kHeader + Rows("S2", 1) + Rows("A", 1));
  Shard("twice.csv", 1, 2, kHeader + Rows("A", 1));
  Shard("home.csv", 1, 2, kHeader + Rows("S2", 1));
  std::ofstream(dir / "bare.csv") << good1;
  const std::string changed = ": the file was cut or changed\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"s0.csv seed2.csv", d + "seed2.csv: not a shard of the run of " + d + "s0.csv: its seed differs\n"},
      {"s0.csv three.csv",
       d + "three.csv: shard 1/3 of a run split 3 ways, while " + d + "s0.csv is shard 0/2\n"},
      {"s0.csv",
       "shard 1/2 of the run of " + d + "s0.csv is missing: the joined file would lack its stations\n"},
      {"s0.csv again.csv s1.csv", d + "again.csv: shard 0/2 is given twice, also as " + d + "s0.csv\n"},
      {"s0.csv bare.csv",
       d + "bare.csv: its sidecar " + d +
           "bare.csv.json cannot be opened; merge joins the files that disaggregate --shard "
           "writes, with their sidecars\n"},
      {"cut.csv s1.csv", d + "cut.csv, line 3: holds 2 rows where its run wrote 4" + changed},
      {"mid.csv s1.csv", d + "mid.csv, line 4: the row is cut off: the file ends in the middle of it\n"},
      {"quote.csv s1.csv", d + "quote.csv, line 4: the row is cut off: the file ends in the middle of it\n"},
      {"s0.csv daily.csv",
       d + "daily.csv, line 1: expected the header 'station,time,precip_mm' of an hourly file, "
           "found 'station,date,precip_mm'\n"},
      {"reverse.csv s1.csv",
       d + "reverse.csv, line 3: hour '2010-07-01T00:00' comes after '2010-07-01T01:00'; a "
           "station's hours must be in order\n"},
      {"unsorted.csv s1.csv",
       d + "unsorted.csv, line 3: station 'A' comes after 'S2'; a shard's stations must be sorted by name\n"},
      {"s0.csv twice.csv", "station 'A' is in both " + d + "s0.csv and " + d +
                               "twice.csv; shards of one run hold different stations\n"},
      {"s0.csv home.csv", d + "home.csv, line 2: station 'S2' belongs to shard 0/2, not to this shard 1\n"},
  };
  for (const auto& [shards, message] : cases) {
    std::string arguments = "merge -o " + d + "merged.csv";
    for (std::size_t at = 0, end; at < shards.size(); at = end + 1) {
      end = std::min(shards.find(' ', at), shards.size());
      arguments += " " + d + shards.substr(at, end - at);
    }
    const CliResult r = Run(arguments);
    EXPECT_EQ(r.status, 2) << shards;
    EXPECT_EQ(r.err, "nimbra-cli merge: " + message) << shards;
    EXPECT_FALSE(fs::exists(dir / "merged.csv")) << shards;
  }
  const CliResult r = Run("merge -o " + d + "merged.csv " + d + "s1.csv " + d + "s0.csv");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile(dir / "merged.csv"), kHeader + Rows("A", 2) + Rows("B", 2) + Rows("\"B,q\"", 2));
}

// Shards written by disaggregate, with a station whose name needs quotes, join into the
// bytes one run writes, and the joined file's sidecar describes it as that run's sidecar does.
TEST_F(MergeCommand, ShardsOfARunJoinIntoTheFileAndSidecarOfOneRun) {
  const std::string d = dir.string() + "/";
  std::ofstream(dir / "daily.csv") << "station,date,precip_mm\n"
                                      "A,2010-07-01,5.2\nA,2010-07-02,1\n"
                                      "\"B,q\",2010-07-01,3\n\"B,q\",2010-07-02,0\n"
                                      "B,2010-07-01,12\nB,2010-07-02,0.4\n";
  fs::copy_file(NIMBRA_EXAMPLES_DIR "/berlin_tempelhof_july_params.csv", dir / "params.csv");
  const std::string run = "disaggregate -q --seed 7 -i " + d + "daily.csv -p " + d + "params.csv -o " + d;
  ASSERT_EQ(Run(run + "serial.csv").status, 0);
  ASSERT_EQ(Run(run + "s0.csv --shard 0/2").status, 0);
  ASSERT_EQ(Run(run + "s1.csv --shard 1/2").status, 0);
  const CliResult r = Run("merge -o " + d + "merged.csv " + d + "s0.csv " + d + "s1.csv");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string serial = ReadFile(dir / "serial.csv");
  EXPECT_TRUE(ReadFile(dir / "merged.csv") == serial);
  const Json one = Json::parse(ReadFile(dir / "serial.csv.json"));
  const Json merged = Json::parse(ReadFile(dir / "merged.csv.json"));
  nimbra::Sha256 digest;
  digest.Add(serial);
  EXPECT_EQ(one.at("output_sha256"), digest.Hex());
  EXPECT_EQ(merged.at("output_sha256"), digest.Hex());
  EXPECT_EQ(merged.at("rows"), 6 * 24);
  EXPECT_EQ(merged.at("rows"), one.at("rows"));
  EXPECT_EQ(merged.at("stations"), one.at("stations"));
  EXPECT_EQ(merged.at("shard"), one.at("shard"));
  EXPECT_EQ(merged.at("input_sha256"), one.at("input_sha256"));
}

}  // namespace
}  // namespace nimbra_test
