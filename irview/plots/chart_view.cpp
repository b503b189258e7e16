#include "irview/plots/chart_view.h"

#include <QKeyEvent>
#include <QLogValueAxis>
#include <QMouseEvent>
#include <QRubberBand>
#include <QValueAxis>
#include <QWheelEvent>
#include <cmath>

namespace irview {

namespace {

// Zooming or panning works on an axis as on a line from 0 (its minimum) to
// 1 (its maximum): evenly in value on a linear axis, in log value on a
// logarithmic one.
QAbstractAxis* firstAxis(QChart* chart, Qt::Orientation orientation) {
  const QList<QAbstractAxis*> axes = chart->axes(orientation);
  return axes.isEmpty() ? nullptr : axes.first();
}

AxisRange rangeOf(const QAbstractAxis* axis) {
  if (const auto* log = qobject_cast<const QLogValueAxis*>(axis)) return {log->min(), log->max()};
  if (const auto* linear = qobject_cast<const QValueAxis*>(axis))
    return {linear->min(), linear->max()};
  return {};
}

bool isLog(const QAbstractAxis* axis) { return qobject_cast<const QLogValueAxis*>(axis); }

double valueAt(const QAbstractAxis* axis, double fraction) {
  const AxisRange range = rangeOf(axis);
  if (isLog(axis))
    return std::exp(std::log(range.from) + fraction * (std::log(range.to) - std::log(range.from)));
  return range.from + fraction * (range.to - range.from);
}

void setRange(QAbstractAxis* axis, AxisRange range) {
  if (!axis || !(range.to > range.from) || !std::isfinite(range.from) || !std::isfinite(range.to))
    return;
  if (auto* log = qobject_cast<QLogValueAxis*>(axis)) {
    if (range.from > 0.0) log->setRange(range.from, range.to);
  } else if (auto* linear = qobject_cast<QValueAxis*>(axis)) {
    // The grid of the new range first: under the old one a far wider range
    // would get thousands of labels, each laid out as rich text.
    linear->setTickInterval(tickInterval(range));
    linear->setRange(range.from, range.to);
  }
}

// The axis shown from fraction `low` to fraction `high` of its present range.
void showFractions(QAbstractAxis* axis, double low, double high) {
  if (axis) setRange(axis, {valueAt(axis, low), valueAt(axis, high)});
}

constexpr double kWheelStep = 1.25;  // the zoom of one wheel notch
constexpr double kKeyPan = 0.1;      // the share of the width an arrow key pans

}  // namespace

ChartView::ChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
  // Grid lines of a linear axis at round values (tickInterval), at every zoom.
  for (QAbstractAxis* axis : chart->axes()) {
    if (auto* linear = qobject_cast<QValueAxis*>(axis)) {
      linear->setTickType(QValueAxis::TicksDynamic);
      linear->setTickAnchor(0.0);
      linear->setTickInterval(tickInterval({linear->min(), linear->max()}));
    }
  }
  setRubberBand(QChartView::NoRubberBand);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setRenderHint(QPainter::Antialiasing);
  band_ = new QRubberBand(QRubberBand::Rectangle, viewport());
  band_->hide();
}

void ChartView::setHome(AxisRange x, AxisRange y) {
  homeX_ = x;
  homeY_ = y;
  goHome();
}

void ChartView::goHome() {
  if (homeX_) setRange(firstAxis(chart(), Qt::Horizontal), *homeX_);
  if (homeY_) setRange(firstAxis(chart(), Qt::Vertical), *homeY_);
}

AxisRange ChartView::visibleX() const { return rangeOf(firstAxis(chart(), Qt::Horizontal)); }
AxisRange ChartView::visibleY() const { return rangeOf(firstAxis(chart(), Qt::Vertical)); }

QRectF ChartView::plotAreaInView() const {
  return mapFromScene(chart()->mapToScene(chart()->plotArea())).boundingRect();
}

void ChartView::zoomHorizontally(double factor, QPointF at) {
  const QRectF area = plotAreaInView();
  if (area.width() <= 0.0 || factor <= 0.0) return;
  const double f = (at.x() - area.left()) / area.width();
  showFractions(firstAxis(chart(), Qt::Horizontal), f - f / factor, f + (1.0 - f) / factor);
}

