#include "chart_clipboard.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>

namespace nimbra {

QByteArray ChartSvg(QChartView& view) {
  QByteArray svg;
  QBuffer buffer(&svg);
  buffer.open(QIODevice::WriteOnly);
  const QRect area = view.viewport()->rect();
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(area.size());
  generator.setViewBox(area);
  generator.setTitle(view.chart()->title().simplified());
  generator.setDescription(QStringLiteral("Nimbra graph"));
  QPainter painter(&generator);
  view.render(&painter, QRectF(area), area);
  painter.end();
  return svg;
}

void CopyChartToClipboard(QChartView& view) {
  auto* data = new QMimeData;
  data->setData(QString::fromLatin1(kSvgMimeType), ChartSvg(view));
  data->setImageData(view.grab().toImage());
  QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace nimbra
