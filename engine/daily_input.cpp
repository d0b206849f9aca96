#include <array>
#include <string>

#include "engine_core.h"
#include "input_tokens.h"

namespace nimbra {

namespace {

constexpr std::size_t kShownTokenLength = 40;

std::istream& RequireInputFile(EngineState& s) {
  if (s.InputFile == nullptr) throw InvalidArgument("No input file is open");
  return *s.InputFile;
}

void Rewind(EngineState& s) {
  std::istream& in = RequireInputFile(s);
  in.clear();
  in.seekg(0);
  if (in.fail()) throw InOutError("The input file " + s.InputFileName + " cannot be rewound");
  s.InputLine = 1;
}

// --- Header and parameters lines ---

bool IsHeaderLetter(int c) { return c == 'D' || c == 'd' || c == 'H' || c == 'h'; }
bool IsParametersLetter(int c) { return c == 'P' || c == 'p'; }

void ReadHeaderLine(EngineState& s, InputScanner& scan, int letter) {
  s.OriginalHourlyAvailable = letter == 'H' || letter == 'h';
  // A title such as "Hourly rain at ..." is a header with nothing to skip.
  s.SkipCount = ParseInteger(scan.NextToken()).value_or(0);
  scan.SkipLine();
}

// The parameters letter may stand after blanks, on the line after the header's.
int FirstCharAfterHeader(InputScanner& scan) {
  for (int c = scan.Peek(); c == ' ' || c == '\t' || IsLineEnd(c); c = scan.Peek()) scan.Get();
  return scan.Get();
}

template <class Number>
Number ReadParameter(InputScanner& scan, std::optional<Number> (*parse)(std::string_view)) {
  const auto value = parse(scan.NextToken());
  if (!value) throw InputError();
  return *value;
}

ParametersLine ReadParametersLine(InputScanner& scan) {
  ParametersLine line;
  line.daysPerMonth = ReadParameter<int>(scan, ParseInteger);
  for (double& rate : line.rates) rate = ReadParameter<double>(scan, ParseReal);
  // Periods of no days would make the calendar's roll-over run forever.
  if (line.daysPerMonth < 1) {
    throw InvalidArgument(
        "The days per month in the parameters line of the input file must be at least 1; it is " +
        std::to_string(line.daysPerMonth));
  }
  return line;
}

// A bad line changes no parameter, and leaves the file at its start with the reader not
// started: nothing is read from a file whose layout is in doubt.
ParametersLine ReadParametersOrRewind(EngineState& s, InputScanner& scan) {
  try {
    return ReadParametersLine(scan);
  } catch (const NimbraError&) {
    Rewind(s);
    s.Reader = ReaderState::NotStarted;
    throw;
  }
}

// --- Records ---

std::string Shown(const std::string& token) {
  return token.size() <= kShownTokenLength ? token : token.substr(0, kShownTokenLength) + "...";
}

// Reads the tokens of one record. A record that the text ends within, or one holding
// a token that is no number, ends the input; Problem() then tells the user why.
class RecordReader {
 public:
  explicit RecordReader(InputScanner& scan) : scan_(scan), line_(scan.Line()) {}

  bool Read(DailyRecord& r, int skipCount, bool withHours) {
    if (!(Next(r.Day, ParseInteger) && Next(r.Tag, ParseInteger) && Next(r.Period, ParseInteger))) {
      return false;
    }
    double skipped = 0;
    for (int k = 0; k < skipCount; ++k) {
      if (!Next(skipped, ParseReal)) return false;
    }
    if (!Next(r.Depth, ParseReal)) return false;
    if (!withHours) return true;
    for (double& hour : r.Hours) {
      if (!Next(hour, ParseReal)) return false;
    }
    return true;
  }

  const std::string& Problem() const { return problem_; }

 private:
  template <class Number>
  bool Next(Number& value, std::optional<Number> (*parse)(std::string_view)) {
    if (!scan_.SkipSeparators()) {
      problem_ = "The record in line " + std::to_string(line_) +
                 " of the input file is cut short by the end of the file: it is dropped.";
      return false;
    }
    const int line = scan_.Line();
    const std::string token = scan_.NextToken();
    const auto parsed = parse(token);
    if (!parsed) {
      problem_ = "Invalid number \"" + Shown(token) + "\" in line " + std::to_string(line) +
                 " of the input file: the input ends there.";
      return false;
    }
    value = *parsed;
    return true;
  }

