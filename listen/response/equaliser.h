// The equaliser of a filter file: ten octave-band gains (31.5 Hz .. 16 kHz,
// the filter editor's bands) as a linear-phase FIR filter applied to a
// response before the convolution.
//
// Its magnitude follows the editor's curve: the gain in dB goes in a straight
// line between neighbouring band centres on a logarithmic frequency axis
// (the editor draws straight lines between bands spaced an octave apart),
// and stays at the end bands' gains below 31.25 Hz and above 16 kHz. The
// centres are the exact octaves 1000 * 2^(b - 5) Hz, b = 0 .. 9 (31.25 Hz
// for the nominal 31.5 Hz); the frequencies a filter file holds are not
// used, as the editor's curve does not use them either.
//
// The filter is symmetric, 2K + 1 taps (equaliser_half_length()): the
// curve sampled finely, transformed to a kernel, windowed with a Hann window
// over +-K. Equal gains give exactly that gain times a unit impulse.
#ifndef LISTEN_RESPONSE_EQUALISER_H_
#define LISTEN_RESPONSE_EQUALISER_H_

#include <array>
#include <cstddef>
#include <span>
#include <vector>

namespace listen {

inline constexpr int kEqualiserBands = 10;
using BandGains = std::array<double, kEqualiserBands>;  // dB, 31.5 Hz first

double band_centre_hz(int band);  // 0-based

// The curve's gain in dB at `frequency_hz` (>= 0).
double equaliser_db(double frequency_hz, const BandGains& gains);

// K: the power of two at or above 0.17 s at this rate (8192 at 44.1 and
// 48 kHz, 16384 at 96 kHz), long enough for the curve's slopes below 63 Hz.
std::size_t equaliser_half_length(double sample_rate_hz);

// The 2K + 1 taps of the filter, tap K at time zero.
std::vector<double> equaliser_taps(double sample_rate_hz, const BandGains& gains);

// The response filtered: response.size() + 2K points, point K at the
// response's time zero (the filter's ringing before it and after its end
// are kept).
std::vector<float> equalise(std::span<const float> response, double sample_rate_hz,
                            const BandGains& gains);

}  // namespace listen

#endif  // LISTEN_RESPONSE_EQUALISER_H_
