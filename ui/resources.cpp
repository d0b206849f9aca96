#include "resources.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void RegisterNimbraResources() { Q_INIT_RESOURCE(nimbra); }

namespace nimbra {

void EnsureResources() {
  static const bool registered = (RegisterNimbraResources(), true);
  Q_UNUSED(registered);
}

QImage SvgImage(const QString& resource, QSize size, qreal device_pixel_ratio) {
  EnsureResources();
  QSvgRenderer renderer(resource);
  if (!renderer.isValid() || size.isEmpty()) return {};
  QImage image(size * device_pixel_ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(device_pixel_ratio);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
  return image;
}

QPixmap SvgPixmap(const QString& resource, QSize size, qreal device_pixel_ratio) {
  return QPixmap::fromImage(SvgImage(resource, size, device_pixel_ratio));
}

}  // namespace nimbra
