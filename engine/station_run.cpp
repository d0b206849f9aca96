#include "station_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <limits>
#include <memory>
#include <string>

#include "civil_date.h"
#include "engine_core.h"
#include "errors.h"
#include "text_lines.h"

namespace nimbra {

namespace {

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();

// Keeps every line: a station's log belongs to its caller, whatever its length.
class LineLog : public OutputLog {
 public:
  explicit LineLog(std::vector<std::string>& lines) : lines_(lines) {}
  void AddLine(const std::string& text) override {
    for (auto& line : SplitLines(text)) lines_.push_back(std::move(line));
  }
  void ClearText() override { lines_.clear(); }
  std::string LastLine() const override { return lines_.empty() ? std::string() : lines_.back(); }
  void ReplaceLastLine(const std::string& text) override {
    if (!lines_.empty()) lines_.back() = text;
  }

 private:
  std::vector<std::string>& lines_;
};

class MessageList : public UserInterface {
 public:
  explicit MessageList(std::vector<std::string>& messages) : messages_(messages) {}
  void ShowMessage(const std::string& text) override { messages_.push_back(text); }
  void ParametersChanged() override {}
  void DisableNextCommands() override {}

 private:
  std::vector<std::string>& messages_;
};

// "sequence of 3 days from 2003-07-14"
std::string SequenceName(std::int64_t firstDay, int days) {
  const CivilDate date = CivilFromDays(firstDay);
  char text[64];
  std::snprintf(text, sizeof text, "sequence of %d day%s from %04d-%02d-%02d", days, days == 1 ? "" : "s",
                date.Year, date.Month, date.Day);
  return text;
}

bool IsWet(double depth) { return !std::isnan(depth) && depth >= kWetDayDepth; }

class StationRun {
 public:
  StationRun(const StationSeries& series, const ParametersByMonth& parameters, const RunOptions& options)
      : series_(series),
        parameters_(parameters),
        options_(options),
        log_(result_.Log),
        messages_(result_.Messages) {
    const std::size_t days = series.Daily.size();
    if (!series.ObservedHours.empty() && series.ObservedHours.size() != kHoursPerDay * days) {
      throw InvalidArgument("The observed hours of a station must be 24 per day: " + std::to_string(days) +
                            " days, " + std::to_string(series.ObservedHours.size()) + " hours");
    }
    result_.Hourly.assign(kHoursPerDay * days, kMissing);
    core_->SetOptions(options);
    core_->SetParameters(parameters[static_cast<std::size_t>(MonthOf(0) - 1)]);
    core_->InitialiseRun();
  }

  StationResult Run() {
    std::size_t day = 0;
    while (day < series_.Daily.size()) {
      if (IsWet(series_.Daily[day])) {
        const std::size_t first = day;
        day = Sequence(day);
        CountDaysDone(options_, static_cast<std::int64_t>(day - first));
      } else {
        if (!std::isnan(series_.Daily[day])) {
          WriteDryDay(day);
          CountDaysDone(options_, 1);
        }
        ++day;
      }
    }
    result_.Drawn = core_->Drawn();
    return std::move(result_);
  }

 private:
  int MonthOf(std::size_t day) const {
    return CivilFromDays(series_.FirstDay + static_cast<std::int64_t>(day)).Month;
  }

  void WriteDryDay(std::size_t day) {
    for (int h = 0; h < kHoursPerDay; ++h)
      result_.Hourly[kHoursPerDay * day + static_cast<std::size_t>(h)] = 0;
  }

