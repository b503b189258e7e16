#include "irview/plots/spectrum_plot.h"

#include <QLineSeries>
#include <QLogValueAxis>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace irview {

namespace {

QLogValueAxis* frequencyAxis() {
  auto* axis = new QLogValueAxis;
  axis->setBase(10.0);
  axis->setLabelFormat(QStringLiteral("%g"));
  axis->setMinorTickCount(8);
  axis->setTitleText(QStringLiteral("frequency (Hz)"));
  return axis;
}

// The span of levels the home range shows below its top.
constexpr double kShownRangeDb = 90.0;

}  // namespace

SpectrumPlot::SpectrumPlot(QObject* parent)
    : TracePlot(frequencyAxis(), valueAxis(QStringLiteral("level (dB)"), QStringLiteral("%.4g")),
                QString(), parent) {
  rebuild();  // the title
}

void SpectrumPlot::setSmoothing(std::size_t smoothing) {
  smoothing_ = std::min(smoothing, kSmoothings.size() - 1);
  rebuild();
}

void SpectrumPlot::rebuild() {
  removeAllSeries();
  curves_.clear();
  chart()->setTitle(QStringLiteral("Magnitude response, smoothing: %1")
                        .arg(smoothingLabel(kSmoothings[smoothing_])));
  std::vector<double> rates;
  double loudest = -1e300;
  for (std::size_t i = 0; i < traces().size(); ++i) {
    const Trace& trace = traces()[i];
    const ChannelSpectra* spectra = trace.channelSpectra();
    if (!spectra || (*spectra)[smoothing_].level_db.size() < 2) continue;
    const analysis::Spectrum& spectrum = (*spectra)[smoothing_];
    curves_.append({&spectrum, addSeries(trace.label, traceColour(i), Qt::SolidLine, 1.5, true)});
    rates.push_back(trace.response->sample_rate_hz);
    loudest = std::max(
        loudest, double(*std::max_element(spectrum.level_db.begin() + 1, spectrum.level_db.end())));
  }
  const std::optional<AxisRange> frequencies = frequencyAxisRange(rates);
  if (!frequencies) return;
  const double top = std::ceil((loudest + 5.0) / 10.0) * 10.0;
  floorDb_ = top - kShownRangeDb - 20.0;
  view()->setHome(*frequencies, {top - kShownRangeDb, top});
  refresh();
}

void SpectrumPlot::refresh() {
  const AxisRange visible = view()->visibleX();
  for (const Curve& curve : std::as_const(curves_))
    curve.series->replace(spectrumPoints(*curve.spectrum, visible, columns(), floorDb_));
}

QString SpectrumPlot::readout(QPointF value) const {
  return QStringLiteral("f = %1 Hz, %2 dB").arg(value.x(), 0, 'f', 1).arg(value.y(), 0, 'f', 1);
}

const void* SpectrumPlot::drawnData(const Trace& trace) const { return trace.spectra.get(); }

}  // namespace irview
