#include "call_inbox.h"

#include <QCoreApplication>
#include <QEvent>
#include <utility>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace nimbra {

namespace {

const auto kCallEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

struct CallEvent : QEvent {
  explicit CallEvent(std::function<void()> toRun) : QEvent(kCallEvent), call(std::move(toRun)) {}
  std::function<void()> call;
};

void MadeReady([[maybe_unused]] const QEvent* event) {
#if defined(__SANITIZE_THREAD__)
  __tsan_release(const_cast<QEvent*>(event));
#endif
}

void TakenOver([[maybe_unused]] const QEvent* event) {
#if defined(__SANITIZE_THREAD__)
  __tsan_acquire(const_cast<QEvent*>(event));
#endif
}

}  // namespace

void CallInbox::Post(std::function<void()> call) {
  auto* event = new CallEvent(std::move(call));
  MadeReady(event);
  QCoreApplication::postEvent(this, event);
}

// Taken over before anything of the event is read, whichever its type.
bool CallInbox::event(QEvent* event) {
  TakenOver(event);
  if (event->type() != kCallEvent) return QObject::event(event);
  static_cast<CallEvent*>(event)->call();
  return true;
}

}  // namespace nimbra
