#pragma once
// A chart onto the clipboard as the user sees it, zoom and all: a vector picture for
// programs that scale it cleanly, with a bitmap beside it for programs that take only
// bitmaps.

#include <QByteArray>

QT_BEGIN_NAMESPACE
class QChartView;
QT_END_NAMESPACE

namespace nimbra {

inline constexpr const char* kSvgMimeType = "image/svg+xml";

// The view's chart as an SVG document of the view's size.
QByteArray ChartSvg(QChartView& view);
void CopyChartToClipboard(QChartView& view);

}  // namespace nimbra
