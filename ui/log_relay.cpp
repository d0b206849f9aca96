#include "log_relay.h"

#include <QThread>

#include "log_window.h"
#include "text_lines.h"

namespace nimbra {

LogRelay::LogRelay(LogWindow& window) : window_(window) {}

void LogRelay::BeginRun() {
  lastLine_ = window_.LastLine();
  hasLine_ = !window_.IsEmpty();
  separator_ = window_.DecimalSeparator();
  relaying_ = true;
  const std::lock_guard lock(mutex_);
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
  lastLine_ = SplitLines(text).back();
  hasLine_ = true;
  Queue(Edit::Add, text);
}

void LogRelay::ClearText() {
  if (!relaying_) return window_.ClearText();
  lastLine_.clear();
  hasLine_ = false;
  Queue(Edit::Clear, std::string());
}

std::string LogRelay::LastLine() const { return relaying_ ? lastLine_ : window_.LastLine(); }

void LogRelay::ReplaceLastLine(const std::string& text) {
  if (!relaying_) return window_.ReplaceLastLine(text);
  if (!hasLine_) return;
  lastLine_ = SplitLines(text).back();
  Queue(Edit::ReplaceLast, text);
}

std::string LogRelay::DecimalSeparator() const { return relaying_ ? separator_ : window_.DecimalSeparator(); }

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
    first = pending_.empty();
    pending_.push_back({edit, text});
  }
  if (first) QMetaObject::invokeMethod(this, &LogRelay::Deliver, Qt::QueuedConnection);
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
