// The decay plot of one band (or the broadband response) for every trace
// whose analysis has arrived: the level over time (thin, dB re the band's
// peak), the Schroeder decay (thick, dB re the energy from the onset) and
// the line fitted to it over -5..-35 dB, drawn on to 60 dB below -5 dB
// (dashed; dotted when T30 itself is missing for want of range above the
// noise). Both curves start at 0 dB, so their shapes compare directly.
#ifndef IRVIEW_PLOTS_DECAY_PLOT_H_
#define IRVIEW_PLOTS_DECAY_PLOT_H_

#include <optional>

#include "irview/plots/trace_plot.h"

namespace irview {

// The result of the band with octave index `band` (nullopt: broadband),
// or null when the channel has none (a band above its sampling rate's).
const analysis::BandAnalysis* bandResult(const analysis::ChannelAnalysis& channel,
                                         std::optional<int> band);

class DecayPlot : public TracePlot {
  Q_OBJECT

 public:
  explicit DecayPlot(QObject* parent = nullptr);
  QString readout(QPointF value) const override;

  void setBand(std::optional<int> band);
  std::optional<int> band() const { return band_; }

 protected:
  void rebuild() override;
  void refresh() override;
  const void* drawnData(const Trace& trace) const override;

 private:
  struct Curves {
    const Trace* trace = nullptr;
    const analysis::BandAnalysis* result = nullptr;
    QLineSeries* level = nullptr;
    QLineSeries* decay = nullptr;
  };
  std::optional<int> band_ = 5;  // 1 kHz
  QList<Curves> curves_;
  double floorDb_ = -200.0;
};

}  // namespace irview

#endif  // IRVIEW_PLOTS_DECAY_PLOT_H_
