#include "file_prompts.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <iterator>

#include "errors.h"
#include "scripted_prompts.h"

namespace nimbra {
namespace {

namespace fs = std::filesystem;
using Calls = std::vector<std::string>;

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Each test works in a fresh directory of its own, removed afterwards.
class FilePromptsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "nimbra-files-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
    return Path(name);
  }
  // Something present under the name that no one can open: a Unix socket.
  std::string Socket(const std::string& name) {
    const int handle = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, Path(name).c_str(), sizeof(address.sun_path) - 1);
    EXPECT_EQ(bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    close(handle);
    return Path(name);
  }

  fs::path dir_;
  ScriptedPrompts prompts_;
};

TEST_F(FilePromptsTest, FileIsPresentOnlyForExistingFiles) {
  const std::string data = Write("data.txt", "1");
  std::ifstream held(data);
  EXPECT_TRUE(FileIsPresent(data));
  EXPECT_FALSE(FileIsPresent(""));
  EXPECT_FALSE(FileIsPresent(Path("missing.txt")));
  EXPECT_FALSE(FileIsPresent(dir_.string()));
}

TEST_F(FilePromptsTest, InputEmptyNameCancelledTwiceGivesUp) {
  std::ifstream file;
  std::string name;
  prompts_.QueueOpenCancel();
  prompts_.QueueOpenCancel();
  EXPECT_FALSE(OpenInputTextFile(file, name, prompts_));
  EXPECT_EQ(prompts_.Calls(), (Calls{"open dialog: ", "message: Input file  does not exist",
                                     "open dialog: ", "message: Input file  does not exist",
                                     "message: Input file was not open"}));
  EXPECT_EQ(prompts_.Filters(), (Calls{"", ""}));
  EXPECT_FALSE(file.is_open());
}

TEST_F(FilePromptsTest, InputMissingThenExistingOpensAtStartKeepingLineEnds) {
  const std::string missing = Path("missing.txt");
  const std::string data = Write("data.txt", "1 2\r\n3\r\n");
  std::ifstream file;
  std::string name;
  prompts_.QueueOpen(missing);
  prompts_.QueueOpen(data);
  EXPECT_TRUE(OpenInputTextFile(file, name, prompts_));
  EXPECT_EQ(prompts_.Calls(), (Calls{"open dialog: ", "message: Input file " + missing + " does not exist",
                                     "open dialog: " + missing}));
  EXPECT_EQ(name, data);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "1 2\r\n3\r\n");
}

TEST_F(FilePromptsTest, InputSameMissingNameTwiceGivesUp) {
  const std::string missing = Path("missing.txt");
  std::ifstream file;
  std::string name;
  prompts_.QueueOpen(missing);
  prompts_.QueueOpen(missing);
  EXPECT_FALSE(OpenInputTextFile(file, name, prompts_));
  const std::string notThere = "message: Input file " + missing + " does not exist";
  EXPECT_EQ(prompts_.Calls(), (Calls{"open dialog: ", notThere, "open dialog: " + missing, notThere,
                                     "message: Input file was not open"}));
  EXPECT_EQ(name, missing);
}

// Only an unchanged name from the second attempt on ends the prompting; a name
// differing in letter case is a different name.
TEST_F(FilePromptsTest, InputKeepsAskingWhileTheNameChanges) {
  const std::string lower = Path("gone.txt"), upper = Path("GONE.txt");
  const std::string data = Write("data.txt", "");
  std::ifstream file;
  std::string name = lower;
  prompts_.QueueOpenCancel();
  prompts_.QueueOpen(upper);
  prompts_.QueueOpen(lower);
  prompts_.QueueOpen(data);
  EXPECT_TRUE(OpenInputTextFile(file, name, prompts_));
  EXPECT_EQ(prompts_.Calls(),
            (Calls{"open dialog: " + lower, "message: Input file " + lower + " does not exist",
                   "open dialog: " + lower, "message: Input file " + upper + " does not exist",
                   "open dialog: " + upper, "message: Input file " + lower + " does not exist",
                   "open dialog: " + lower}));
  EXPECT_TRUE(file.is_open());
}

TEST_F(FilePromptsTest, InputCancelReopensTheFileUsedBefore) {
  const std::string first = Write("first.txt", "old run");
  std::string name = Write("second.txt", "new run");
  std::ifstream file(first, std::ios::binary);
  ASSERT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "old run");
  ASSERT_EQ(file.get(), std::char_traits<char>::eof());  // leaves the stream failed
  prompts_.QueueOpenCancel();
  EXPECT_TRUE(OpenInputTextFile(file, name, prompts_));
  EXPECT_EQ(prompts_.Calls(), (Calls{"open dialog: " + name}));
  EXPECT_TRUE(file.good());
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "new run");
}

TEST_F(FilePromptsTest, InputThatCannotBeOpenedThrows) {
  std::ifstream file;
  std::string name;
  prompts_.QueueOpen(Socket("socket"));
  try {
    OpenInputTextFile(file, name, prompts_);
    ADD_FAILURE() << "no InOutError";
  } catch (const InOutError& error) {
    EXPECT_EQ(std::string(error.what()), "Input file " + Path("socket") + " cannot be opened for reading");
  }
  EXPECT_EQ(prompts_.Calls(), (Calls{"open dialog: "}));
}

