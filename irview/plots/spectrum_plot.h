// The magnitude-response plot: every trace's level in dB (a unit impulse
// is 0 dB) over a logarithmic frequency axis, in the smoothing chosen.
#ifndef IRVIEW_PLOTS_SPECTRUM_PLOT_H_
#define IRVIEW_PLOTS_SPECTRUM_PLOT_H_

#include <cstddef>

#include "irview/plots/trace_plot.h"

namespace irview {

class SpectrumPlot : public TracePlot {
  Q_OBJECT

 public:
  explicit SpectrumPlot(QObject* parent = nullptr);
  QString readout(QPointF value) const override;

  // An index into kSmoothings.
  void setSmoothing(std::size_t smoothing);
  std::size_t smoothing() const { return smoothing_; }

 protected:
  void rebuild() override;
  void refresh() override;
  const void* drawnData(const Trace& trace) const override;

 private:
  struct Curve {
    const analysis::Spectrum* spectrum = nullptr;
    QLineSeries* series = nullptr;
  };
  std::size_t smoothing_ = 1;  // 1/3 octave
  QList<Curve> curves_;
  double floorDb_ = -300.0;
};

}  // namespace irview

#endif  // IRVIEW_PLOTS_SPECTRUM_PLOT_H_
