// Zoom, pan and the readout of the chart view, with the mouse as a user
// drives it, on linear and logarithmic axes.
#include "irview/plots/chart_view.h"

#include <gtest/gtest.h>

#include "irview/testing/qt_printers.h"

#include <QLineSeries>
#include <QLogValueAxis>
#include <QSignalSpy>
#include <QTest>
#include <QValueAxis>
#include <QWheelEvent>
#include <cmath>

namespace irview {
namespace {

class ChartViewTest : public ::testing::Test {
 protected:
  // A chart of one line over x 0..10 (or, logarithmic, 10..10000), y -1..1.
  void SetUp() override { make(false); }
  void make(bool logX) {
    auto* chart = new QChart;
    QAbstractAxis* x = nullptr;
    if (logX) {
      auto* axis = new QLogValueAxis;
      axis->setBase(10.0);
      x = axis;
    } else {
      x = new QValueAxis;
    }
    auto* y = new QValueAxis;
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    auto* line = new QLineSeries;
    line->append(logX ? 10.0 : 0.0, -1.0);
    line->append(logX ? 10000.0 : 10.0, 1.0);
    chart->addSeries(line);
    line->attachAxis(x);
    line->attachAxis(y);
    view = std::make_unique<ChartView>(chart);
    view->resize(640, 480);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    view->setHome(logX ? AxisRange{10.0, 10000.0} : AxisRange{0.0, 10.0}, {-1.0, 1.0});
    QTest::qWait(20);  // the layout of the axes
    area = view->plotAreaInView();
    ASSERT_GT(area.width(), 100.0);
  }
  // The view pixel at fractions of the plot area (y from the bottom).
  QPoint at(double fx, double fy) const {
    return QPointF(area.left() + fx * area.width(), area.bottom() - fy * area.height()).toPoint();
  }
  void wheel(QPoint where, int notches, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWheelEvent event(where, view->viewport()->mapToGlobal(where), QPoint(),
                      QPoint(0, 120 * notches), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view->viewport(), &event);
  }
  void drag(Qt::MouseButton button, QPoint from, QPoint to) {
    QTest::mousePress(view->viewport(), button, {}, from);
    QTest::mouseMove(view->viewport(), (from + to) / 2);
    QTest::mouseMove(view->viewport(), to);
    QTest::mouseRelease(view->viewport(), button, {}, to);
  }

  std::unique_ptr<ChartView> view;
  QRectF area;
};

// Pixels are whole: values agree within a pixel's worth.
constexpr double kPixel = 10.0 / 400.0;

TEST_F(ChartViewTest, TheWheelZoomsTimeAboutThePointerAndCtrlZoomsLevels) {
  wheel(at(0.25, 0.5), 1);
  AxisRange x = view->visibleX();
  EXPECT_NEAR(x.to - x.from, 10.0 / 1.25, 2 * kPixel);
  EXPECT_NEAR(x.from + 0.25 * (x.to - x.from), 2.5,
              2 * kPixel);  // the value under the pointer stays
  EXPECT_EQ(view->visibleY(), (AxisRange{-1.0, 1.0}));
  wheel(at(0.25, 0.5), -1);
  x = view->visibleX();
  EXPECT_NEAR(x.from, 0.0, 4 * kPixel);
  EXPECT_NEAR(x.to, 10.0, 4 * kPixel);

  wheel(at(0.5, 0.75), 2, Qt::ControlModifier);
  const AxisRange y = view->visibleY();
  EXPECT_NEAR(y.to - y.from, 2.0 / 1.5625, 0.02);
  EXPECT_NEAR(y.from + 0.75 * (y.to - y.from), 0.5, 0.02);
}

TEST_F(ChartViewTest, DraggingZoomsToTheRectanglePanningMovesAndADoubleClickGoesHome) {
  drag(Qt::LeftButton, at(0.2, 0.9), at(0.6, 0.4));
  AxisRange x = view->visibleX();
  AxisRange y = view->visibleY();
  EXPECT_NEAR(x.from, 2.0, 2 * kPixel);
  EXPECT_NEAR(x.to, 6.0, 2 * kPixel);
  EXPECT_NEAR(y.from, -0.2, 0.02);
  EXPECT_NEAR(y.to, 0.8, 0.02);

  // Right-drag by a quarter of the width to the right: earlier times come in.
  drag(Qt::RightButton, at(0.5, 0.5), at(0.75, 0.5));
  x = view->visibleX();
  EXPECT_NEAR(x.from, 1.0, 4 * kPixel);
  EXPECT_NEAR(x.to, 5.0, 4 * kPixel);

  // A click without a drag zooms nothing.
  drag(Qt::LeftButton, at(0.5, 0.5), at(0.5, 0.5));
  EXPECT_EQ(view->visibleX(), x);

  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at(0.5, 0.5));
  EXPECT_EQ(view->visibleX(), (AxisRange{0.0, 10.0}));
  EXPECT_EQ(view->visibleY(), (AxisRange{-1.0, 1.0}));
}

TEST_F(ChartViewTest, KeysZoomAndPanAndHomeGoesBack) {
  view->setFocus();
  QTest::keyClick(view.get(), Qt::Key_Plus);
  EXPECT_NEAR(view->visibleX().to - view->visibleX().from, 8.0, 2 * kPixel);
  QTest::keyClick(view.get(), Qt::Key_Right);
  EXPECT_NEAR(view->visibleX().from, 1.0 + 0.8, 4 * kPixel);
  QTest::keyClick(view.get(), Qt::Key_Home);
  EXPECT_EQ(view->visibleX(), (AxisRange{0.0, 10.0}));
}

TEST_F(ChartViewTest, OnALogAxisZoomAndReadoutWorkInLogValue) {
  make(true);
  QSignalSpy moved(view.get(), &ChartView::pointerMoved);
  QTest::mouseMove(view->viewport(), at(0.5, 0.5));
  ASSERT_FALSE(moved.isEmpty());
  const QPointF value = moved.last().first().toPointF();
  EXPECT_NEAR(std::log10(value.x()), 2.5, 0.01);  // the middle of 10..10000
  EXPECT_NEAR(value.y(), 0.0, 0.01);

  wheel(at(0.5, 0.5), 1);
  const AxisRange x = view->visibleX();
  EXPECT_NEAR(std::log10(x.to / x.from), 3.0 / 1.25, 0.01);
  EXPECT_NEAR(std::log10(x.from) + 0.5 * std::log10(x.to / x.from), 2.5, 0.01);

  QSignalSpy left(view.get(), &ChartView::pointerLeft);
  QTest::mouseMove(view->viewport(), QPoint(2, 2));  // outside the plot area
  EXPECT_FALSE(left.isEmpty());
}

}  // namespace
}  // namespace irview
