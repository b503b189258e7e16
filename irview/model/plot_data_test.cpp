#include "irview/model/plot_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace irview {
namespace {

bool ascendingInX(const QList<QPointF>& points) {
  return std::is_sorted(points.begin(), points.end(),
                        [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
}

double largestY(const QList<QPointF>& points) {
  return std::max_element(points.begin(), points.end(),
                          [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); })
      ->y();
}
double smallestY(const QList<QPointF>& points) {
  return std::min_element(points.begin(), points.end(),
                          [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); })
      ->y();
}

TEST(CurvePointsTest, AShortStretchIsGivenPointForPointWithOneBeyondEachEnd) {
  const std::vector<float> values = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  // Samples at 10 Hz: 0.3 .. 0.6 s holds samples 3..6; 2 and 7 lie beyond.
  const QList<QPointF> points = curvePoints({values, 10.0}, {0.3, 0.6}, 100);
  ASSERT_EQ(points.size(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_DOUBLE_EQ(points[i].x(), (i + 2) / 10.0) << "point " << i;
    EXPECT_DOUBLE_EQ(points[i].y(), i + 2.0) << "point " << i;
  }
  // Equal neighbours are kept too: a flat stretch is no column extreme.
  const std::vector<float> flat(10, 0.5f);
  EXPECT_EQ(curvePoints({flat, 10.0}, {0.0, 0.9}, 100).size(), 10);
}

TEST(CurvePointsTest, DecimationKeepsTheExtremesOfEveryColumnInTimeOrder) {
  std::vector<float> values(100000);
  for (std::size_t n = 0; n < values.size(); ++n) values[n] = float(std::sin(0.05 * double(n)));
  values[54321] = 5.0f;
  values[77777] = -4.0f;
  const QList<QPointF> points = curvePoints({values, 1000.0}, {0.0, 100.0}, 200);
  EXPECT_LE(points.size(), 400);
  EXPECT_GE(points.size(), 200);
  EXPECT_TRUE(ascendingInX(points));
  EXPECT_DOUBLE_EQ(largestY(points), 5.0);
  EXPECT_DOUBLE_EQ(smallestY(points), -4.0);
  // The spike stays at its own time.
  const auto spike =
      std::find_if(points.begin(), points.end(), [](const QPointF& p) { return p.y() == 5.0; });
  EXPECT_DOUBLE_EQ(spike->x(), 54.321);
}

TEST(CurvePointsTest, AnUpperEnvelopeGivesTheLargestOfEachColumn) {
  std::vector<float> level(1000, -300.0f);
  for (std::size_t n = 0; n < level.size(); n += 10) level[n] = -0.01f * float(n);
  const QList<QPointF> points = curvePoints({level, 1000.0, 0.0, -100.0, true}, {0.0, 1.0}, 100);
  ASSERT_EQ(points.size(), 100);  // ten samples a column, one point each
  for (int c = 0; c < 100; ++c) EXPECT_FLOAT_EQ(points[c].y(), -0.1f * float(c)) << "column " << c;
  // Columns of one sample keep it as it is.
  EXPECT_EQ(curvePoints({level, 1000.0, 0.0, -100.0, true}, {0.0, 0.004}, 100).size(), 6);
}

TEST(CurvePointsTest, ShiftAndFloorApplyAndAStretchBeyondTheDataIsEmpty) {
  const std::vector<float> values = {-300.0f, -20.0f, 0.0f};
  const QList<QPointF> points = curvePoints({values, 1.0, 3.0, -100.0}, {0.0, 2.0}, 10);
  ASSERT_EQ(points.size(), 3);
  EXPECT_DOUBLE_EQ(points[0].y(), -100.0);  // -297 held at the floor
  EXPECT_DOUBLE_EQ(points[1].y(), -17.0);
  EXPECT_DOUBLE_EQ(points[2].y(), 3.0);
  EXPECT_TRUE(curvePoints({values, 1.0}, {5.0, 9.0}, 10).isEmpty());
  EXPECT_TRUE(curvePoints({values, 1.0}, {-9.0, -5.0}, 10).isEmpty());
  EXPECT_TRUE(curvePoints({{}, 1.0}, {0.0, 1.0}, 10).isEmpty());
}

TEST(SpectrumPointsTest, ColumnsOfEqualLogWidthKeepPeaksAndLeaveOutBinZero) {
  analysis::Spectrum spectrum;
  spectrum.bin_hz = 1.0;
  spectrum.level_db.assign(24001, -40.0f);
  spectrum.level_db[0] = 50.0f;     // 0 Hz: never on a log axis
  spectrum.level_db[15000] = 6.0f;  // a narrow peak among thousands of bins per column
  spectrum.level_db[3] = -300.0f;
  const QList<QPointF> points = spectrumPoints(spectrum, {1.0, 24000.0}, 100, -120.0);
  EXPECT_TRUE(ascendingInX(points));
  EXPECT_LE(points.size(), 2 * 100 + 4);
  EXPECT_GE(points.first().x(), 1.0);
  EXPECT_DOUBLE_EQ(largestY(points), 6.0);
  EXPECT_DOUBLE_EQ(smallestY(points), -120.0);  // the floor
  // The low columns hold single bins: 1, 2, 3 Hz are all there.
  EXPECT_DOUBLE_EQ(points[0].x(), 1.0);
  EXPECT_DOUBLE_EQ(points[1].x(), 2.0);
  EXPECT_DOUBLE_EQ(points[2].x(), 3.0);
  // A narrow range: its bins point for point, one beyond each end.
  EXPECT_EQ(spectrumPoints(spectrum, {100.0, 110.0}, 100, -120.0).size(), 13);
}

TEST(FitLineTest, RunsFromTheRangeTopToTheLevelAskedFor) {
  analysis::DecayFit fit;
  fit.slope_db_per_s = -60.0;  // T = 1 s
  fit.intercept_db = -2.0;
  fit.start_s = 0.05;
  fit.end_s = 0.55;
  const QList<QPointF> line = fitLinePoints(fit, -65.0);
  ASSERT_EQ(line.size(), 2);
  EXPECT_DOUBLE_EQ(line[0].x(), 0.05);
  EXPECT_DOUBLE_EQ(line[0].y(), -5.0);
  EXPECT_NEAR(line[1].x(), 1.05, 1e-12);  // (-65 + 2) / -60
  EXPECT_NEAR(line[1].y(), -65.0, 1e-12);
  // A line that does not fall is drawn over its range only.
  fit.slope_db_per_s = 0.0;
  EXPECT_DOUBLE_EQ(fitLinePoints(fit, -65.0)[1].x(), 0.55);
}

TEST(AxisRangeTest, LevelBottomsTickIntervalsAndFrequencyRanges) {
  const struct {
    double lowest, limit, bottom;
  } cases[] = {{-47.0, -200.0, -60.0},
               {-50.0, -200.0, -60.0},
               {-500.0, -200.0, -200.0},
               {0.0, -200.0, -10.0}};
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(levelAxisBottom(c.lowest, c.limit), c.bottom) << "lowest " << c.lowest;

  const struct {
    AxisRange range;
    double interval;
  } ticks[] = {{{-100.0, 5.0}, 10.0},
               {{-60.0, 30.0}, 10.0},
               {{0.0, 0.4}, 0.05},
               {{0.0, 120.0}, 10.0},
               {{-1.0, 120.0}, 20.0},
               {{1.0, 1.0012}, 0.0001},
               // Across 0 below 1: binary steps, which add up to 0 exactly.
               {{-1.0, 1.0}, 0.25},
               {{-0.3, 0.5}, 0.125},
               {{-12.0, 3.0}, 2.0}};
  for (const auto& t : ticks) {
    const double interval = tickInterval(t.range);
    EXPECT_NEAR(interval, t.interval, t.interval * 1e-12) << "range " << t.range.from;
    if (t.range.from < 0.0 && t.range.to > 0.0) {
      // As the chart adds them: from the line below the range up.
      double line = -std::floor(-t.range.from / interval) * interval;
      while (line < 0.0) line += interval;
      EXPECT_EQ(line, 0.0) << "range " << t.range.from << ": no line at 0";
    }
  }

  const std::vector<double> rates = {44100.0, 96000.0};
  EXPECT_EQ(frequencyAxisRange(rates), (AxisRange{10.0, 48000.0}));
  EXPECT_FALSE(frequencyAxisRange({}));
}

}  // namespace
}  // namespace irview
