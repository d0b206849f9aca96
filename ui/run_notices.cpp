#include "run_notices.h"

#include "text_lines.h"

namespace nimbra {

RunNotices::RunNotices(UserInterface& windows) : windows_(windows) {}

void RunNotices::BeginRun() {
  shown_.clear();
  relaying_ = true;
}

std::vector<RepeatedMessage> RunNotices::EndRun() {
  relaying_ = false;
  std::vector<RepeatedMessage> repeated;
  for (const auto& [text, times] : shown_)
    if (times > 1) repeated.push_back({text, times});
  return repeated;
}

void RunNotices::ShowMessage(const std::string& text) {
  if (!relaying_) return windows_.ShowMessage(text);
  const int times = ++shown_[text];
  if (times == 1) {
    Post([this, text] { windows_.ShowMessage(text); });
  } else {
    Post([this, repeat = RepeatedMessage{text, times}] {
      if (onRepeat) onRepeat(repeat);
    });
  }
}

void RunNotices::ParametersChanged() {
  if (!relaying_) return windows_.ParametersChanged();
  Post([this] { windows_.ParametersChanged(); });
}

void RunNotices::DisableNextCommands() {
  if (!relaying_) return windows_.DisableNextCommands();
  Post([this] { windows_.DisableNextCommands(); });
}

void RunNotices::Post(const std::function<void()>& call) { inbox_.Post(call); }

std::string Headline(const std::string& message) { return SplitLines(message).front(); }

std::string RepeatNote(const RepeatedMessage& repeat) {
  return Headline(repeat.text) + " ... shown " + std::to_string(repeat.times) + " times";
}

}  // namespace nimbra
