#include "run_statistics.h"

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

#include "checked.h"
#include "engine_core.h"
#include "stat2.h"

namespace nimbra {

namespace {

constexpr int kMaxLag = 10;

template <class AutocorrelationAt>
void SetAutocorrelations(StatisticsSummary& summary, AutocorrelationAt autocorrelationAt) {
  summary.Autoc[0] = 1.0;
  for (int lag = 1; lag <= kMaxLag; ++lag)
    summary.Autoc[static_cast<std::size_t>(lag)] = autocorrelationAt(lag);
}

// The three views of one series, in the order the report shows them.
enum View { kAllValues, kWetDays, kWetHours };

struct Series {
  const RecordSeries& wetValues;
  const std::vector<double>& allValues;
  std::array<StatisticsSummary*, 3> summaries;  // indexed by View
};

Series OriginalSeries(EngineState& s) {
  return {s.WetValuesOriginal,
          s.AllValuesOriginal,
          {&s.AllStatsOriginal, &s.WetDayStatsOriginal, &s.WetHourStatsOriginal}};
}

Series SyntheticSeries(EngineState& s) {
  return {s.WetValuesSynthetic,
          s.AllValuesSynthetic,
          {&s.AllStatsSynthetic, &s.WetDayStatsSynthetic, &s.WetHourStatsSynthetic}};
}

void Summarise(const Series& series, int allValuesCount) {
  SummariseWetDays(series.wetValues, *series.summaries[kWetDays]);
  SummariseWetHours(series.wetValues, *series.summaries[kWetHours]);
  SummariseAllValues(series.allValues, *series.summaries[kAllValues], allValuesCount);
}

// --- Collection

void AppendToRecords(const HourlySeries& hourly, RecordSeries& series) {
  std::vector<double> values;
  for (int h = 1; h <= hourly.Count; ++h) values.push_back(hourly[h]);
  AppendRecords(values, static_cast<int>(values.size()), series, kWetValuesCapacity, kRecordSeparator);
}

// Day numbers come from the input file, so their arithmetic is checked like any other
// integer arithmetic rather than allowed to wrap.
[[noreturn]] void ThrowDayOverflow() {
  throw RangeError(std::string(kRangeCheck) + ": day numbers out of range");
}

long long Plus(long long a, long long b) {
  long long result = 0;
  if (__builtin_add_overflow(a, b, &result)) ThrowDayOverflow();
  return result;
}

long long Minus(long long a, long long b) {
  long long result = 0;
  if (__builtin_sub_overflow(a, b, &result)) ThrowDayOverflow();
  return result;
}

long long Times(long long a, long long b) {
  long long result = 0;
  if (__builtin_mul_overflow(a, b, &result)) ThrowDayOverflow();
  return result;
}

long long GapHours(const EngineState& s) {
  // The dates stand still from step to step in constant-length mode, so a gap computed
  // from them means nothing; the calendar of that mode advances by the sequence and
  // one day, so one dry day goes before each sequence.
  if (s.Options.UseConstLength) return kHoursPerDay;
  if (s.Dated != nullptr) return s.DatedGapHours;
  const long long periods = static_cast<long long>(s.PreviousStart.Period) - s.SequenceStart.Period;
  const long long dayAfterPrevious =
      Plus(Plus(Times(periods, s.Options.DaysPerMonth), s.PreviousStart.Day), s.PreviousDays);
  return Times(Minus(s.SequenceStart.Day, dayAfterPrevious), kHoursPerDay);
}

void WriteAllValues(EngineState& s, long long index, double original, double synthetic) {
  At(std::span<double>(s.AllValuesOriginal), index) = original;
  At(std::span<double>(s.AllValuesSynthetic), index) = synthetic;
}

// The count moves only once every zero is in place: an overflow adds none of them.
void AppendDryHours(EngineState& s, long long hours) {
  for (long long k = 0; k < hours; ++k) WriteAllValues(s, s.AllValuesCount + k, 0.0, 0.0);
  if (hours > 0) s.AllValuesCount += static_cast<int>(hours);
}

void AppendSequenceHours(EngineState& s) {
  const int n = s.OriginalHourly.Count;
  for (int h = 1; h <= n; ++h) {
    WriteAllValues(s, s.AllValuesCount + (h - 1LL), s.OriginalHourly[h], s.SyntheticHourly[h]);
  }
  s.AllValuesCount += n;
}

// --- Report

// Frequencies are ratios of counts and follow the statistics' rule for a zero
// denominator: 1e100 when something was counted, 0 otherwise.
double CountRatio(int count, int total) {
  if (total != 0) return static_cast<double>(count) / total;
  return count != 0 ? 1e100 : 0.0;
}

struct Moment {
  const char* label;
  double StatisticsSummary::*field;
};

constexpr std::array<Moment, 4> kMoments{{{"Mean      ", &StatisticsSummary::Mean},
                                          {"StDev    ", &StatisticsSummary::StDev},
                                          {"Variation  ", &StatisticsSummary::Variation},
                                          {"Skewness  ", &StatisticsSummary::Skewness}}};

struct Frequency {
  const char* label;
  View denominator;
};

// Each value line holds the original value (only when there is an original series),
// two blanks, and the disaggregated value.
class StatisticsReport {
 public:
  StatisticsReport(OutputLog& log, const Series* original, const Series& synthetic)
      : log_(log), original_(original), synthetic_(synthetic) {}

  void Print() const {
    Section("\r\nSTATISTICS\r\nAll data values", kAllValues, {});
    Section("\r\nWet days", kWetDays, {{"Frequency in total days  ", kAllValues}});
    Section("\r\nWet hours", kWetHours,
            {{"Frequency in total days  ", kAllValues}, {"Frequency in wet days  ", kWetDays}});
  }

