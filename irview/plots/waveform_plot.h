// The waveform plot: every trace's samples over time (seconds from the
// first sample), full scale 1.0.
#ifndef IRVIEW_PLOTS_WAVEFORM_PLOT_H_
#define IRVIEW_PLOTS_WAVEFORM_PLOT_H_

#include "irview/plots/trace_plot.h"

namespace irview {

class WaveformPlot : public TracePlot {
  Q_OBJECT

 public:
  explicit WaveformPlot(QObject* parent = nullptr);
  QString readout(QPointF value) const override;

 protected:
  void rebuild() override;
  void refresh() override;
  const void* drawnData(const Trace& trace) const override;

 private:
  QList<QLineSeries*> series_;  // one per trace
};

}  // namespace irview

#endif  // IRVIEW_PLOTS_WAVEFORM_PLOT_H_
