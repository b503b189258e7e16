#include "frontend/filter_editor/response_graph.h"

#include <QPainter>
#include <cmath>

namespace frontend {

QPointF curvePointTwips(int band, int position) {
  return {170.0 + 360.0 * band, 3240.0 - (position + 10000.0) / 20000.0 * 2940.0};
}

ResponseGraph::ResponseGraph(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Picture1"));
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ResponseGraph::setPositions(const std::array<int, kBandCount>& positions) {
  if (positions == positions_) return;
  positions_ = positions;
  update();
}

QPoint ResponseGraph::toPixels(QPointF twips) const {
  const double scale = logicalDpiY() / 1440.0;
  return QPoint(int(std::lround(twips.x() * scale)), int(std::lround(twips.y() * scale)));
}

void ResponseGraph::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kGraphYellow);
  for (const GridLine& line : kGraphGrid) {
    painter.setPen(QPen(Qt::black, line.penWidth));
    const int y = toPixels({0, double(line.y)}).y();
    painter.drawLine(0, y, width(), y);
  }
  painter.setPen(QPen(kCurveRed, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  for (int band = 1; band < kBandCount; ++band)
    painter.drawLine(toPixels(curvePointTwips(band - 1, positions_[band - 1])),
                     toPixels(curvePointTwips(band, positions_[band])));
}

}  // namespace frontend
