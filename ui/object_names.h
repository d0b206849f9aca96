#pragma once
// Object names are how the windows' tests and the screenshot tool find a control
// without the window handing out its widgets.

#include <QObject>
#include <initializer_list>
#include <utility>

namespace nimbra {

inline void NameObjects(std::initializer_list<std::pair<QObject*, const char*>> names) {
  for (const auto& [object, name] : names) object->setObjectName(QLatin1String(name));
}

}  // namespace nimbra