TEST_F(FilePromptsTest, OutputNewNameIsCreated) {
  std::ofstream file;
  std::string name;
  prompts_.QueueSave(Path("out.txt"));
  EXPECT_TRUE(OpenOutputTextFile(file, name, prompts_));
  EXPECT_EQ(prompts_.Calls(), (Calls{"save dialog: "}));
  EXPECT_EQ(prompts_.Filters(), (Calls{""}));
  EXPECT_EQ(name, Path("out.txt"));
  file << "01/07/1990\r\n";
  file.close();
  EXPECT_EQ(Contents(name), "01/07/1990\r\n");
}

TEST_F(FilePromptsTest, OutputExistingDeclinedThenNewName) {
  const std::string old = Write("old.txt", "keep me");
  std::ofstream file;
  std::string name;
  prompts_.QueueSave(old);
  prompts_.QueueConfirm(false);
  prompts_.QueueSave(Path("new.txt"));
  EXPECT_TRUE(OpenOutputTextFile(file, name, prompts_));
  EXPECT_EQ(prompts_.Calls(), (Calls{"save dialog: ", "question: Output file " + old + " exists. Overwrite?",
                                     "save dialog: " + old}));
  EXPECT_EQ(name, Path("new.txt"));
  EXPECT_EQ(Contents(old), "keep me");
  EXPECT_TRUE(fs::exists(name));
  EXPECT_EQ(fs::file_size(name), 0u);
}

// After declining to overwrite, a cancel keeps the name the dialog held, and the
// question comes again.
TEST_F(FilePromptsTest, OutputCancelAfterDecliningAsksAgainThenEmpties) {
  const std::string old = Write("old.txt", "old data");
  const std::string question = "question: Output file " + old + " exists. Overwrite?";
  std::ofstream file;
  std::string name;
  prompts_.QueueSave(old);
  prompts_.QueueConfirm(false);
  prompts_.QueueSaveCancel();
  prompts_.QueueConfirm(true);
  EXPECT_TRUE(OpenOutputTextFile(file, name, prompts_));
  EXPECT_EQ(prompts_.Calls(), (Calls{"save dialog: ", question, "save dialog: " + old, question}));
  EXPECT_EQ(name, old);
  EXPECT_EQ(fs::file_size(old), 0u);
}

TEST_F(FilePromptsTest, OutputCancelWithNothingChosenGivesUp) {
  std::ofstream file;
  std::string name = "/kept/from/before.txt";
  prompts_.QueueSaveCancel();
  EXPECT_FALSE(OpenOutputTextFile(file, name, prompts_));
  EXPECT_EQ(prompts_.Calls(), (Calls{"save dialog: "}));
  EXPECT_EQ(name, "/kept/from/before.txt");
  EXPECT_FALSE(file.is_open());
  EXPECT_TRUE(fs::is_empty(dir_));
}

TEST_F(FilePromptsTest, OutputEmptyNameIsRefusedAndAskedAgain) {
  std::ofstream file;
  std::string name;
  prompts_.QueueSave("");
  prompts_.QueueSave(Path("out.txt"));
  prompts_.QueueSave("");
  prompts_.QueueSaveCancel();
  const Calls refused{"save dialog: ", "message: Improper file name - Try again", "save dialog: "};
  EXPECT_TRUE(OpenOutputTextFile(file, name, prompts_));
  EXPECT_EQ(prompts_.Calls(), refused);
  EXPECT_EQ(name, Path("out.txt"));
  file.close();
  EXPECT_FALSE(OpenOutputTextFile(file, name, prompts_));
  Calls twice = refused;
  twice.insert(twice.end(), refused.begin(), refused.end());
  EXPECT_EQ(prompts_.Calls(), twice);
  EXPECT_TRUE(prompts_.AllAnswersUsed());
}

TEST_F(FilePromptsTest, OutputReplacesAnOpenFileAndThrowsWhenNotCreatable) {
  std::ofstream file(Path("first.txt"), std::ios::binary);
  file << "first";
  std::string name;
  prompts_.QueueSave(Path("second.txt"));
  ASSERT_TRUE(OpenOutputTextFile(file, name, prompts_));
  file << "second";
  file.close();
  EXPECT_EQ(Contents(Path("first.txt")), "first");
  EXPECT_EQ(Contents(Path("second.txt")), "second");

  const std::string unreachable = Path("no-such-dir/out.txt");
  prompts_.QueueSave(unreachable);
  EXPECT_THROW(
      {
        try {
          OpenOutputTextFile(file, name, prompts_);
        } catch (const InOutError& error) {
          EXPECT_EQ(std::string(error.what()), "Output file " + unreachable + " cannot be created");
          throw;
        }
      },
      InOutError);
}

TEST(StripDirectory, KeepsTheLastComponent) {
  EXPECT_EQ(StripDirectory("/home/hydro/rain/july.txt"), "july.txt");
  EXPECT_EQ(StripDirectory("july.txt"), "july.txt");
  EXPECT_EQ(StripDirectory("C:\\Data\\Tempelhof\\july.txt"), "july.txt");
  EXPECT_EQ(StripDirectory("C:\\Data/old\\july.txt"), "july.txt");
  EXPECT_EQ(StripDirectory("C:july.txt"), "C:july.txt");
  EXPECT_EQ(StripDirectory("/home/hydro/"), "");
  EXPECT_EQ(StripDirectory(""), "");
}

}  // namespace
}  // namespace nimbra
