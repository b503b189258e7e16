// The response graph of the filter editor (Picture1): a yellow area behind
// the ten band sliders with a fixed grid of seventeen lines and the curve
// through one point per band. The curve follows the slider positions, not
// the dB values: +10000 is drawn near the top, -10000 near the bottom,
// whatever the limits. The widget keeps the positions and draws only in
// paintEvent, so the curve survives being covered.
#ifndef FRONTEND_FILTER_EDITOR_RESPONSE_GRAPH_H_
#define FRONTEND_FILTER_EDITOR_RESPONSE_GRAPH_H_

#include <QColor>
#include <QPoint>
#include <QWidget>
#include <array>

#include "filter_file/filter_file.h"

namespace frontend {

inline const QColor kGraphYellow(255, 255, 0);
inline const QColor kCurveRed(215, 0, 0);

// A horizontal line of the grid: its height in twips from the graph's top
// and its pen width in pixels.
struct GridLine {
  int y;
  int penWidth;
};
// The ends and the middle of the scale in width 3, the quarters in 2, the
// sixteenths in 1.
inline constexpr std::array<GridLine, 17> kGraphGrid = {{
    {300, 3},  {480, 1},  {660, 1},  {840, 1},  {1020, 2}, {1200, 1},
    {1380, 1}, {1560, 1}, {1776, 3}, {1980, 1}, {2160, 1}, {2340, 1},
    {2520, 2}, {2700, 1}, {2880, 1}, {3060, 1}, {3240, 3},
}};

// The point of band `band` (0..9) at slider position `position`, in twips
// from the graph's top-left corner.
QPointF curvePointTwips(int band, int position);

class ResponseGraph : public QWidget {
  Q_OBJECT

 public:
  explicit ResponseGraph(QWidget* parent = nullptr);

  void setPositions(const std::array<int, kBandCount>& positions);
  const std::array<int, kBandCount>& positions() const { return positions_; }

  // A point in twips from the graph's corner, in the widget's pixels.
  QPoint toPixels(QPointF twips) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::array<int, kBandCount> positions_{};
};

}  // namespace frontend

#endif  // FRONTEND_FILTER_EDITOR_RESPONSE_GRAPH_H_
