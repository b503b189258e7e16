#include "irview/plots/trace_plot.h"

#include <QChart>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <array>

namespace irview {

QColor traceColour(std::size_t index) {
  // Distinct on white and for the common colour-vision deficiencies.
  static const std::array<QColor, 8> colours = {
      QColor(0, 114, 178),  QColor(213, 94, 0),  QColor(0, 158, 115), QColor(204, 121, 167),
      QColor(86, 180, 233), QColor(230, 159, 0), QColor(0, 0, 0),     QColor(120, 120, 120)};
  return colours[index % colours.size()];
}

QValueAxis* valueAxis(const QString& title, const QString& labelFormat) {
  auto* axis = new QValueAxis;
  axis->setTitleText(title);
  axis->setLabelFormat(labelFormat);
  return axis;
}

TracePlot::TracePlot(QAbstractAxis* xAxis, QAbstractAxis* yAxis, const QString& title,
                     QObject* parent)
    : QObject(parent), chart_(new QChart) {
  chart_->setTitle(title);
  chart_->addAxis(xAxis, Qt::AlignBottom);
  chart_->addAxis(yAxis, Qt::AlignLeft);
  chart_->legend()->setAlignment(Qt::AlignBottom);
  chart_->setMargins(QMargins(4, 4, 4, 4));
  view_ = new ChartView(chart_);  // the view owns the chart
  if (auto* linear = qobject_cast<QValueAxis*>(xAxis))
    connect(linear, &QValueAxis::rangeChanged, this, &TracePlot::refresh);
  else if (auto* log = qobject_cast<QLogValueAxis*>(xAxis))
    connect(log, &QLogValueAxis::rangeChanged, this, &TracePlot::refresh);
}

void TracePlot::setTraces(std::vector<Trace> traces) {
  const bool same = std::equal(traces.begin(), traces.end(), traces_.begin(), traces_.end(),
                               [this](const Trace& a, const Trace& b) {
                                 return a.label == b.label && drawnData(a) == drawnData(b);
                               });
  traces_ = std::move(traces);
  if (!same) rebuild();
}

QLineSeries* TracePlot::addSeries(const QString& name, const QColor& colour, Qt::PenStyle style,
                                  qreal width, bool inLegend) {
  auto* series = new QLineSeries;
  series->setName(name);
  QPen pen(colour, width, style);
  pen.setCosmetic(true);
  series->setPen(pen);
  chart_->addSeries(series);
  for (QAbstractAxis* axis : chart_->axes()) series->attachAxis(axis);
  if (!inLegend)
    for (QLegendMarker* marker : chart_->legend()->markers(series)) marker->setVisible(false);
  return series;
}

void TracePlot::removeAllSeries() { chart_->removeAllSeries(); }

int TracePlot::columns() const {
  // Before the first layout the plot area is empty; a typical width stands in.
  const int width = static_cast<int>(chart_->plotArea().width());
  return width > 0 ? std::max(width, 100) : 800;
}

}  // namespace irview
