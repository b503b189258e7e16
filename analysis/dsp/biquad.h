// Second-order IIR sections (biquads) and their cascades: coefficients kept
// apart from the filter state, the complex response at any frequency (so a
// design can be checked without filtering), and the filtering itself.
//
//   H(z) = (b0 + b1 z^-1 + b2 z^-2) / (1 + a1 z^-1 + a2 z^-2)
//
// Frequencies are either in Hz with a sampling rate or normalised to the
// sampling rate (0 .. 0.5, where 0.5 is the Nyquist frequency). A design
// asked for an edge at or above the Nyquist frequency, or at or below zero,
// returns nullopt: that is the one way a design is refused.
#ifndef ANALYSIS_DSP_BIQUAD_H_
#define ANALYSIS_DSP_BIQUAD_H_

#include <complex>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace analysis {

struct Biquad {
  double b0 = 1.0, b1 = 0.0, b2 = 0.0;
  double a1 = 0.0, a2 = 0.0;

  // H at the normalised frequency f (cycles per sample).
  std::complex<double> response(double f) const;
};

using Cascade = std::vector<Biquad>;

// Product of the sections' responses at the normalised frequency f.
std::complex<double> cascade_response(const Cascade& cascade, double f);

// A Butterworth band-pass of 2 * order poles (order: of the low-pass
// prototype, 1..8) with its -3 dB edges at f1 < f2 (normalised), designed
// by the bilinear transform with both edges pre-warped, as `order` sections.
// Scaled to unit gain at the geometric mean of the edges. nullopt when
// f1 <= 0, f2 >= 0.5, f1 >= f2 or the order is out of range.
std::optional<Cascade> butterworth_band_pass(int order, double f1, double f2);
std::optional<Cascade> butterworth_band_pass_hz(int order, double f1_hz, double f2_hz,
                                                double sample_rate_hz);

// The length in samples after which the cascade's impulse response stays
// at least decay_db below its largest magnitude: how much room before a
// signal the ringing of filter_reversed takes. The time its slowest pole
// takes to fall by decay_db, and a tenth more (sections of nearly equal
// poles together fall a little more slowly than one alone). 0 for a cascade
// with a pole on or outside the unit circle.
std::size_t ringing_length(const Cascade& cascade, double decay_db);

// Filters x in place through every section (transposed direct form II,
// state starting at zero), first sample first.
void filter_forward(const Cascade& cascade, std::span<double> x);

// Filters x in place from its last sample to its first: the magnitude
// response is the same as forward, but whatever the filter adds by ringing
// lands before the signal's start instead of lengthening its decay. A decay
// that is exponential stays exactly exponential, however short.
void filter_reversed(const Cascade& cascade, std::span<double> x);

// Two filters over one signal at once, both reversed: ya and yb become what
// filter_reversed of `a` and of `b` makes of x, bit for bit. Cascades of
// the band-pass form (every section b = g (1, 0, -1), as octave_filter
// makes them) with the same number of sections run side by side in the
// two lanes of the vector unit, in about half the instructions.
// REQUIRES: ya.size() == yb.size() == x.size().
void filter_reversed_pair(const Cascade& a, const Cascade& b, std::span<const double> x,
                          std::span<double> ya, std::span<double> yb);

// The same forward: ya and yb become what filter_forward of `a` and of `b`
// makes of x, bit for bit. REQUIRES: ya.size() == yb.size() == x.size().
void filter_forward_pair(const Cascade& a, const Cascade& b, std::span<const double> x,
                         std::span<double> ya, std::span<double> yb);

}  // namespace analysis

#endif  // ANALYSIS_DSP_BIQUAD_H_
