#include "log_relay.h"

#include "log_window.h"
#include "text_lines.h"

namespace nimbra {

LogRelay::LogRelay(LogWindow& window) : window_(window) {}

void LogRelay::BeginRun() {
  lastLine_ = window_.LastLine();
  hasLine_ = !window_.IsEmpty();
  separator_ = window_.DecimalSeparator();
  relaying_ = true;
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
void LogRelay::Queue(Edit edit, const std::string& text) {
  bool first = false;
  {
    const std::lock_guard lock(mutex_);
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
  }
  for (const PendingEdit& e : edits) {
    switch (e.edit) {
      case Edit::Add:
        window_.AddLine(e.text);
        break;
      case Edit::Clear:
        window_.ClearText();
        break;
      case Edit::ReplaceLast:
        window_.ReplaceLastLine(e.text);
        break;
    }
  }
}

}  // namespace nimbra
