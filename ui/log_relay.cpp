#include "log_relay.h"

#include <QThread>

#include "log_window.h"
#include "text_lines.h"

namespace nimbra {

LogRelay::LogRelay(LogWindow& window) : window_(window) {}

void LogRelay::BeginRun() {
  const std::lock_guard lock(mutex_);
  lastLine_ = window_.LastLine();
  hasLine_ = !window_.IsEmpty();
  separator_ = window_.DecimalSeparator();
  relaying_ = true;
  holdWorker_ = true;
}

void LogRelay::LetWorkerGo() {
  const std::lock_guard lock(mutex_);
  holdWorker_ = false;
  delivered_.notify_all();
}

void LogRelay::EndRun() {
  Deliver();
  relaying_ = false;
}

void LogRelay::AddLine(const std::string& text) {
  if (!relaying_) return window_.AddLine(text);
  Queue(Edit::Add, text);
}

void LogRelay::ClearText() {
  if (!relaying_) return window_.ClearText();
  Queue(Edit::Clear, std::string());
}

std::string LogRelay::LastLine() const {
  if (!relaying_) return window_.LastLine();
  const std::lock_guard lock(mutex_);
  return lastLine_;
}

void LogRelay::ReplaceLastLine(const std::string& text) {
  if (!relaying_) return window_.ReplaceLastLine(text);
  Queue(Edit::ReplaceLast, text);
}

std::string LogRelay::DecimalSeparator() const { return relaying_ ? separator_ : window_.DecimalSeparator(); }

bool LogRelay::NoteLastLine(Edit edit, const std::string& text) {
  switch (edit) {
    case Edit::Add:
      lastLine_ = SplitLines(text).back();
      hasLine_ = true;
      return true;
    case Edit::Clear:
      lastLine_.clear();
      hasLine_ = false;
      return true;
    case Edit::ReplaceLast:
      if (!hasLine_) return false;
      lastLine_ = SplitLines(text).back();
      return true;
  }
  return false;
}

// One delivery is posted for each batch: a worker writing faster than the window
// draws fills the batch instead of the event queue.
// Only the worker waits: the windows' thread delivers the backlog.
void LogRelay::Queue(Edit edit, const std::string& text) {
  constexpr std::size_t kBacklog = 10'000;
  const bool worker = QThread::currentThread() != thread();
  bool first = false;
  {
    std::unique_lock lock(mutex_);
    delivered_.wait(lock, [this, worker] { return !worker || !holdWorker_ || pending_.size() < kBacklog; });
    if (!NoteLastLine(edit, text)) return;
    first = pending_.empty();
    pending_.push_back({edit, text});
  }
  if (first) inbox_.Post([this] { Deliver(); });
}

void LogRelay::Deliver() {
  std::vector<PendingEdit> edits;
  {
    const std::lock_guard lock(mutex_);
    edits.swap(pending_);
    delivered_.notify_all();
  }
  // Lines added one after another reach the window in one insertion.
  std::vector<std::string> added;
  const auto addPending = [&] {
    if (!added.empty()) window_.AddLines(added);
    added.clear();
  };
  for (const PendingEdit& e : edits) {
    switch (e.edit) {
      case Edit::Add:
        for (std::string& line : SplitLines(e.text)) added.push_back(std::move(line));
        break;
      case Edit::Clear:
        addPending();
        window_.ClearText();
        break;
      case Edit::ReplaceLast:
        addPending();
        window_.ReplaceLastLine(e.text);
        break;
    }
  }
  addPending();
}

}  // namespace nimbra