  // The wet days from first on, up to the capacity of a series; returns the day after.
  std::size_t Sequence(std::size_t first) {
    std::size_t end = first;
    while (end < series_.Daily.size() && IsWet(series_.Daily[end]) && end - first < DailySeries::kCapacity)
      ++end;
    const int days = static_cast<int>(end - first);
    ++result_.Sequences;
    const std::size_t shown = result_.Messages.size();
    const std::int64_t firstDay = series_.FirstDay + static_cast<std::int64_t>(first);
    core_->State().KeptDistance = 0;
    try {
      Disaggregate(first, days);
    } catch (const Stopped&) {
      throw;
    } catch (const std::exception& e) {
      result_.Failed.push_back({firstDay, days, e.what()});
      result_.Messages.push_back("The " + SequenceName(firstDay, days) +
                                 " failed, and its hours are missing: " + e.what());
    }
    NameTheSequence(shown, firstDay, days);
    return end;
  }

  // The storm searches that found no storm set with the sequence's wet and dry days kept
  // the last one tried, and the repetitions that came near enough to no target kept the
  // nearest set: one message of each kind for the sequence says so and names it. A
  // sequence that failed has its own entry; the message says its hours are missing.
  void NameTheSequence(std::size_t shown, std::int64_t firstDay, int days) {
    const bool failed = !result_.Failed.empty() && result_.Failed.back().FirstDay == firstDay;
    const std::string name = SequenceName(firstDay, days);
    if (TakeMessages(shown, kImpossibleStorm)) {
      Warn(failed, firstDay, days,
           "Impossible to construct a storm with the desired properties for the " + name + ": " +
               Instead(failed, "the storms of the last attempt were kept"));
    }
    if (TakeMessages(shown, kNearestStormsKept)) {
      const std::string kept = log_.Formatted(
          "the storms nearest the daily depths, at distance %f, were kept", core_->State().KeptDistance);
      Warn(failed, firstDay, days,
           "No storm set came within the distance allowed for the " + name + ": " + Instead(failed, kept));
    }
  }

  // Removes the messages since shown that are text; true if there were any.
  bool TakeMessages(std::size_t shown, const std::string& text) {
    std::vector<std::string>& messages = result_.Messages;
    const auto from = messages.begin() + static_cast<std::ptrdiff_t>(shown);
    const auto kept = std::remove(from, messages.end(), text);
    const bool any = kept != messages.end();
    messages.erase(kept, messages.end());
    return any;
  }

  std::string Instead(bool failed, const std::string& kept) const {
    if (failed) return "its hours are missing";
    return core_->State().Options.PerformAdjustment ? kept + " and their hours scaled to the daily depths"
                                                    : kept;
  }

  void Warn(bool failed, std::int64_t firstDay, int days, const std::string& text) {
    result_.Messages.push_back(text);
    if (!failed) result_.Warnings.push_back({firstDay, days, text});
  }

  void Disaggregate(std::size_t first, int days) {
    EngineState& s = core_->State();
    ++s.SequenceNumber;
    log_.AddLineFmt("Sequence #%d", s.SequenceNumber);
    const ModelParameters& month = parameters_[static_cast<std::size_t>(MonthOf(first) - 1)];
    if (!(month == s.Parameters)) core_->SetParameters(month);
    core_->CheckModelParameters();
    DailySeries target;
    target.Count = days;
    for (int k = 1; k <= days; ++k) target[k] = series_.Daily[first + static_cast<std::size_t>(k - 1)];
    const HourlySeries& hours = core_->DisaggregateSequence(target);
    for (int h = 1; h <= kHoursPerDay * days; ++h) {
      result_.Hourly[kHoursPerDay * first + static_cast<std::size_t>(h - 1)] = hours[h];
    }
  }

  const StationSeries& series_;
  const ParametersByMonth& parameters_;
  const RunOptions& options_;
  StationResult result_;
  LineLog log_;
  MessageList messages_;
  // The engine's storm sets take megabytes: they live on the heap, so that a station
  // runs on a thread with a small stack.
  std::unique_ptr<EngineCore> core_ = std::make_unique<EngineCore>(log_, messages_);
};

}  // namespace

StationResult DisaggregateStation(const StationSeries& series, const ParametersByMonth& parameters,
                                  const RunOptions& options) {
  return StationRun(series, parameters, options).Run();
}

}  // namespace nimbra
