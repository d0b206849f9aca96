#include "input_header.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine_core.h"
#include "input_file.h"

namespace nimbra {

namespace {

bool IsHeaderLetter(int c) { return c == 'D' || c == 'd' || c == 'H' || c == 'h'; }
bool IsParametersLetter(int c) { return c == 'P' || c == 'p'; }

bool StartsLikeANumber(const std::string& token) {
  const char c = token.front();
  return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// A title such as "Hourly rain at ..." is a header with nothing to skip; a number in
// the count's place must be one.
int SkipCountOf(const std::string& fileName, const std::string& rest, std::int64_t line) {
  const std::vector<std::string> tokens = SplitTokens(rest);
  if (tokens.empty() || !StartsLikeANumber(tokens.front())) return 0;
  const auto count = ParseInteger(tokens.front());
  if (!count || *count < 0) {
    throw InputError("The header line, " + InputLineName(fileName, line) +
                     ", must give the number of values to skip before each depth as a non-negative "
                     "integer; it gives \"" +
                     Shown(tokens.front()) + "\".");
  }
  return *count;
}

void ReadHeaderLine(InputHeader& header, InputScanner& scan, const std::string& fileName) {
  const std::int64_t line = scan.Line();
  const int letter = scan.Get();
  header.HasHours = letter == 'H' || letter == 'h';
  header.SkipCount = SkipCountOf(fileName, scan.RestOfLine(), line);
}

constexpr std::array<const char*, 8> kParametersLineFields{"DaysPerMonth", "Lambda", "Kappa", "Phi",
                                                           "Alpha",        "Nu",     "MuX",   "SigmaX"};

class ParametersLineParser {
 public:
  ParametersLineParser(const std::string& fileName, const std::string& rest, std::int64_t line)
      : fileName_(fileName), tokens_(SplitTokens(rest)), line_(line) {}

  ParametersLine Parse() const {
    ParametersLine values;
    values.daysPerMonth = Field<int>(0, ParseInteger, "an integer");
    for (std::size_t k = 0; k < values.rates.size(); ++k) {
      values.rates[k] = Field<double>(k + 1, ParseReal, "a real number such as 0.25 or 2.5e-2");
    }
    // Periods of no days would make the calendar's roll-over run forever.
    if (values.daysPerMonth < 1) {
      throw InvalidArgument(
          "The days per month in the parameters line of the input file must be at least 1; it is " +
          std::to_string(values.daysPerMonth));
    }
    return values;
  }

 private:
  template <class Number>
  Number Field(std::size_t k, std::optional<Number> (*parse)(std::string_view), const char* expected) const {
    if (k >= tokens_.size()) {
      throw InputError("The parameters line, " + InputLineName(fileName_, line_) + ", ends before " +
                       kParametersLineFields[k] +
                       ": it must hold DaysPerMonth, Lambda, Kappa, Phi, Alpha, Nu, MuX and SigmaX.");
    }
    const auto value = parse(tokens_[k]);
    if (!value) {
      throw InputError("Invalid number \"" + Shown(tokens_[k]) + "\" for " + kParametersLineFields[k] +
                       " in " + InputLineName(fileName_, line_) + ": " + expected + " is expected.");
    }
    return *value;
  }

  const std::string& fileName_;
  std::vector<std::string> tokens_;
  std::int64_t line_;
};

ParametersLine ReadParametersLine(InputScanner& scan, const std::string& fileName) {
  const std::int64_t line = scan.Line();
  scan.Get();
  return ParametersLineParser(fileName, scan.RestOfLine(), line).Parse();
}

}  // namespace

// Both lines are read from their own line alone, so that a short or malformed line never
// takes values from the records. Blank lines may stand before, between and after them.
InputHeader ReadInputHeaderLines(InputScanner& scan, const std::string& fileName) {
  scan.SkipByteOrderMark();
  InputHeader header;
  scan.SkipSeparators();
  if (IsHeaderLetter(scan.Peek())) ReadHeaderLine(header, scan, fileName);
  scan.SkipSeparators();
  if (IsParametersLetter(scan.Peek())) header.Parameters = ReadParametersLine(scan, fileName);
  return header;
}

// A bad line changes no model parameter, and leaves the file at its start with the
// reader not started: nothing is read from a file whose layout is in doubt.
void EngineCore::ReadInputHeader() {
  EngineState& s = state_;
  RewindInput(s);
  s.Reader = ReaderState::NotStarted;
  s.SplittingLongRun = false;
  s.InputDropped = false;
  s.NegativeHourNoted = false;
  s.OriginalHourlyAvailable = false;
  s.SkipCount = 0;
  InputScanner scan(*s.InputFile, s.InputLine);
  InputHeader header;
  try {
    header = ReadInputHeaderLines(scan, s.InputFileName);
  } catch (const NimbraError&) {
    RewindInput(s);
    throw;
  }
  s.OriginalHourlyAvailable = header.HasHours;
  s.SkipCount = header.SkipCount;
  if (header.Parameters) TakeParameters(*header.Parameters);
}

// The parameters of the file take effect as the parameters dialog would give them: the
// run starts again, and the windows show the new values.
void EngineCore::TakeParameters(const ParametersLine& line) {
  RunOptions options = state_.Options;
  options.DaysPerMonth = line.daysPerMonth;
  SetOptions(options);
  const auto& r = line.rates;
  SetParameters({r[0], r[1], r[2], r[3], r[4], r[5], r[6]});
  InitialiseRun();
  ui_.ParametersChanged();
}

}  // namespace nimbra
