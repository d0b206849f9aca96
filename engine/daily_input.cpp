#include <string>
#include <type_traits>

#include "engine_core.h"
#include "format.h"
#include "input_file.h"
#include "input_tokens.h"
#include "model_parameters.h"

namespace nimbra {

namespace {

// mm; above any day's rain a gauge has recorded, and above what a search can match.
constexpr double kDepthLimit = 1e4;

// Names a record's field in a message: "Day", "Depth", "hour 7", ...
struct Field {
  const char* name;
  int number = 0;
  std::string Name() const { return number == 0 ? name : name + std::string(" ") + std::to_string(number); }
};

// Reads the tokens of one record. A record that the text ends within, or one holding
// a token that is no number, a day outside its period or a depth beyond belief, ends
// the input; Problem() then tells the user why.
class RecordReader {
 public:
  RecordReader(const EngineState& s, InputScanner& scan) : s_(s), scan_(scan), line_(scan.Line()) {}

  bool Read(DailyRecord& r) {
    if (!(Next(r.Day, {"Day"}, ParseInteger) && DayInPeriod(r.Day) && Next(r.Tag, {"Tag"}, ParseInteger) &&
          Next(r.Period, {"Period"}, ParseInteger))) {
      return false;
    }
    double skipped = 0;
    for (int k = 1; k <= s_.SkipCount; ++k) {
      if (!Next(skipped, {"skipped value", k}, ParseReal)) return false;
    }
    if (!NextDepth(r.Depth, {"Depth"})) return false;
    if (!s_.OriginalHourlyAvailable) return true;
    for (int k = 1; k <= kHoursPerDay; ++k) {
      double& hour = r.Hours[static_cast<std::size_t>(k - 1)];
      if (!NextDepth(hour, {"hour", k})) return false;
      if (hour < 0) TakeAsDry(hour);
    }
    return true;
  }

  const std::string& Problem() const { return problem_; }
  // The line of the record's first negative hour, or 0.
  std::int64_t NegativeHourLine() const { return negativeHourLine_; }

 private:
  template <class Number>
  bool Next(Number& value, const Field& field, std::optional<Number> (*parse)(std::string_view)) {
    if (!scan_.SkipSeparators()) {
      problem_ = "The record in " + InputLineName(s_, line_) +
                 " is cut short by the end of the file: it is dropped.";
      return false;
    }
    tokenLine_ = scan_.Line();
    const std::string token = scan_.NextToken();
    const auto parsed = parse(token);
    if (!parsed) {
      const char* expected = std::is_integral_v<Number> ? "an integer" : "a real number such as 2.5";
      problem_ = "Invalid number \"" + Shown(token) + "\" for " + field.Name() + " in " +
                 InputLineName(s_, tokenLine_) + ": " + expected + " is expected; the input ends there.";
      return false;
    }
    value = *parsed;
    return true;
  }

  bool DayInPeriod(int day) {
    if (day >= 1 && day <= s_.Options.DaysPerMonth) return true;
    problem_ = "Day " + std::to_string(day) + " in " + InputLineName(s_, tokenLine_) + " is outside 1 to " +
               std::to_string(s_.Options.DaysPerMonth) + ", the days per month: the input ends there.";
    return false;
  }

  bool NextDepth(double& depth, const Field& field) {
    if (!Next(depth, field, ParseReal)) return false;
    if (depth <= kDepthLimit) return true;
    problem_ = field.Name() + " in " + InputLineName(s_, tokenLine_) + " is " + FormatGeneral(depth, ".") +
               " mm, above the " + FormatGeneral(kDepthLimit, ".") +
               " mm that no day's rain reaches: the input ends there.";
    return false;
  }

  // A negative hour is a missing-value code, as a negative depth is.
  void TakeAsDry(double& hour) {
    hour = 0;
    if (negativeHourLine_ == 0) negativeHourLine_ = tokenLine_;
  }

  const EngineState& s_;
  InputScanner& scan_;
  std::int64_t line_;  // where the record begins
  std::int64_t tokenLine_ = 0;
  std::int64_t negativeHourLine_ = 0;
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
  for (int r = 1; r <= kHoursPerDay; ++r)
    hourly[kHoursPerDay * (day - 1) + r] = record.Hours[static_cast<std::size_t>(r - 1)];
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
  hourly.Count = kHoursPerDay * days;
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

// Once per run: the hours are kept, as dry ones, so the user only needs to know.
void NoteNegativeHours(EngineCore& engine, std::int64_t line) {
  EngineState& s = engine.State();
  if (line == 0 || s.NegativeHourNoted) return;
  s.NegativeHourNoted = true;
  engine.Ui().ShowMessage(
      "Negative observed hours are read as dry hours (0 mm), as negative depths are read as "
      "dry days; the first is in " +
      InputLineName(s, line) + ".");
}

}  // namespace

void EngineCore::ReadNextRecord() {
  EngineState& s = state_;
  InputScanner scan(RequireInputFile(s), s.InputLine);
  DailyRecord record;
  while (scan.SkipSeparators()) {
    RecordReader reader(s, scan);
    if (!reader.Read(record)) {
      ui_.ShowMessage(reader.Problem());
      s.InputDropped = true;
      break;
    }
    if (record.Depth >= kWetDayDepth) {
      NoteNegativeHours(*this, reader.NegativeHourLine());
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
  s.PreviousDays = hourly.Count / kHoursPerDay;
  s.SequenceStart = DateOf(s.NextRecord);
  NoteLongRun(*this, TakeWetRun(*this, hourly, daily));
}

}  // namespace nimbra
