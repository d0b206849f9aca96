#pragma once
// A Prompts double for tests: each kind of dialog answers from its own queue, and
// every call is recorded in order, so a test states the exact dialogs and
// messages a user meets. A dialog with no answer queued throws, which fails the
// test and also stops a prompt loop that would otherwise never end.

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "prompts.h"

namespace nimbra {

class UnscriptedDialog : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

class ScriptedPrompts : public Prompts {
 public:
  // The open dialog closes holding name, or (cancel) still holding the proposed one.
  void QueueOpen(const std::string& name) { opens_.emplace_back(name); }
  void QueueOpenCancel() { opens_.emplace_back(std::nullopt); }
  // The save dialog returns name, or nothing when cancelled.
  void QueueSave(const std::string& name) { saves_.emplace_back(name); }
  void QueueSaveCancel() { saves_.emplace_back(std::nullopt); }
  void QueueConfirm(bool yes) { confirms_.push_back(yes); }
  void QueueConfirmOrCancel(Answer answer) { confirmsOrCancels_.push_back(answer); }

  // Each call as "open dialog: <proposed>", "save dialog: <proposed>",
  // "message: <text>", "question: <text>" or "question with cancel: <text>".
  const std::vector<std::string>& Calls() const { return calls_; }
  // The filters each file dialog was given, in order.
  const std::vector<std::string>& Filters() const { return filters_; }
  bool AllAnswersUsed() const {
    return opens_.empty() && saves_.empty() && confirms_.empty() && confirmsOrCancels_.empty();
  }

  std::string ChooseFileToOpen(const std::string& proposed, const std::string& filters) override {
    Record("open dialog: " + proposed);
    filters_.push_back(filters);
    const std::optional<std::string> answer = Next(opens_);
    return answer ? *answer : proposed;
  }
  std::optional<std::string> ChooseFileToSave(const std::string& proposed,
                                              const std::string& filters) override {
    Record("save dialog: " + proposed);
    filters_.push_back(filters);
    return Next(saves_);
  }
  void Inform(const std::string& text) override { Record("message: " + text); }
  bool Confirm(const std::string& text) override {
    Record("question: " + text);
    return Next(confirms_);
  }
  Answer ConfirmOrCancel(const std::string& text) override {
    Record("question with cancel: " + text);
    return Next(confirmsOrCancels_);
  }

 private:
  void Record(const std::string& call) { calls_.push_back(call); }

  template <class T>
  T Next(std::deque<T>& answers) {
    if (answers.empty()) throw UnscriptedDialog("No answer scripted for: " + calls_.back());
    T answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::deque<std::optional<std::string>> opens_;
  std::deque<std::optional<std::string>> saves_;
  std::deque<bool> confirms_;
  std::deque<Answer> confirmsOrCancels_;
  std::vector<std::string> calls_;
  std::vector<std::string> filters_;
};

}  // namespace nimbra