  InputScanner& scan_;
  int line_;  // where the record begins
  std::string problem_;
};

// --- Wet-day sequences ---

SequenceDate DateOf(const DailyRecord& r) { return {r.Day, r.Tag, r.Period}; }

// The run starts with an empty sequence on day 1 of the first wet record's period, so
// that the dry days before that record count as a gap.
void StartReading(EngineCore& engine, HourlySeries& hourly) {
  EngineState& s = engine.State();
  s.SplittingLongRun = false;
  engine.ReadNextRecord();
  if (s.Reader == ReaderState::Ended) return;
  s.SequenceStart = {1, s.NextRecord.Tag, s.NextRecord.Period};
  hourly.Count = 0;
}

bool ContinuesRun(const EngineState& s, const DailyRecord& last) {
  const DailyRecord& next = s.NextRecord;
  return s.Reader == ReaderState::Reading && static_cast<long long>(last.Day) + 1 == next.Day &&
         next.Tag == last.Tag && next.Period == last.Period;
}

void Append(const DailyRecord& record, int day, HourlySeries& hourly, DailySeries& daily) {
  daily[day] = record.Depth;
  for (int r = 1; r <= 24; ++r) hourly[24 * (day - 1) + r] = record.Hours[static_cast<std::size_t>(r - 1)];
}

// Delivers NextRecord and the records that follow it day by day, up to the series'
// capacity; true when the run goes on beyond it.
bool TakeWetRun(EngineCore& engine, HourlySeries& hourly, DailySeries& daily) {
  EngineState& s = engine.State();
  int days = 0;
  bool continues = false;
  do {
    const DailyRecord record = s.NextRecord;
    Append(record, ++days, hourly, daily);
    engine.ReadNextRecord();
    continues = ContinuesRun(s, record);
  } while (continues && days < DailySeries::kCapacity);
  daily.Count = days;
  hourly.Count = 24 * days;
  return continues;
}

// The rest of an overlong run follows as the next sequence, from the day after this
// one's last; the user hears of it once per run.
void NoteLongRun(EngineCore& engine, bool cut) {
  EngineState& s = engine.State();
  if (cut && !s.SplittingLongRun) {
    const SequenceDate& d = s.SequenceStart;
    engine.Ui().ShowMessage("The wet run from day " + std::to_string(d.Day) + ", tag " +
                            std::to_string(d.Tag) + ", period " + std::to_string(d.Period) +
                            " of the input file is longer than " + std::to_string(DailySeries::kCapacity) +
                            " days: it is split into sequences of at most " +
                            std::to_string(DailySeries::kCapacity) + " days.");
  }
  s.SplittingLongRun = cut;
}

}  // namespace

void EngineCore::ReadInputHeader() {
  EngineState& s = state_;
  Rewind(s);
  InputScanner scan(*s.InputFile, s.InputLine);
  s.OriginalHourlyAvailable = false;
  const int first = scan.Get();
  const bool header = IsHeaderLetter(first);
  if (header) ReadHeaderLine(s, scan, first);
  const bool parameters = IsParametersLetter(header ? FirstCharAfterHeader(scan) : first);
  ParametersLine line;
  if (parameters) line = ReadParametersOrRewind(s, scan);
  Rewind(s);
  if (header) scan.SkipLine();
  if (parameters) scan.SkipLine();
  if (!header) s.SkipCount = 0;
  s.Reader = ReaderState::NotStarted;
  s.SplittingLongRun = false;
  if (parameters) TakeParameters(line);
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

void EngineCore::ReadNextRecord() {
  EngineState& s = state_;
  InputScanner scan(RequireInputFile(s), s.InputLine);
  DailyRecord record;
  while (scan.SkipSeparators()) {
    RecordReader reader(scan);
    if (!reader.Read(record, s.SkipCount, s.OriginalHourlyAvailable)) {
      ui_.ShowMessage(reader.Problem());
      break;
    }
    if (record.Depth >= kWetDayDepth) {
      s.NextRecord = record;
      s.Reader = ReaderState::Reading;
      return;
    }
  }
  s.Reader = ReaderState::Ended;
}

void EngineCore::ReadNextWetSequence(HourlySeries& hourly, DailySeries& daily) {
  EngineState& s = state_;
  if (s.Reader == ReaderState::NotStarted) StartReading(*this, hourly);
  if (s.Reader == ReaderState::Ended) {
    s.EndOfInput = true;
    ui_.DisableNextCommands();
    return;
  }
  s.PreviousStart = s.SequenceStart;
  s.PreviousDays = hourly.Count / 24;
  s.SequenceStart = DateOf(s.NextRecord);
  NoteLongRun(*this, TakeWetRun(*this, hourly, daily));
}

}  // namespace nimbra
