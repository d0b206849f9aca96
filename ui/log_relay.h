#pragma once
// The log the engine writes into. Between runs of steps it writes straight into the log
// window; while a run goes on in the worker thread, the lines are queued and the window
// takes them in batches on its own thread, and the last line the engine reads back is
// the one the worker wrote, kept on the worker's side.

#include <QObject>
#include <mutex>
#include <string>
#include <vector>

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
  // On the windows' thread: hands the queued edits to the window in order.
  void Deliver();

  LogWindow& window_;
  bool relaying_ = false;
  std::string lastLine_;
  bool hasLine_ = false;
  std::string separator_;
  std::mutex mutex_;
  std::vector<PendingEdit> pending_;
};

}  // namespace nimbra
