#include "window_places.h"

#include <QLayout>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <algorithm>

namespace nimbra {

namespace {

QString GeometryKey(const QString& key) { return key + QStringLiteral("/Geometry"); }

QRect AvailableArea(const QWidget& window) {
  const QScreen* screen = window.screen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

// The frame around the contents, which the window system adds.
QSize FrameExtra(const QWidget& window) { return window.frameGeometry().size() - window.size(); }

}  // namespace

bool RestorePlace(QWidget& window, const QString& key) {
  const QByteArray saved = QSettings().value(GeometryKey(key)).toByteArray();
  if (saved.isEmpty() || !window.restoreGeometry(saved)) return false;
  KeepOnScreen(window);
  return true;
}

void RememberPlace(const QWidget& window, const QString& key) {
  QSettings().setValue(GeometryKey(key), window.saveGeometry());
}

void PlaceBeside(QWidget& window, const QWidget& mainWindow) {
  const QRect main = mainWindow.frameGeometry();
  const QRect area = AvailableArea(mainWindow);
  const int width = window.frameGeometry().width();
  if (area.isEmpty() || main.right() + width <= area.right()) {
    window.move(main.right() + 1, main.top());
  } else if (main.left() - width >= area.left()) {
    window.move(main.left() - width, main.top());
  } else {
    PlaceUnder(window, mainWindow);
    const int room = area.bottom() - main.bottom() - FrameExtra(window).height();
    window.resize(window.width(), std::min(window.height(), room));
  }
  KeepOnScreen(window);
}

bool PlaceUnder(QWidget& window, const QWidget& above) {
  const QRect frame = above.frameGeometry();
  window.move(frame.left(), frame.bottom() + 1);
  const QRect area = AvailableArea(above);
  return area.isEmpty() || window.frameGeometry().bottom() <= area.bottom();
}

void PlaceBelow(QWidget& window, const QWidget& mainWindow, int height) {
  const QRect main = mainWindow.frameGeometry();
  const QSize extra = FrameExtra(window);
  window.resize(main.width() - extra.width(), height);
  window.move(main.left(), main.bottom() + 1);
  KeepOnScreen(window);
}

void KeepClearOf(QWidget& window, const QWidget& mainWindow) {
  // A dialog not shown yet takes its own size only when its layout is first activated.
  if (window.layout() != nullptr) window.layout()->activate();
  KeepOnScreen(window);
  if (window.frameGeometry().intersects(mainWindow.frameGeometry())) PlaceBeside(window, mainWindow);
}

void KeepOnScreen(QWidget& window) {
  const QRect area = AvailableArea(window);
  if (area.isEmpty()) return;
  const QSize extra = FrameExtra(window);
  const QSize fitted = window.size().boundedTo(area.size() - extra);
  if (fitted != window.size()) window.resize(fitted);
  const QRect frame = window.frameGeometry();
  const int x =
      std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() - frame.width() + 1));
  const int y = std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() - frame.height() + 1));
  if (x != frame.left() || y != frame.top()) window.move(x, y);
}

}  // namespace nimbra
