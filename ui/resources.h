#pragma once
// The pictures, icons and help pages compiled into the program (resources/nimbra.qrc).

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace nimbra {

// Registers the resources. They live in a static library, whose registration the linker
// would drop unless something refers to it; every user of a resource calls this first.
void EnsureResources();

// An SVG resource drawn at the given size in device-independent pixels; null when the
// resource is missing or not a valid drawing. Drawn by Qt Svg directly, so the program
// needs no image-format plugin for its own pictures.
QImage SvgImage(const QString& resource, QSize size, qreal device_pixel_ratio = 1.0);
QPixmap SvgPixmap(const QString& resource, QSize size, qreal device_pixel_ratio = 1.0);

}  // namespace nimbra
