#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "berlin_july_set.h"
#include "cli_process.h"

namespace nimbra_test {
namespace {

using OutputSafety = CliTest;

const std::string kDaily = "station,date,precip_mm\nA,2010-07-01,5.2\nA,2010-07-02,0\n";
const std::string kParams =
    "season,lambda,kappa,phi,alpha,nu,mu_x,sigma_x\nall," + std::string(nimbra::kBerlinJulyValues) + "\n";
const std::string kObserved = "station,time,precip_mm\nA,2010-07-01T00:00,0.5\n";

// Every file of the folder but what the test harness writes, with its bytes.
std::map<std::string, std::string> FilesIn(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name != "stdout.txt" && name != "stderr.txt") files[name] = ReadFile(entry.path());
  }
  return files;
}

// An output that is an input or another output, by its path or through a link, is refused
// in every subcommand before any file is created or changed.
TEST_F(OutputSafety, AnOutputThatIsAnInputOrAnotherOutputIsRefusedBeforeAnythingIsWritten) {
  std::ofstream(dir / "daily.csv") << kDaily;
  std::ofstream(dir / "params.csv") << kParams;
  std::ofstream(dir / "observed.csv") << kObserved;
  std::ofstream(dir / "hourly.csv.json") << kParams;
  fs::copy_file(NIMBRA_EXAMPLES_DIR "/berlin_tempelhof_july_hourly.txt", dir / "july.txt");
  fs::create_symlink("params.csv", dir / "link.csv");
  const std::string d = dir.string() + "/";
  const std::string destroy = ": writing it would destroy the input before it is read\n";
  const std::string overwrite = " are one file: one would overwrite the other\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"disaggregate -i " + d + "daily.csv -p " + d + "params.csv -o " + d + "daily.csv",
       "nimbra-cli disaggregate: the output file " + d + "daily.csv (-o) is the input file " + d +
           "daily.csv (-i)" + destroy},
      {"disaggregate -i " + d + "daily.csv -p " + d + "params.csv -o " + d + "link.csv",
       "nimbra-cli disaggregate: the output file " + d + "link.csv (-o) is the input file " + d +
           "params.csv (-p)" + destroy},
      {"disaggregate -i " + d + "daily.csv -p " + d + "params.csv -o " + d + "out.csv --observed-hourly " +
           d + "observed.csv --report " + d + "./observed.csv",
       "nimbra-cli disaggregate: the output file " + d + "./observed.csv (--report) is the input file " + d +
           "observed.csv (--observed-hourly)" + destroy},
      {"disaggregate -i " + d + "daily.csv -p " + d + "params.csv -o " + d + "new.csv --report " + d +
           "new.csv",
       "nimbra-cli disaggregate: the output files " + d + "new.csv (-o) and " + d + "new.csv (--report)" +
           overwrite},
      {"disaggregate -i " + d + "daily.csv -p " + d + "hourly.csv.json -o " + d + "hourly.csv",
       "nimbra-cli disaggregate: the output file " + d +
           "hourly.csv.json (the sidecar of -o) is the input file " + d + "hourly.csv.json (-p)" + destroy},
      {"fit -i " + d + "observed.csv -o " + d + "observed.csv", "nimbra-cli fit: the output file " + d +
                                                                    "observed.csv (-o) is the input file " +
                                                                    d + "observed.csv (-i)" + destroy},
      {"convert -i " + d + "july.txt -o " + d + "x.csv --hourly-output " + d + "x.csv",
       "nimbra-cli convert: the output files " + d + "x.csv (-o) and " + d + "x.csv (--hourly-output)" +
           overwrite},
      {"merge -o " + d + "daily.csv " + d + "daily.csv " + d + "params.csv",
       "nimbra-cli merge: the output file " + d + "daily.csv (-o) is the input file " + d +
           "daily.csv (a shard)" + destroy},
      {"calibrate --daily " + d + "daily.csv --observed-hourly " + d + "observed.csv -p " + d +
           "params.csv -o " + d + "link.csv",
       "nimbra-cli calibrate: the output file " + d + "link.csv (-o) is the input file " + d +
           "params.csv (-p)" + destroy},
  };
  const auto before = FilesIn(dir);
  for (const auto& [arguments, message] : cases) {
    const CliResult r = Run(arguments);
    EXPECT_EQ(r.status, 2) << arguments;
    EXPECT_EQ(r.err, message) << arguments;
    EXPECT_EQ(FilesIn(dir), before) << arguments;
  }
}

TEST_F(OutputSafety, ALinkedOutputIsWrittenThroughToItsTarget) {
  std::ofstream(dir / "daily.csv") << kDaily;
  std::ofstream(dir / "params.csv") << kParams;
  fs::create_directory(dir / "data");
  fs::create_symlink("data/hourly.csv", dir / "hourly.csv");
  const std::string d = dir.string() + "/";
  const CliResult r =
      Run("disaggregate -q -i " + d + "daily.csv -p " + d + "params.csv -o " + d + "hourly.csv");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err.substr(0, r.err.find('\n')),
            d + "hourly.csv is a link: its target " + d + "data/hourly.csv is written");
  EXPECT_TRUE(fs::is_symlink(dir / "hourly.csv"));
  EXPECT_EQ(ReadFile(dir / "data" / "hourly.csv").substr(0, 23), "station,time,precip_mm\n");
  EXPECT_TRUE(fs::is_regular_file(dir / "hourly.csv.json"));
}

// A pipe keeps being a pipe: the hours go straight into it, and no sidecar is written beside it.
TEST_F(OutputSafety, APipeGetsTheHoursStraight) {
  std::ofstream(dir / "daily.csv") << kDaily;
  std::ofstream(dir / "params.csv") << kParams;
  const fs::path pipe = dir / "pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  std::thread reader([&] {
    std::system(("timeout 20 cat " + pipe.string() + " > " + (dir / "copy.csv").string()).c_str());
  });
  const std::string d = dir.string() + "/";
  const CliResult r = Run("disaggregate -q -i " + d + "daily.csv -p " + d + "params.csv -o " + pipe.string());
  reader.join();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::is_fifo(pipe));
  EXPECT_EQ(ReadFile(dir / "copy.csv").size(), 23u + 48u * 24u);
  EXPECT_FALSE(fs::exists(d + "pipe.json"));
  EXPECT_NE(r.err.find(pipe.string() + " is a pipe: written straight, without a temporary file\n" +
                       pipe.string() + ": a device or a pipe gets no sidecar\n"),
            std::string::npos)
      << r.err;
}

}  // namespace
}  // namespace nimbra_test
