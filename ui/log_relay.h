#pragma once
// The log the engine writes into. Between runs of steps it writes straight into the log
// window; while a run goes on in the worker thread, the lines are queued and the window
// takes them in batches on its own thread, and the last line the engine reads back is
// the one the worker wrote, kept on the worker's side. A worker that writes faster than the
// window takes lines waits while a backlog is queued, so that the window stays alive and a
// stop is not held up by lines still to be shown; it no longer waits once it is let go.

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "call_inbox.h"
#include "output_log.h"

namespace nimbra {

class LogWindow;

class LogRelay : public QObject, public OutputLog {
  Q_OBJECT

 public:
  explicit LogRelay(LogWindow& window);

  // On the windows' thread, before the worker starts and after it has ended.
  void BeginRun();
  void EndRun();
  // The worker no longer waits for the window: the run is being stopped.
  void LetWorkerGo();

  void AddLine(const std::string& text) override;
  void ClearText() override;
  std::string LastLine() const override;
  void ReplaceLastLine(const std::string& text) override;
  std::string DecimalSeparator() const override;

 private:
  enum class Edit { Add, Clear, ReplaceLast };
  struct PendingEdit {
    Edit edit;
    std::string text;
  };

  void Queue(Edit edit, const std::string& text);
  // Under the lock: the last line as the edit leaves it; false for an edit that changes nothing.
  bool NoteLastLine(Edit edit, const std::string& text);
  // On the windows' thread: hands the queued edits to the window in order.
  void Deliver();

  LogWindow& window_;
  CallInbox inbox_{this};
  // Set and cleared by the windows' thread while no worker runs, read by both.
  std::atomic<bool> relaying_ = false;
  std::string separator_;
  // The worker and the windows' thread (a message shown during the run) both write lines.
  mutable std::mutex mutex_;
  std::string lastLine_;
  bool hasLine_ = false;
  std::condition_variable delivered_;
  bool holdWorker_ = false;
  std::vector<PendingEdit> pending_;
};

}  // namespace nimbra
