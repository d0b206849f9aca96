#include "real_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "scripted_prompts.h"

namespace nimbra {
namespace {

using Calls = std::vector<std::string>;

TEST(ParseRealNumber, AcceptedFormsWithPoint) {
  const std::vector<std::pair<std::string, double>> cases = {
      {"1.5e3", 1500.0},
      {" 2 ", 2.0},
      {"2", 2.0},
      {"-3.25", -3.25},
      {"+4", 4.0},
      {"5.", 5.0},
      {".5", 0.5},
      {".", 0.0},
      {"007", 7.0},
      {"1E2", 100.0},
      {"1e+2", 100.0},
      {"2.5e-1", 0.25},
      {"  -.125E1 ", -1.25},
      {".e5", 0.0},
      {"1e0002", 100.0},
      {"0e99999999999999999999", 0.0},
      {"1.7976931348623157e308", std::numeric_limits<double>::max()},
      {"1e-400", 0.0},
      {"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
  };
  for (const auto& [text, expected] : cases) {
    const std::optional<double> value = ParseRealNumber(text, ".");
    ASSERT_TRUE(value.has_value()) << '"' << text << '"';
    EXPECT_EQ(*value, expected) << '"' << text << '"';
  }
  EXPECT_TRUE(std::signbit(ParseRealNumber("-.", ".").value()));
  EXPECT_TRUE(std::signbit(ParseRealNumber("-1e-99999999999999999999", ".").value()));
}

TEST(ParseRealNumber, RefusedForms) {
  const std::vector<std::string> cases = {
      "",
      "   ",
      "word",
      "1.2.3",
      "1..2",
      "1e",
      "1e+",
      "1E-",
      "e5",
      "+",
      "-",
      "+-1",
      "--1",
      "1 2",
      "1,5",
      "\t2",
      "2\n",
      "0x10",
      "inf",
      "nan",
      "1e2.5",
      "1.5e3x",
      "1e999",
      "-1e999",
      "1.7976931348623159e308",
      "1e99999999999999999999",
  };
  for (const std::string& text : cases) {
    EXPECT_FALSE(ParseRealNumber(text, ".").has_value()) << '"' << text << '"';
  }
}

TEST(ParseRealNumber, FollowsTheGivenSeparator) {
  EXPECT_EQ(ParseRealNumber("1,5", ","), 1.5);
  EXPECT_EQ(ParseRealNumber(",25", ","), 0.25);
  EXPECT_EQ(ParseRealNumber(" -1,5e3 ", ","), -1500.0);
  EXPECT_FALSE(ParseRealNumber("1.5", ",").has_value());
  EXPECT_FALSE(ParseRealNumber("1,2,3", ",").has_value());
  EXPECT_EQ(ParseRealNumber("3\u066b5", "\u066b"), 3.5);  // Arabic decimal separator, two bytes
  EXPECT_FALSE(ParseRealNumber("3\xd9", "\u066b").has_value());
  EXPECT_EQ(ParseRealNumber("15", ""), 15.0);
  EXPECT_FALSE(ParseRealNumber("1.5", "").has_value());
}

TEST(ReadRealNumber, TellsTheUserAndKeepsTheValueOnFailure) {
  ScriptedPrompts prompts;
  double value = 7.0;
  EXPECT_FALSE(ReadRealNumber("", value, ".", prompts));
  EXPECT_FALSE(ReadRealNumber("word", value, ".", prompts));
  EXPECT_FALSE(ReadRealNumber("1.2.3", value, ".", prompts));
  EXPECT_EQ(value, 7.0);
  EXPECT_EQ(prompts.Calls(), Calls(3, "message: Must be a real number"));

  EXPECT_TRUE(ReadRealNumber("1.5e3", value, ".", prompts));
  EXPECT_EQ(value, 1500.0);
  EXPECT_TRUE(ReadRealNumber(" 2 ", value, ".", prompts));
  EXPECT_EQ(value, 2.0);
  EXPECT_TRUE(ReadRealNumber("0,05", value, ",", prompts));
  EXPECT_EQ(value, 0.05);
  EXPECT_EQ(prompts.Calls().size(), 3u);
}

}  // namespace
}  // namespace nimbra
