#pragma once
// A test's own folder for the CSV files it writes and reads back.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace nimbra {

class SeriesFiles : public testing::Test {
 protected:
  // The test's suite and name as one folder name: parameterised tests' names hold slashes.
  static std::string TestName() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "_" + test->name();
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
  }

  std::filesystem::path dir = std::filesystem::path(testing::TempDir()) /
                              ("nimbra_series_" + std::to_string(::getpid()) + "_" + TestName());

  void SetUp() override { std::filesystem::create_directories(dir); }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::string Write(const std::string& name, const std::string& text) const {
    const auto path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // The message of the error that call raises, with the folder's path replaced by "{dir}".
  template <typename Call>
  std::string MessageOf(Call call) const {
    try {
      call();
    } catch (const std::exception& e) {
      std::string message = e.what();
      const std::string prefix = dir.string() + "/";
      for (auto at = message.find(prefix); at != std::string::npos; at = message.find(prefix)) {
        message.replace(at, prefix.size(), "{dir}/");
      }
      return message;
    }
    return "no error";
  }
};

}  // namespace nimbra
