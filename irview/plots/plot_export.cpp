#include "irview/plots/plot_export.h"

#include <QBuffer>
#include <QChartView>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

namespace irview {

QByteArray pngBytes(QChartView& view) {
  const qreal ratio = view.devicePixelRatioF();
  QImage image(view.size() * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    view.render(&painter);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

QByteArray svgBytes(QChartView& view, const QString& title) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(view.size());
  generator.setViewBox(QRect(QPoint(), view.size()));
  generator.setTitle(title);
  generator.setDescription(QStringLiteral("A plot of irview"));
  {
    QPainter painter(&generator);
    painter.setRenderHint(QPainter::Antialiasing);
    view.render(&painter);
  }
  return bytes;
}

}  // namespace irview