void ChartView::zoomVertically(double factor, QPointF at) {
  const QRectF area = plotAreaInView();
  if (area.height() <= 0.0 || factor <= 0.0) return;
  const double f = (area.bottom() - at.y()) / area.height();
  showFractions(firstAxis(chart(), Qt::Vertical), f - f / factor, f + (1.0 - f) / factor);
}

void ChartView::zoomToViewRect(const QRectF& rect) {
  const QRectF area = plotAreaInView();
  const QRectF inside = rect.intersected(area);
  if (inside.width() < 4.0 || inside.height() < 4.0) return;  // a click, not a drag
  showFractions(firstAxis(chart(), Qt::Horizontal), (inside.left() - area.left()) / area.width(),
                (inside.right() - area.left()) / area.width());
  showFractions(firstAxis(chart(), Qt::Vertical), (area.bottom() - inside.bottom()) / area.height(),
                (area.bottom() - inside.top()) / area.height());
}

void ChartView::reportPointer(QPointF at) {
  const QRectF area = plotAreaInView();
  if (!area.contains(at) || area.width() <= 0.0 || area.height() <= 0.0) {
    emit pointerLeft();
    return;
  }
  const QAbstractAxis* x = firstAxis(chart(), Qt::Horizontal);
  const QAbstractAxis* y = firstAxis(chart(), Qt::Vertical);
  if (!x || !y) return;
  emit pointerMoved(QPointF(valueAt(x, (at.x() - area.left()) / area.width()),
                            valueAt(y, (area.bottom() - at.y()) / area.height())));
}

void ChartView::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0.0) return;
  const double factor = std::pow(kWheelStep, notches);
  if (event->modifiers() & Qt::ControlModifier)
    zoomVertically(factor, event->position());
  else
    zoomHorizontally(factor, event->position());
  event->accept();
}

void ChartView::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton && plotAreaInView().contains(at)) {
    drag_ = Drag::Zoom;
    band_->setGeometry(QRect(at, QSize()));
    band_->show();
  } else if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton) {
    drag_ = Drag::Pan;
  } else {
    QChartView::mousePressEvent(event);
    return;
  }
  dragStart_ = dragLast_ = at;
  event->accept();
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (drag_ == Drag::Zoom) {
    band_->setGeometry(QRect(dragStart_, at).normalized());
  } else if (drag_ == Drag::Pan) {
    const QRectF area = plotAreaInView();
    const QPoint moved = at - dragLast_;
    if (area.width() > 0.0 && area.height() > 0.0) {
      const double dx = moved.x() / area.width();
      const double dy = moved.y() / area.height();
      showFractions(firstAxis(chart(), Qt::Horizontal), -dx, 1.0 - dx);
      showFractions(firstAxis(chart(), Qt::Vertical), dy, 1.0 + dy);
    }
  }
  dragLast_ = at;
  reportPointer(event->position());
  event->accept();
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
  if (drag_ == Drag::None) {
    QChartView::mouseReleaseEvent(event);
    return;
  }
  if (drag_ == Drag::Zoom) {
    band_->hide();
    zoomToViewRect(QRectF(QRect(dragStart_, event->position().toPoint()).normalized()));
  }
  drag_ = Drag::None;
  event->accept();
}

void ChartView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  band_->hide();
  drag_ = Drag::None;
  goHome();
  event->accept();
}

void ChartView::keyPressEvent(QKeyEvent* event) {
  const QPointF middle = plotAreaInView().center();
  QAbstractAxis* x = firstAxis(chart(), Qt::Horizontal);
  switch (event->key()) {
    case Qt::Key_Home:
      goHome();
      break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      zoomHorizontally(kWheelStep, middle);
      break;
    case Qt::Key_Minus:
      zoomHorizontally(1.0 / kWheelStep, middle);
      break;
    case Qt::Key_Left:
      showFractions(x, -kKeyPan, 1.0 - kKeyPan);
      break;
    case Qt::Key_Right:
      showFractions(x, kKeyPan, 1.0 + kKeyPan);
      break;
    default:
      QChartView::keyPressEvent(event);
      return;
  }
  event->accept();
}

void ChartView::leaveEvent(QEvent* event) {
  emit pointerLeft();
  QChartView::leaveEvent(event);
}

}  // namespace irview
