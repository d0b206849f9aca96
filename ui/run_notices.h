#pragma once
// What the engine asks of the windows. Between runs of steps it goes straight to the
// main window; while a run goes on in the worker thread it is handed to the windows'
// thread, and a message the run has already shown is not shown again but counted, so
// that a warning met at every step asks for one OK instead of one per step.

#include <QObject>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "call_inbox.h"
#include "user_interface.h"

namespace nimbra {

struct RepeatedMessage {
  std::string text;
  int times = 0;
};

class RunNotices : public QObject, public UserInterface {
  Q_OBJECT

 public:
  explicit RunNotices(UserInterface& windows);

  // On the windows' thread, before the worker starts and after it has ended. EndRun
  // returns the messages shown more than once, with how often they came.
  void BeginRun();
  std::vector<RepeatedMessage> EndRun();

  void ShowMessage(const std::string& text) override;
  void ParametersChanged() override;
  void DisableNextCommands() override;

  // On the windows' thread, each time a message shown before comes again.
  std::function<void(const RepeatedMessage&)> onRepeat;

 private:
  void Post(const std::function<void()>& call);

  UserInterface& windows_;
  CallInbox inbox_{this};
  bool relaying_ = false;
  // Written by the worker only, read after it has ended.
  std::map<std::string, int> shown_;
};

// The message's first line: what a status bar or a log line can hold.
std::string Headline(const std::string& message);

// The line the log and the status bar give a message that came more than once.
std::string RepeatNote(const RepeatedMessage& repeat);

}  // namespace nimbra
