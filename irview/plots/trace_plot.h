// What every plot of traces shares: a chart with one horizontal and one
// vertical axis in a ChartView, a colour per trace (the same trace has the
// same colour in every plot), one legend entry per trace, and curves that
// are made again for the visible range whenever the horizontal axis
// changes, with one replace() per series.
//
// A plot is given the traces with setTraces() whenever files are added or
// their analysis arrives; it makes its series and home ranges again
// (rebuild()) only when what it draws has changed, so that the arrival of
// an analysis leaves a zoomed waveform as it is; and new points on every
// zoom or pan (refresh()).
#ifndef IRVIEW_PLOTS_TRACE_PLOT_H_
#define IRVIEW_PLOTS_TRACE_PLOT_H_

#include <QColor>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QString>
#include <vector>

#include "irview/model/viewed_file.h"
#include "irview/plots/chart_view.h"

class QAbstractAxis;
class QChart;
class QLineSeries;
class QValueAxis;

namespace irview {

// The colour of the trace at `index` in the list of traces.
QColor traceColour(std::size_t index);

// A linear axis with its title and printf-style label format, for a plot.
QValueAxis* valueAxis(const QString& title, const QString& labelFormat);

class TracePlot : public QObject {
  Q_OBJECT

 public:
  ChartView* view() const { return view_; }
  QChart* chart() const { return chart_; }

  void setTraces(std::vector<Trace> traces);
  const std::vector<Trace>& traces() const { return traces_; }

  // The readout of axis values under the pointer, in the plot's units.
  virtual QString readout(QPointF value) const = 0;

 protected:
  // Takes `xAxis` and `yAxis` into the chart; `title` on top.
  TracePlot(QAbstractAxis* xAxis, QAbstractAxis* yAxis, const QString& title, QObject* parent);

  // Makes the series for traces() and sets the home ranges.
  virtual void rebuild() = 0;
  // What the plot draws of a trace (a pointer into it, or null): when no
  // trace's changes, setTraces() keeps the series as they are.
  virtual const void* drawnData(const Trace& trace) const = 0;
  // New points of every series for the visible horizontal range.
  virtual void refresh() = 0;

  // A series on both axes; only series `inLegend` show in the legend.
  QLineSeries* addSeries(const QString& name, const QColor& colour, Qt::PenStyle style, qreal width,
                         bool inLegend);
  void removeAllSeries();
  // The pixel columns of the plot area, which the decimation aims at.
  int columns() const;

 private:
  QChart* chart_;
  ChartView* view_;
  std::vector<Trace> traces_;
};

}  // namespace irview

#endif  // IRVIEW_PLOTS_TRACE_PLOT_H_
