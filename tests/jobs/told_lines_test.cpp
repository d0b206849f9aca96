#include "told_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nimbra {
namespace {

// Each line written reaches Tell whole and without its end, however it was written; a last
// line without its end is told when the stream closes, an empty line as empty.
TEST(ToldLines, TellsEachLineWholeAndTheLastOneAtTheEnd) {
  std::vector<std::string> told;
  const JobControl control({}, [&](const std::string& line) { told.push_back(line); });
  {
    ToldLines stream(control);
    stream << "Tempelhof: " << 31 << " days";
    EXPECT_TRUE(told.empty());
    stream << ", 12 wet\n\nWarning: slow" << '\n' << "no end";
  }
  EXPECT_EQ(told, (std::vector<std::string>{"Tempelhof: 31 days, 12 wet", "", "Warning: slow", "no end"}));
}

}  // namespace
}  // namespace nimbra
