#include "irview/plots/waveform_plot.h"

#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace irview {

WaveformPlot::WaveformPlot(QObject* parent)
    : TracePlot(valueAxis(QStringLiteral("time (s)"), QStringLiteral("%.5g")),
                valueAxis(QStringLiteral("sample (full scale 1)"), QStringLiteral("%.4g")),
                QStringLiteral("Waveform"), parent) {}

void WaveformPlot::rebuild() {
  removeAllSeries();
  series_.clear();
  double duration = 0.0;
  double peak = 0.0;
  for (std::size_t i = 0; i < traces().size(); ++i) {
    const Trace& trace = traces()[i];
    series_.append(addSeries(trace.label, traceColour(i), Qt::SolidLine, 1.0, true));
    duration = std::max(duration, trace.response->duration_s());
    for (const float sample : trace.samples()) peak = std::max(peak, std::fabs(double(sample)));
  }
  if (traces().empty()) return;
  // A little above the peak, in tenths (hundredths below 0.1) for round ticks.
  const double step = peak * 1.05 >= 0.1 ? 0.1 : 0.01;
  const double height = peak > 0.0 ? std::ceil(peak * 1.05 / step) * step : 1.0;
  view()->setHome({0.0, duration}, {-height, height});
  refresh();  // the home range may equal the last one, which signals nothing
}

void WaveformPlot::refresh() {
  const AxisRange visible = view()->visibleX();
  for (qsizetype i = 0; i < series_.size(); ++i) {
    const Trace& trace = traces()[static_cast<std::size_t>(i)];
    series_[i]->replace(
        curvePoints({trace.samples(), trace.response->sample_rate_hz}, visible, columns()));
  }
}

QString WaveformPlot::readout(QPointF value) const {
  return QStringLiteral("t = %1 s, sample %2").arg(value.x(), 0, 'g', 5).arg(value.y(), 0, 'g', 4);
}

const void* WaveformPlot::drawnData(const Trace& trace) const { return trace.response.get(); }

}  // namespace irview
