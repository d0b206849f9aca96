#include "input_tokens.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace nimbra {
namespace {

TEST(InputTokens, IntegersAreASignAndDigitsWithin32Bits) {
  EXPECT_EQ(ParseInteger("17"), 17);
  EXPECT_EQ(ParseInteger("+17"), 17);
  EXPECT_EQ(ParseInteger("-17"), -17);
  EXPECT_EQ(ParseInteger("007"), 7);
  EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseInteger("-2147483648"), -2147483647 - 1);
  for (const char* bad : {"", "+", "-", "2147483648", "1.0", "1e2", "12a", "+-1", " 1", "0x10", "١"}) {
    EXPECT_EQ(ParseInteger(bad), std::nullopt) << bad;
  }
}

TEST(InputTokens, RealsTakeAPointAndAnExponentButNoComma) {
  EXPECT_EQ(ParseReal("2.5"), 2.5);
  EXPECT_EQ(ParseReal("+2.5"), 2.5);
  EXPECT_EQ(ParseReal("-9"), -9.0);
  EXPECT_EQ(ParseReal("3."), 3.0);
  EXPECT_EQ(ParseReal("1e-5"), 1e-5);
  EXPECT_EQ(ParseReal("0.00001"), 1e-5);
  EXPECT_EQ(ParseReal("1.25E+2"), 125.0);
  EXPECT_EQ(ParseReal("-4e2"), -400.0);
  for (const char* bad :
       {"", "+", ".5", "2,5", "1e", "1e+", "e5", "1.2.3", "inf", "nan", "0x1p3", "1e999", "5mm"}) {
    EXPECT_EQ(ParseReal(bad), std::nullopt) << bad;
  }
}

std::vector<std::string> AllTokens(const std::string& text, std::int64_t& line,
                                   std::vector<std::int64_t>& lines) {
  std::istringstream in(text);
  InputScanner scan(in, line);
  std::vector<std::string> tokens;
  while (scan.SkipSeparators()) {
    lines.push_back(scan.Line());
    tokens.push_back(scan.NextToken());
  }
  return tokens;
}

TEST(InputTokens, ControlCharactersSeparateAndEveryKindOfLineEndCounts) {
  std::int64_t line = 1;
  std::vector<std::int64_t> lines;
  std::string text = "a\tb\r\nc\rd\ne\n\rf\fg\x01h\xe9t\xe9";
  text += '\0';
  const auto tokens = AllTokens(text + "i", line, lines);
  EXPECT_EQ(tokens, (std::vector<std::string>{"a", "b", "c", "d", "e", "f", "g", "h\xe9t\xe9", "i"}));
  EXPECT_EQ(lines, (std::vector<std::int64_t>{1, 1, 2, 3, 4, 6, 6, 6, 6}));
  EXPECT_EQ(line, 6);
}

TEST(InputTokens, CtrlZEndsTheText) {
  std::int64_t line = 1;
  std::vector<std::int64_t> lines;
  const std::string ctrlZ(1, '\x1a');
  EXPECT_EQ(AllTokens("12" + ctrlZ + "34\r\n56", line, lines), (std::vector<std::string>{"12"}));
  EXPECT_EQ(AllTokens("\r\n" + ctrlZ + "\r\n", line, lines), (std::vector<std::string>{}));
  EXPECT_EQ(line, 2);
}

TEST(InputTokens, LinesAreCountedPastTwoToTheThirtyOne) {
  std::int64_t line = 2147483647;
  std::vector<std::int64_t> lines;
  EXPECT_EQ(AllTokens("a\r\n\nb", line, lines), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(lines, (std::vector<std::int64_t>{2147483647, 2147483649}));
}

TEST(InputTokens, SkipLineTakesTheLineEndWhateverItsKind) {
  for (const char* end : {"\r\n", "\r", "\n"}) {
    std::int64_t line = 1;
    std::istringstream in(std::string("H 3 title") + end + "next");
    InputScanner scan(in, line);
    scan.SkipLine();
    EXPECT_EQ(line, 2);
    EXPECT_EQ(scan.NextToken(), "next");
  }
  std::int64_t line = 1;
  std::istringstream in("no line end");
  InputScanner scan(in, line);
  scan.SkipLine();
  EXPECT_EQ(scan.Peek(), kEndOfText);
}

}  // namespace
}  // namespace nimbra
