#include "irview/model/plot_data.h"

#include <algorithm>
#include <cmath>

namespace irview {

namespace {

// Collects the points of one column at a time and gives each column's
// smallest and largest, in the order they came; a column of one or two
// points gives them all.
class ColumnExtremes {
 public:
  // upperOnly: a column of several points gives its largest alone.
  explicit ColumnExtremes(QList<QPointF>& out, bool upperOnly = false)
      : out_(out), upperOnly_(upperOnly) {}
  ~ColumnExtremes() { flush(); }

  void add(long long column, QPointF point) {
    if (count_ > 0 && column != column_) flush();
    column_ = column;
    if (count_ == 0) first_ = point;
    if (count_ == 1) second_ = point;
    if (count_ == 0 || point.y() < low_.y()) low_ = point;
    if (count_ == 0 || point.y() > high_.y()) high_ = point;
    ++count_;
  }

 private:
  void flush() {
    if (count_ == 0) return;
    if (count_ == 1) {
      out_.append(first_);
    } else if (upperOnly_) {
      out_.append(high_);
    } else if (count_ == 2) {
      out_.append(first_);
      out_.append(second_);
    } else if (low_ == high_) {
      out_.append(low_);
    } else if (low_.x() < high_.x()) {
      out_.append(low_);
      out_.append(high_);
    } else {
      out_.append(high_);
      out_.append(low_);
    }
    count_ = 0;
  }

  QList<QPointF>& out_;
  bool upperOnly_;
  long long column_ = 0;
  long long count_ = 0;
  QPointF first_;
  QPointF second_;
  QPointF low_;
  QPointF high_;
};

// The index range [first, last] of points that lie in [from, to] on an
// axis where point i sits at i * step, widened by one point at each end and
// clamped to [lowest, size - 1]. Empty (first > last) when none lie there.
struct IndexSpan {
  long long first = 0;
  long long last = -1;
};
IndexSpan visibleIndices(double from, double to, double step, long long lowest, long long size) {
  if (size <= lowest || !(step > 0.0) || !(to >= from)) return {};
  const double top = static_cast<double>(size - 1);
  // Positions within a rounding error of a point count as on it.
  const double low = from / step;
  const double high = to / step;
  if (low > top + 1.0 || high < static_cast<double>(lowest) - 1.0) return {};
  const double first = std::clamp(std::floor(low + 1e-9) - 1.0, static_cast<double>(lowest), top);
  const double last = std::clamp(std::ceil(high - 1e-9) + 1.0, static_cast<double>(lowest), top);
  return {static_cast<long long>(first), static_cast<long long>(last)};
}

}  // namespace

QList<QPointF> curvePoints(const SampledCurve& curve, AxisRange visible, int columns) {
  QList<QPointF> points;
  const long long size = static_cast<long long>(curve.values.size());
  const IndexSpan span = visibleIndices(visible.from, visible.to, 1.0 / curve.rateHz, 0, size);
  if (span.first > span.last) return points;
  const long long count = span.last - span.first + 1;
  const long long perColumns = std::max(columns, 1);
  points.reserve(static_cast<qsizetype>(std::min(count, 2 * perColumns)));
  {
    ColumnExtremes extremes(points, curve.upperEnvelope);
    for (long long i = span.first; i <= span.last; ++i) {
      const double value =
          std::max(static_cast<double>(curve.values[static_cast<std::size_t>(i)]) + curve.shift,
                   curve.floor);
      extremes.add((i - span.first) * perColumns / count,
                   QPointF(static_cast<double>(i) / curve.rateHz, value));
    }
  }
  return points;
}

QList<QPointF> spectrumPoints(const analysis::Spectrum& spectrum, AxisRange visible, int columns,
                              double floorDb) {
  QList<QPointF> points;
  const long long size = static_cast<long long>(spectrum.level_db.size());
  if (!(visible.from > 0.0)) return points;
  const IndexSpan span = visibleIndices(visible.from, visible.to, spectrum.bin_hz, 1, size);
  if (span.first > span.last) return points;
  const double logFrom = std::log(visible.from);
  const double logWidth = std::max(std::log(visible.to) - logFrom, 1e-12);
  const double perColumns = std::max(columns, 1);
  {
    ColumnExtremes extremes(points);
    for (long long k = span.first; k <= span.last; ++k) {
      const double f = spectrum.frequency(static_cast<std::size_t>(k));
      // The bins beyond either end fall into columns of their own.
      const double position = std::clamp((std::log(f) - logFrom) / logWidth, -1.0, 2.0);
      const auto column = static_cast<long long>(std::floor(position * perColumns));
      const double level =
          std::max(static_cast<double>(spectrum.level_db[static_cast<std::size_t>(k)]), floorDb);
      extremes.add(column, QPointF(f, level));
    }
  }
  return points;
}

QList<QPointF> fitLinePoints(const analysis::DecayFit& fit, double downToDb) {
  const double start = fit.start_s;
  double end = fit.end_s;
  if (fit.slope_db_per_s < 0.0)
    end = std::max(end, (downToDb - fit.intercept_db) / fit.slope_db_per_s);
  return {QPointF(start, fit.level_at(start)), QPointF(end, fit.level_at(end))};
}

double levelAxisBottom(double lowest, double limit) {
  return std::max(std::floor((lowest - 10.0) / 10.0) * 10.0, limit);
}

double tickInterval(AxisRange range) {
  const double least = (range.to - range.from) / 12.0;
  if (!(least > 0.0)) return 1.0;
  if (least < 1.0 && range.from < 0.0 && range.to > 0.0)
    return std::exp2(std::ceil(std::log2(least * (1.0 - 1e-9))));
  const double decade = std::pow(10.0, std::floor(std::log10(least)));
  for (const double step : {1.0, 2.0, 5.0, 10.0})
    if (step * decade >= least * (1.0 - 1e-9)) return step * decade;
  return 10.0 * decade;
}

std::optional<AxisRange> frequencyAxisRange(std::span<const double> sampleRatesHz) {
  if (sampleRatesHz.empty()) return std::nullopt;
  const double highest = *std::max_element(sampleRatesHz.begin(), sampleRatesHz.end());
  return AxisRange{10.0, highest / 2.0};
}

}  // namespace irview
