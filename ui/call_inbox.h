#pragma once
// Calls handed from a worker thread to the windows' thread through Qt's event queue. Qt
// is built without ThreadSanitizer, which so cannot see that a call made ready on one
// thread runs after it on the other: the hand-over says so itself, and a race report
// about a call's data is then a race of ours.

#include <QObject>
#include <functional>

namespace nimbra {

class CallInbox : public QObject {
 public:
  explicit CallInbox(QObject* parent) : QObject(parent) {}

  // From any thread: runs call on the inbox's thread after the events posted before it,
  // or not at all when the inbox goes first.
  void Post(std::function<void()> call);

 protected:
  bool event(QEvent* event) override;
};

}  // namespace nimbra
