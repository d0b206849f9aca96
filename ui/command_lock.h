#pragma once
// The commands that would touch the engine while a run of steps goes on: locked at the
// run's start and given back as they were at its end.

#include <QAction>
#include <QList>
#include <QWidget>
#include <initializer_list>
#include <vector>

namespace nimbra {

template <class Command>
class EnabledStates {
 public:
  template <class Commands>
  void Add(const Commands& commands) {
    commands_.insert(commands_.end(), commands.begin(), commands.end());
  }

  void Lock() {
    states_.clear();
    for (Command* command : commands_) {
      states_.push_back(command->isEnabled());
      command->setEnabled(false);
    }
  }
  void Unlock() {
    for (std::size_t i = 0; i < states_.size(); ++i) commands_[i]->setEnabled(states_[i]);
    states_.clear();
  }

 private:
  std::vector<Command*> commands_;
  std::vector<bool> states_;
};

class CommandLock {
 public:
  void Add(std::initializer_list<QAction*> actions) { actions_.Add(actions); }
  void Add(const QList<QAction*>& actions) { actions_.Add(actions); }
  void Add(std::initializer_list<QWidget*> widgets) { widgets_.Add(widgets); }

  void Lock() {
    actions_.Lock();
    widgets_.Lock();
  }
  void Unlock() {
    actions_.Unlock();
    widgets_.Unlock();
  }

 private:
  EnabledStates<QAction> actions_;
  EnabledStates<QWidget> widgets_;
};

}  // namespace nimbra
