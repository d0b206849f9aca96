#pragma once
// The token level of the daily input file: bytes 0 to 32 separate tokens, Ctrl-Z
// ends the text, and numbers are read with the point as decimal separator whatever
// the user's locale. Line ends (CR, CR LF, or a bare LF) are counted so that a bad
// token can be named by its line.

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shown_text.h"

namespace nimbra {

inline constexpr int kEndOfText = -1;

class InputScanner {
 public:
  // line is kept by the caller, so that the count survives between reads.
  InputScanner(std::istream& in, std::int64_t& line) : in_(in), line_(line) {}

  // The next byte (0 to 255), or kEndOfText at the physical end or at Ctrl-Z.
  int Peek();
  // As Peek, consuming the byte; an LF directly after a CR is taken with it.
  int Get();
  // Passes over separators; true when a token follows.
  bool SkipSeparators();
  // The next token, or an empty text at the end of the text.
  std::string NextToken();
  // Passes over the rest of the line and its line end.
  void SkipLine();
  // The rest of the line, without its line end, which is passed over.
  std::string RestOfLine();
  // Passes over a UTF-8 byte-order mark at the start of the text, which some editors
  // write unasked and no user sees.
  void SkipByteOrderMark();
  std::int64_t Line() const { return line_; }

 private:
  std::istream& in_;
  std::int64_t& line_;
};

inline bool IsSeparator(int c) { return c >= 0 && c <= 32; }
inline bool IsLineEnd(int c) { return c == '\r' || c == '\n'; }

// The tokens of one line of text, split at the separators.
std::vector<std::string> SplitTokens(std::string_view text);

// "line 3 of the input file rain.txt", or without the name when fileName is empty.
std::string InputLineName(const std::string& fileName, std::int64_t line);

// Optional sign and decimal digits, within 32 bits.
std::optional<int> ParseInteger(std::string_view token);
// Optional sign, digits, optional point and fraction digits, optional exponent.
std::optional<double> ParseReal(std::string_view token);

}  // namespace nimbra
