// The octave bands of the analysis: base-10 mid-band frequencies
// fm = 1000 * G^k with G = 10^(3/10), k = -5 .. 4 (nominal 31.5 Hz .. 16 kHz),
// band edges fm * G^(-1/2) and fm * G^(1/2), and their filters: 6-pole
// Butterworth band-passes (three biquads) with the -3 dB points at the band
// edges and unit gain at fm, which meet the class 1 limits of IEC 61260-1.
//
// The broadband response is the response within the span of the bands
// analysed at its rate, from the lowest band's lower edge to the highest
// band's upper edge (22.4 Hz .. 11.2 kHz at 44.1 and 48 kHz), through an
// 8-pole Butterworth band-pass with its -3 dB points there: no DC, and
// nothing of what lies below or above the bands (the noise of a converter
// above the top band, a DC offset) decides the broadband values.
//
// A band is analysed at a sampling rate when its upper edge lies below
// 0.45 times the sampling rate (the top of the pass band of a converter's
// anti-alias filter): at 44.1 and 48 kHz the top band is 8 kHz, at 88.2 and
// 96 kHz 16 kHz.
#ifndef ANALYSIS_DSP_OCTAVE_BANDS_H_
#define ANALYSIS_DSP_OCTAVE_BANDS_H_

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "analysis/dsp/biquad.h"

namespace analysis {

struct OctaveBand {
  int index = 0;  // 0 for 31.5 Hz .. 9 for 16 kHz
  double nominal_hz = 0.0;  // 31.5, 63, 125, ... 16000
  double centre_hz = 0.0;   // exact mid-band frequency
  double lower_hz = 0.0;
  double upper_hz = 0.0;
};

inline constexpr int kOctaveBandCount = 10;
inline constexpr double kOctaveRatio = 1.9952623149688795;  // 10^(3/10)

// The ten bands, lowest first.
const std::array<OctaveBand, kOctaveBandCount>& octave_bands();

// The bands analysed at a sampling rate, lowest first (see above).
std::vector<OctaveBand> bands_for_rate(double sample_rate_hz);

// "31.5", "63", "125", "1k", "2k", "16k": the short label of a band.
std::string band_label(const OctaveBand& band);

// The band's filter at the sampling rate; nullopt when the band's upper
// edge is at or above the Nyquist frequency.
std::optional<Cascade> octave_filter(const OctaveBand& band, double sample_rate_hz);

// The span of the broadband response (see above).
struct BandSpan {
  double lower_hz = 0.0;
  double upper_hz = 0.0;
};

// The span of the bands analysed at the rate; nullopt when none is.
std::optional<BandSpan> broadband_span(double sample_rate_hz);

// "22-11k": the span's edges in the bands' short notation, for a column
// heading; "22.4 Hz to 11.2 kHz" in full.
std::string span_label(const BandSpan& span);
std::string span_text(const BandSpan& span);

// The span's band-pass at the sampling rate; nullopt when its upper edge is
// at or above the Nyquist frequency.
std::optional<Cascade> span_filter(const BandSpan& span, double sample_rate_hz);

}  // namespace analysis

#endif  // ANALYSIS_DSP_OCTAVE_BANDS_H_
