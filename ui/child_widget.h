#pragma once
// The window tests and the screenshot tool find a window's controls by their object
// names, as a user finds them by their place: the windows keep their widgets to themselves.

#include <QObject>
#include <QTest>
#include <memory>

namespace nimbra {

template <class Widget>
Widget* Child(const QObject* window, const char* name) {
  auto* child = window->findChild<Widget*>(QLatin1String(name));
  if (child == nullptr) qFatal("No control named %s", name);
  return child;
}

template <class Widget, class Window>
Widget* Child(const std::unique_ptr<Window>& window, const char* name) {
  return Child<Widget>(window.get(), name);
}

}  // namespace nimbra
