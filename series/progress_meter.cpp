#include "progress_meter.h"

#include <cstdio>

namespace nimbra {

namespace {

constexpr std::chrono::seconds kQuietStart{3};
constexpr std::chrono::milliseconds kTerminalPeriod{250};
constexpr std::chrono::seconds kLinePeriod{5};

std::string Clock(std::chrono::seconds time) {
  const long long total = time.count();
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
  return text;
}

}  // namespace

std::string ProgressLine(const ProgressCounts& c, std::chrono::seconds elapsed) {
  std::string line = std::to_string(c.StationsDone) + "/" + std::to_string(c.Stations) + " stations, " +
                     std::to_string(c.DaysDone) + "/" + std::to_string(c.Days) + " days, " + Clock(elapsed) +
                     " elapsed";
  if (c.DaysDone > 0 && c.DaysDone < c.Days) {
    const double share = static_cast<double>(c.DaysDone) / static_cast<double>(c.Days);
    const auto left = static_cast<long long>(static_cast<double>(elapsed.count()) * (1 / share - 1) + 0.5);
    line += ", about " + Clock(std::chrono::seconds(left)) + " left";
  }
  return line;
}

ProgressMeter::ProgressMeter(std::ostream& out, bool terminal) : out_(out), terminal_(terminal) {}

void ProgressMeter::Update(const ProgressCounts& counts) {
  if (counts.StationsDone != counts_.StationsDone || counts.DaysDone != counts_.DaysDone) current_ = false;
  counts_ = counts;
  const Clock::time_point now = Clock::now();
  if (now - start_ < kQuietStart) return;
  if (now - shown_ >= (terminal_ ? std::chrono::duration_cast<Clock::duration>(kTerminalPeriod)
                                 : std::chrono::duration_cast<Clock::duration>(kLinePeriod)) ||
      !drawn_) {
    Show(now);
  }
}

void ProgressMeter::Show(Clock::time_point now) {
  const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(now - start_);
  const std::string line = ProgressLine(counts_, elapsed);
  if (terminal_) {
    out_ << '\r' << line << "\033[K" << std::flush;
  } else {
    out_ << line << '\n' << std::flush;
  }
  shown_ = now;
  drawn_ = true;
  current_ = true;
}

void ProgressMeter::Finish() {
  if (!drawn_) return;
  if (!current_) Show(Clock::now());
  if (terminal_) out_ << '\n' << std::flush;
}

}  // namespace nimbra
