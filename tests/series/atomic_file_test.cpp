#include "atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "errors.h"
#include "series_files.h"

namespace nimbra {
namespace {

namespace fs = std::filesystem;

using OutputPath = SeriesFiles;

std::size_t EntriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST_F(OutputPath, ALinkIsWrittenThroughToItsTargetAndStaysALink) {
  fs::create_directory(dir / "data");
  const std::string target = Write("data/hourly.csv", "old");
  fs::create_symlink("data/hourly.csv", dir / "link.csv");
  fs::create_symlink("data/new.csv", dir / "dangling.csv");
  for (const char* name : {"link.csv", "dangling.csv"}) {
    AtomicFile file((dir / name).string());
    EXPECT_EQ(file.Note(),
              (dir / name).string() + " is a link: its target " +
                  (dir / "data" / (name == std::string("link.csv") ? "hourly.csv" : "new.csv")).string() +
                  " is written");
    file.Stream() << "new";
    file.Commit();
    EXPECT_TRUE(fs::is_symlink(dir / name)) << name;
    EXPECT_EQ(Read((dir / name).string()), "new") << name;
  }
  EXPECT_EQ(EntriesIn(dir / "data"), 2u) << "no temporary file is left beside the targets";
}

TEST_F(OutputPath, APipeIsWrittenStraightAndStaysAPipe) {
  const fs::path pipe = dir / "pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = Read(pipe.string()); });
  {
    AtomicFile file(pipe.string());
    EXPECT_TRUE(file.Straight());
    EXPECT_EQ(file.Note(), pipe.string() + " is a pipe: written straight, without a temporary file");
    file.Stream() << "hours\n";
    file.Commit();
  }
  reader.join();
  EXPECT_EQ(received, "hours\n");
  EXPECT_TRUE(fs::is_fifo(pipe));
  EXPECT_EQ(EntriesIn(dir), 1u);
}

TEST_F(OutputPath, ADeviceIsWrittenStraight) {
  AtomicFile file("/dev/null");
  EXPECT_TRUE(file.Straight());
  EXPECT_EQ(file.Note(), "/dev/null is a device: written straight, without a temporary file");
  file.Stream() << "abc";
  file.Commit();
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_EQ(file.Sha256Hex(), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST_F(OutputPath, ADirectoryIsRefused) {
  EXPECT_EQ(MessageOf([&] { AtomicFile file(dir.string()); }),
            "the output file " + dir.string() + " is a directory");
}

// The process's umask decides the new file's mode, and the umask is never changed meanwhile.
TEST_F(OutputPath, NewFilesTakeTheUmaskWithoutChangingIt) {
  const mode_t before = ::umask(027);
  {
    AtomicFile file((dir / "out.csv").string());
    EXPECT_EQ(::umask(027), 027) << "the umask changed while the file was created";
    file.Commit();
  }
  ::umask(before);
  EXPECT_EQ(fs::status(dir / "out.csv").permissions(), fs::perms(0640));
}

// Two runs writing the same hours and sidecar commit one pair at a time: while another
// commit holds the folder, neither file of the pair appears.
TEST_F(OutputPath, APairIsCommittedWhileNoOtherCommitHoldsTheFolder) {
  const int folder = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(::flock(folder, LOCK_EX), 0);
  std::thread run([&] {
    AtomicFile hours((dir / "hourly.csv").string());
    AtomicFile sidecar((dir / "hourly.csv.json").string());
    AtomicFile::CommitTogether(hours, sidecar);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(fs::exists(dir / "hourly.csv"));
  EXPECT_FALSE(fs::exists(dir / "hourly.csv.json"));
  ::close(folder);
  run.join();
  EXPECT_TRUE(fs::exists(dir / "hourly.csv"));
  EXPECT_TRUE(fs::exists(dir / "hourly.csv.json"));
}

}  // namespace
}  // namespace nimbra
