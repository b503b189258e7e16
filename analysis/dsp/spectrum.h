// The magnitude response of an impulse response, in dB, and its
// fractional-octave smoothing. The response is zero-padded to a length the
// FFT handles quickly (fast_fft_size); bin k lies at k * bin_hz, k = 0 ..
// size - 1, up to the Nyquist frequency. Levels are 20 log10 |H| with H the
// unscaled transform, so a unit impulse gives 0 dB at every frequency;
// levels below kSpectrumFloorDb are kSpectrumFloorDb.
#ifndef ANALYSIS_DSP_SPECTRUM_H_
#define ANALYSIS_DSP_SPECTRUM_H_

#include <cstddef>
#include <span>
#include <vector>

namespace analysis {

inline constexpr float kSpectrumFloorDb = -300.0f;

struct Spectrum {
  double bin_hz = 0.0;
  std::vector<float> level_db;

  double frequency(std::size_t k) const { return static_cast<double>(k) * bin_hz; }
};

enum class Smoothing { kNone, kOctave, kThirdOctave, kSixthOctave };

// The magnitude response of `response` sampled at `sample_rate_hz`. An empty
// response gives an empty spectrum.
Spectrum magnitude_spectrum(std::span<const float> response, double sample_rate_hz);

// The spectrum smoothed over a fraction of an octave: each bin at f becomes
// the mean power of the bins from f * 2^(-1/2b) to f * 2^(1/2b) (b = 1, 3
// or 6), in dB; bin 0 stays as it is. kNone returns the spectrum unchanged.
// Linear in the number of bins, so switching the smoothing is cheap.
Spectrum smooth_spectrum(const Spectrum& spectrum, Smoothing smoothing);

}  // namespace analysis

#endif  // ANALYSIS_DSP_SPECTRUM_H_
