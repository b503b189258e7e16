// What the plots draw, as point lists made outside the charts: a curve cut
// to the visible part of its axis and decimated to about two points per
// pixel column, so that a chart redraws a 65535-point response as fast as a
// short one; levels held at a floor, so that a curve of silence (-300 dB in
// the analysis) stays on the chart instead of dragging its axis down.
//
// Decimation keeps the extremes: each column of a long stretch gives its
// smallest and its largest value, in the order they occur, so that peaks and
// the envelope of a decay look as they do undecimated. A stretch of fewer
// points than two per column is given point for point, with one point
// beyond each end so that the line runs to the edges of the chart.
#ifndef IRVIEW_MODEL_PLOT_DATA_H_
#define IRVIEW_MODEL_PLOT_DATA_H_

#include <QList>
#include <QPointF>
#include <optional>
#include <span>

#include "analysis/decay/schroeder.h"
#include "analysis/dsp/spectrum.h"

namespace irview {

// A stretch of an axis, from <= to.
struct AxisRange {
  double from = 0.0;
  double to = 0.0;

  friend bool operator==(const AxisRange&, const AxisRange&) = default;
};

// Sample n lies at x = n / rateHz (seconds from the first sample) and has
// the value values[n] + shift, never below floor. `columns` >= 1.
// upperEnvelope: a column of more than one point gives its largest only
// (a level in dB, whose dips at the signal's zero crossings say nothing).
struct SampledCurve {
  std::span<const float> values;
  double rateHz = 1.0;
  double shift = 0.0;
  double floor = -1e300;
  bool upperEnvelope = false;
};
QList<QPointF> curvePoints(const SampledCurve& curve, AxisRange visible, int columns);

// A magnitude spectrum (bin k at k * bin_hz) on a logarithmic frequency
// axis: as curvePoints, but the columns are of equal width in log frequency
// and bin 0 (at 0 Hz, which a log axis cannot show) is never given.
// REQUIRES: visible.from > 0.
QList<QPointF> spectrumPoints(const analysis::Spectrum& spectrum, AxisRange visible, int columns,
                              double floorDb);

// A fitted decay line, from where the decay passed the top of its range
// down to where the line reaches `downToDb` (below the range's bottom: the
// line then shows the whole extrapolated decay). Times in seconds, levels
// in dB re the decay's total energy, as the Schroeder curve.
QList<QPointF> fitLinePoints(const analysis::DecayFit& fit, double downToDb);

// The bottom of a level axis in dB: `lowest` (the quietest level worth
// showing: the noise, the end of the decay) less a margin of 10 dB, rounded
// down to a multiple of 10, but not below `limit`.
double levelAxisBottom(double lowest, double limit);

// The distance of the grid lines of a linear axis over `range`: the smallest
// 1, 2 or 5 times a power of ten that gives at most 12 intervals; but when
// that is below 1 and the range holds 0 between its ends, the smallest
// power of two that does. The charts add the interval up from a line below
// the range, so only a binary fraction lands on 0 exactly (ten steps of 0.1
// from -0.5 give 2.8e-17, which a label shows as such).
double tickInterval(AxisRange range);

// The range of a frequency axis over responses at these sampling rates:
// from 10 Hz to the highest Nyquist frequency. nullopt for no rates.
std::optional<AxisRange> frequencyAxisRange(std::span<const double> sampleRatesHz);

}  // namespace irview

#endif  // IRVIEW_MODEL_PLOT_DATA_H_
