// The band signals of one response for the analyses that look at several
// bands at the same instants (the interaural cross-correlation, the speech
// transmission index): the response filtered by the octave-band filters
// (analysis/dsp/octave_bands.h), run forward, so that no band holds energy
// before the response's onset (a window that starts at the unfiltered
// response's onset takes all of every band's signal), over the response
// and zeros behind it long enough for the slowest band's ringing to fall
// by 120 dB. Every signal, the unfiltered one included, has that length,
// and index n is sample n of the response in all of them.
#ifndef ANALYSIS_DSP_BAND_SIGNALS_H_
#define ANALYSIS_DSP_BAND_SIGNALS_H_

#include <cstddef>
#include <memory>
#include <utility>
#include <optional>
#include <span>
#include <vector>

#include "analysis/dsp/biquad.h"
#include "analysis/dsp/octave_bands.h"

namespace analysis {

// A vector whose elements are not zeroed when it grows: for signals that
// are written whole as soon as they are made.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitialisedAllocator<U>;
  };
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    if constexpr (sizeof...(Args) == 0) {
      ::new (static_cast<void*>(p)) U;
    } else {
      ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
  }
};
using Signal = std::vector<double, UninitialisedAllocator<double>>;

struct BandSignals {
  Signal unfiltered;  // the response, then the zeros for the ringing
  // One per band asked for, in that order; empty where the band has no
  // filter at the rate (it reaches the Nyquist frequency).
  std::vector<OctaveBand> bands;
  std::vector<Signal> filtered;

  // The signal of the band with this nominal frequency; empty when it was
  // not asked for or has no filter.
  std::span<const double> band(double nominal_hz) const;
};

// The response (trailing zeros included as given) in the bands asked for,
// at the sampling rate.
BandSignals band_signals(std::span<const float> samples, double sample_rate_hz,
                         const std::vector<OctaveBand>& bands);

// The octave bands from `low_hz` to `high_hz` (nominal), lowest first.
std::vector<OctaveBand> octave_bands_between(double low_hz, double high_hz);

}  // namespace analysis

#endif  // ANALYSIS_DSP_BAND_SIGNALS_H_
