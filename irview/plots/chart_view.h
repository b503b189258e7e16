// A chart view that zooms and pans with the mouse and reports the value
// under the pointer:
//   wheel                 zooms the horizontal axis about the pointer
//                         (Ctrl + wheel: the vertical axis)
//   drag, left button     zooms into the rectangle dragged
//   drag, right or middle pans
//   double-click, Home    back to the home ranges
//   + and -, arrow keys   zoom about the middle, pan by a tenth
// Zooming and panning change the axes' ranges (linear or logarithmic alike);
// a plot that decimates its curves listens to its horizontal axis for that.
// Linear axes get grid lines at round values (plot_data.h's tickInterval)
// whenever the view sets their range; ranges are set through the view.
#ifndef IRVIEW_PLOTS_CHART_VIEW_H_
#define IRVIEW_PLOTS_CHART_VIEW_H_

#include <QChartView>
#include <QPoint>
#include <QPointF>
#include <optional>

#include "irview/model/plot_data.h"

class QRubberBand;

namespace irview {

class ChartView : public QChartView {
  Q_OBJECT

 public:
  // The chart must have one horizontal and one vertical axis.
  explicit ChartView(QChart* chart, QWidget* parent = nullptr);

  // The unzoomed ranges of the two axes; setting them also shows them.
  void setHome(AxisRange x, AxisRange y);
  void goHome();
  AxisRange visibleX() const;
  AxisRange visibleY() const;

  // The plot area (inside the axes) in view pixels.
  QRectF plotAreaInView() const;
  // Zooms about `at` (view pixels) by `factor` (above 1 zooms in).
  void zoomHorizontally(double factor, QPointF at);
  void zoomVertically(double factor, QPointF at);

 signals:
  // The axis values under the pointer inside the plot area; pointerLeft
  // when it leaves the plot area or the view.
  void pointerMoved(QPointF value);
  void pointerLeft();

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  // Zooms the chart to a rectangle of view pixels.
  void zoomToViewRect(const QRectF& rect);
  void reportPointer(QPointF at);

  std::optional<AxisRange> homeX_;
  std::optional<AxisRange> homeY_;
  enum class Drag { None, Zoom, Pan } drag_ = Drag::None;
  QPoint dragStart_;
  QPoint dragLast_;
  QRubberBand* band_ = nullptr;
};

}  // namespace irview

#endif  // IRVIEW_PLOTS_CHART_VIEW_H_
