#include <string>

#include "engine_core.h"
#include "input_file.h"
#include "input_records.h"

namespace nimbra {

namespace {

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
  const RecordLayout layout{s.OriginalHourlyAvailable, s.SkipCount, s.Options.DaysPerMonth, s.InputFileName};
  DailyRecord record;
  while (scan.SkipSeparators()) {
    RecordReader reader(layout, scan);
    if (!reader.Read(record)) {
      ui_.ShowMessage(reader.Problem().Reason + reader.Problem().Consequence);
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
