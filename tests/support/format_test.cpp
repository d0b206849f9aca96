#include "format.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "errors.h"

namespace nimbra {
namespace {

TEST(FormatGeneral, FifteenDigitsAndTheTwoForms) {
  const std::vector<std::pair<double, const char*>> cases = {
      {0.0, "0"},
      {1.0, "1"},
      {-2.5, "-2.5"},
      {0.1, "0.1"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {123456.789, "123456.789"},
      {0.0001, "0.0001"},
      {0.000099, "9.9E-5"},
      {2.5e-5, "2.5E-5"},
      {1e100, "1E100"},
      {1e-5, "1E-5"},
      {999999999999999.0, "999999999999999"},
      {1e15, "1E15"},
      {9999999999999999.0, "1E16"},
      {143.277, "143.277"},
      {0.0746555, "0.0746555"},
      {-1.5e-300, "-1.5E-300"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatGeneral(value, "."), text) << value;
  EXPECT_EQ(FormatGeneral(0.25, ","), "0,25");
  EXPECT_EQ(FormatGeneral(2.5e-5, ","), "2,5E-5");
}

TEST(FormatFixed2, TwoDecimalsWithHalvesAwayFromZero) {
  EXPECT_EQ(FormatFixed2(0.0934, "."), "0.09");
  EXPECT_EQ(FormatFixed2(0.125, "."), "0.13");  // exact binary half
  EXPECT_EQ(FormatFixed2(-0.125, "."), "-0.13");
  EXPECT_EQ(FormatFixed2(2.675, "."), "2.67");  // 2.67499999... in binary
  EXPECT_EQ(FormatFixed2(1.005, "."), "1.00");  // 1.00499999... in binary
  EXPECT_EQ(FormatFixed2(0.995, "."), "0.99");
  EXPECT_EQ(FormatFixed2(0.375, "."), "0.38");
  EXPECT_EQ(FormatFixed2(12345.5, ","), "12345,50");
  EXPECT_EQ(FormatFixed2(-0.001, "."), "0.00");
  EXPECT_EQ(FormatFixed2(1e20, "."), "100000000000000000000.00");
}

std::string Format(std::string_view format, std::vector<FormatArg> args) {
  return FormatText(format, args, ".");
}

TEST(FormatText, LogLinesAsTheyAppear) {
  EXPECT_EQ(Format("Sequence #%d", {std::int64_t{7}}), "Sequence #7");
  EXPECT_EQ(Format("& Repetitions performed %d - Distance %f", {std::int64_t{12}, 0.0934}),
            "& Repetitions performed 12 - Distance 0.09");
  EXPECT_EQ(Format("%s: %g%%", {std::string("Frequency"), 0.5}), "Frequency: 0.5%");
  EXPECT_EQ(Format("%d", {std::int64_t{-3}}), "-3");
  EXPECT_EQ(Format("\r\nWet days", {}), "\r\nWet days");
  EXPECT_EQ(FormatText("%f %g", std::vector<FormatArg>{1.5, 1.5}, ","), "1,50 1,5");
}

TEST(FormatText, MissingOrMismatchedArgumentIsAnError) {
  EXPECT_THROW(Format("%d", {}), InvalidArgument);
  EXPECT_THROW(Format("%d", {1.5}), InvalidArgument);
  EXPECT_THROW(Format("%f", {std::int64_t{1}}), InvalidArgument);
  EXPECT_THROW(Format("%x", {std::int64_t{1}}), InvalidArgument);
  EXPECT_THROW(Format("100%", {}), InvalidArgument);
}

}  // namespace
}  // namespace nimbra