 private:
  void Section(const char* heading, View view, std::initializer_list<Frequency> frequencies) const {
    log_.AddLine(heading);
    ValueLine("Count     ", [view](const Series& s) { return s.summaries[view]->Count; });
    for (const Frequency& f : frequencies) {
      ValueLine(f.label, [view, f](const Series& s) {
        return CountRatio(s.summaries[view]->Count, s.summaries[f.denominator]->Count);
      });
    }
    for (const Moment& m : kMoments) {
      ValueLine(m.label, [view, m](const Series& s) { return s.summaries[view]->*m.field; });
    }
    for (std::size_t lag = 0; lag <= kMaxLag; ++lag) {
      ValueLine(log_.Formatted("Autoc.%d  ", lag),
                [view, lag](const Series& s) { return s.summaries[view]->Autoc[lag]; });
    }
  }

  template <class ValueOf>
  void ValueLine(std::string line, ValueOf valueOf) const {
    const char* form = std::is_integral_v<decltype(valueOf(synthetic_))> ? "%d" : "%g";
    if (original_ != nullptr) line += log_.Formatted(form, valueOf(*original_)) + "  ";
    log_.AddLine(line + log_.Formatted(form, valueOf(synthetic_)));
  }

  OutputLog& log_;
  const Series* original_;
  const Series& synthetic_;
};

void ReportCoverage(OutputLog& log, const char* statistics, long long kept, long long offered) {
  if (kept == offered) return;
  log.AddLine(
      log.Formatted("The statistics of %s cover %s of the run's %s hourly values: the collection was full.",
                    statistics, std::to_string(kept), std::to_string(offered)));
}

void ReportShortfall(OutputLog& log, const EngineState& s) {
  ReportCoverage(log, "wet days and wet hours", s.Shortfall.wetKept, s.Shortfall.wetOffered);
  ReportCoverage(log, "all data values", s.Shortfall.allKept, s.Shortfall.allOffered);
}

}  // namespace

void SummariseAllValues(std::span<const double> data, StatisticsSummary& summary, int n) {
  summary.Count = n;
  if (n < kHoursPerDay) return;
  summary.Mean = ArrayMean(data, n);
  summary.StDev = CheckedSqrt(ArrayVariance(data, n));
  summary.Variation = ArrayVariation(data, n);
  summary.Skewness = ArraySkewness(data, n);
  SetAutocorrelations(summary, [&](int lag) { return ArrayAutocorrelation(lag, data, n); });
}

void SummariseWetDays(std::span<const double> data, StatisticsSummary& summary) {
  SummariseRecords(data, kWetValuesCapacity, kRecordSeparator, RecordZeros::Taken, summary);
}

void SummariseWetHours(std::span<const double> data, StatisticsSummary& summary) {
  SummariseRecords(data, kWetValuesCapacity, kRecordSeparator, RecordZeros::Skipped, summary);
}

void ClearSummary(StatisticsSummary& summary) {
  summary.Count = 0;
  summary.Mean = summary.StDev = summary.Variation = summary.Skewness = 0.0;
  for (int lag = 1; lag <= kMaxLag; ++lag) summary.Autoc[static_cast<std::size_t>(lag)] = 0.0;
}

// A full series ends this step's collection of wet values, not the step: the
// statistics then cover the sequences kept so far.
void EngineCore::CollectWetValues() {
  CollectionShortfall& shortfall = state_.Shortfall;
  shortfall.wetOffered += state_.SyntheticHourly.Count;
  try {
    AppendToRecords(state_.SyntheticHourly, state_.WetValuesSynthetic);
    AppendToRecords(state_.OriginalHourly, state_.WetValuesOriginal);
    shortfall.wetKept += state_.SyntheticHourly.Count;
  } catch (const NimbraError&) {
    if (!shortfall.wetNoted) ui_.ShowMessage(kTooManyWetValues);
    shortfall.wetNoted = true;
  }
}

bool EngineCore::CollectAllValues() {
  const long long gapHours = GapHours(state_);
  if (!state_.Options.UseConstLength && gapHours < 0) {
    ui_.ShowMessage(kDateOrderError);
    return false;
  }
  CollectionShortfall& shortfall = state_.Shortfall;
  shortfall.allOffered += gapHours + state_.OriginalHourly.Count;
  const int countBefore = state_.AllValuesCount;
  try {
    AppendDryHours(state_, gapHours);
    AppendSequenceHours(state_);
  } catch (const NimbraError&) {
    if (!shortfall.allNoted) ui_.ShowMessage(kTooManyAllValues);
    shortfall.allNoted = true;
  }
  shortfall.allKept += state_.AllValuesCount - countBefore;
  return true;
}

void EngineCore::ComputeStatistics() {
  if (state_.OriginalHourlyAvailable) Summarise(OriginalSeries(state_), state_.AllValuesCount);
  Summarise(SyntheticSeries(state_), state_.AllValuesCount);
}

void EngineCore::PrintStatistics() {
  ComputeStatistics();
  if (state_.WetDayStatsSynthetic.Count < 2) return;
  const Series original = OriginalSeries(state_);
  const Series synthetic = SyntheticSeries(state_);
  StatisticsReport(log_, state_.OriginalHourlyAvailable ? &original : nullptr, synthetic).Print();
  ReportShortfall(log_, state_);
}

void EngineCore::ResetStatistics() {
  for (StatisticsSummary* summary : OriginalSeries(state_).summaries) ClearSummary(*summary);
  for (StatisticsSummary* summary : SyntheticSeries(state_).summaries) ClearSummary(*summary);
}

}  // namespace nimbra
