#include "irview/plots/decay_plot.h"

#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

namespace irview {

namespace {

// How far the fitted line is drawn: 60 dB below the top of the T30 range.
constexpr double kFitLineBottomDb = analysis::kT30Range.top_db - 60.0;
// The lowest a level axis goes, however quiet the noise.
constexpr double kLowestAxisDb = -200.0;

// The band's name, as the traces' results have it; the broadband
// response's with its span, when the traces' spans agree.
QString bandTitle(std::optional<int> band, const std::vector<Trace>& traces) {
  if (band) {
    for (const Trace& trace : traces) {
      const analysis::ChannelAnalysis* channel = trace.channelAnalysis();
      const analysis::BandAnalysis* result = channel ? bandResult(*channel, band) : nullptr;
      if (!result) continue;
      return bandName(result->band) + (result->band->kind == analysis::BandKind::kThird
                                           ? QStringLiteral(" third-octave band")
                                           : QStringLiteral(" octave band"));
    }
    return QStringLiteral("Decay");  // no trace has the band (yet)
  }
  std::optional<std::string> span;
  for (const Trace& trace : traces) {
    const analysis::ChannelAnalysis* channel = trace.channelAnalysis();
    if (!channel || channel->results.empty() || !channel->broadband().span) continue;
    const std::string text = analysis::span_text(*channel->broadband().span);
    if (span && *span != text) return QStringLiteral("Broadband");
    span = text;
  }
  return span ? QStringLiteral("Broadband, %1").arg(QString::fromStdString(*span))
              : QStringLiteral("Broadband");
}

}  // namespace

const analysis::BandAnalysis* bandResult(const analysis::ChannelAnalysis& channel,
                                         std::optional<int> band) {
  for (const analysis::BandAnalysis& result : channel.results) {
    if (!band && !result.band) return &result;
    if (band && result.band && result.band->index == *band) return &result;
  }
  return nullptr;
}

DecayPlot::DecayPlot(QObject* parent)
    : TracePlot(valueAxis(QStringLiteral("time (s)"), QStringLiteral("%.5g")),
                valueAxis(QStringLiteral("level (dB)"), QStringLiteral("%.4g")), QString(),
                parent) {
  rebuild();  // the title
}

void DecayPlot::setBand(std::optional<int> band) {
  band_ = band;
  rebuild();
}

void DecayPlot::rebuild() {
  removeAllSeries();
  curves_.clear();
  chart()->setTitle(QStringLiteral("%1: level (thin), Schroeder decay (thick), T30 fit (dashed)")
                        .arg(bandTitle(band_, traces())));
  double end = 0.0;
  double lowest = 0.0;
  for (std::size_t i = 0; i < traces().size(); ++i) {
    const Trace& trace = traces()[i];
    const analysis::ChannelAnalysis* channel = trace.channelAnalysis();
    const analysis::BandAnalysis* result = channel ? bandResult(*channel, band_) : nullptr;
    if (!result) continue;
    const QColor colour = traceColour(i);
    Curves curves{&trace, result};
    curves.level = addSeries(trace.label + QStringLiteral(" level"), colour.lighter(160),
                             Qt::SolidLine, 1.0, false);
    curves.decay = addSeries(trace.label, colour, Qt::SolidLine, 2.0, true);
    if (const auto& fit = result->fits[static_cast<std::size_t>(analysis::Fit::kT30)]) {
      const bool given = result->parameters[analysis::Parameter::kT30].value.has_value();
      addSeries(trace.label + QStringLiteral(" T30"), colour.darker(130),
                given ? Qt::DashLine : Qt::DotLine, 1.5, false)
          ->replace(fitLinePoints(*fit, kFitLineBottomDb));
    }
    curves_.append(curves);
    end = std::max(end, result->end_s);
    if (result->noise_db)
      lowest = std::min(lowest, *result->noise_db - result->peak_db);
    else if (!result->curves.decay_db.empty())
      lowest = std::min(lowest, double(result->curves.decay_db.back()));
  }
  if (curves_.isEmpty()) return;
  const double bottom = levelAxisBottom(std::min(lowest, kFitLineBottomDb), kLowestAxisDb);
  floorDb_ = bottom - 10.0;
  view()->setHome({0.0, end > 0.0 ? end : 1.0}, {bottom, 5.0});
  refresh();
}

void DecayPlot::refresh() {
  const AxisRange visible = view()->visibleX();
  for (const Curves& curves : std::as_const(curves_)) {
    const double rate = curves.trace->response->sample_rate_hz;
    const analysis::Curves& data = curves.result->curves;
    curves.level->replace(curvePoints(
        {data.level_db, rate, -curves.result->peak_db, floorDb_, true}, visible, columns()));
    curves.decay->replace(curvePoints({data.decay_db, rate, 0.0, floorDb_}, visible, columns()));
  }
}

QString DecayPlot::readout(QPointF value) const {
  return QStringLiteral("t = %1 s, %2 dB").arg(value.x(), 0, 'g', 5).arg(value.y(), 0, 'f', 1);
}

const void* DecayPlot::drawnData(const Trace& trace) const { return trace.analysis.get(); }

}  // namespace irview
