#pragma once
// Runs nimbra-cli as a user would, in a fresh folder per test, and reads back what it
// printed and wrote.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace nimbra_test {

namespace fs = std::filesystem;

struct CliResult {
  int status;
  std::string out;
  std::string err;
};

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class CliTest : public testing::Test {
 protected:
  // The test's name as one folder name: a parameterised test's name holds a slash.
  static std::string TestName() {
    std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
  }

  fs::path dir =
      fs::path(testing::TempDir()) / ("nimbra_cli_" + std::to_string(::getpid()) + "_" + TestName());
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }

  // launcher, when given, is a command that runs nimbra-cli, such as a timeout.
  CliResult Run(const std::string& arguments, const std::string& launcher = "") {
    const auto out = dir / "stdout.txt";
    const auto err = dir / "stderr.txt";
    const std::string command = launcher + std::string(NIMBRA_CLI_PATH) + " " + arguments + " >" +
                                out.string() + " 2>" + err.string();
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
  }
};

}  // namespace nimbra_test
