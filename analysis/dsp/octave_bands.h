// The bands of the analysis, octaves and third octaves, with base-10
// mid-band frequencies fm = 1000 * G^(k/b), G = 10^(3/10), b = 1 or 3:
// octaves k = -5 .. 4 (nominal 31.5 Hz .. 16 kHz), thirds k = -16 .. 13
// (nominal 25 Hz .. 20 kHz); band edges fm * G^(-1/2b) and fm * G^(1/2b).
// Their filters are 6-pole Butterworth band-passes (three biquads) with the
// -3 dB points at the band edges and unit gain at fm, which meet the class 1
// limits of IEC 61260-1 for their bandwidth.
//
// The broadband response is the response within the span of the bands
// analysed at its rate, from the lowest band's lower edge to the highest
// band's upper edge (22.4 Hz .. 11.2 kHz for octaves at 44.1 and 48 kHz),
// through a 12-pole Butterworth band-pass with its -3 dB points there: no
// DC, and nothing of what lies below or above the bands (the noise of a
// converter above the top band, a DC offset) decides the broadband values.
//
// A band is analysed at a sampling rate when its upper edge lies below
// 0.45 times the sampling rate (the top of the pass band of a converter's
// anti-alias filter): at 44.1 and 48 kHz the top octave is 8 kHz and the
// top third 16 kHz, at 88.2 and 96 kHz 16 and 20 kHz.
#ifndef ANALYSIS_DSP_OCTAVE_BANDS_H_
#define ANALYSIS_DSP_OCTAVE_BANDS_H_

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/dsp/biquad.h"

namespace analysis {

enum class BandKind { kOctave, kThird };

// An octave or a third-octave band.
struct OctaveBand {
  int index = 0;  // within its kind, from the lowest: 31.5 Hz octave, 25 Hz third
  BandKind kind = BandKind::kOctave;
  double nominal_hz = 0.0;  // 31.5, 63, 125, ... 16000; 25, 31.5, 40, ... 20000
  double centre_hz = 0.0;   // exact mid-band frequency
  double lower_hz = 0.0;
  double upper_hz = 0.0;
};

inline constexpr int kOctaveBandCount = 10;
inline constexpr int kThirdBandCount = 30;
inline constexpr double kOctaveRatio = 1.9952623149688795;  // 10^(3/10)

// The ten octave bands and the thirty thirds, lowest first.
const std::array<OctaveBand, kOctaveBandCount>& octave_bands();
const std::array<OctaveBand, kThirdBandCount>& third_octave_bands();
std::span<const OctaveBand> bands_of(BandKind kind);

// The bands of a kind analysed at a sampling rate, lowest first (see above).
std::vector<OctaveBand> bands_for_rate(double sample_rate_hz, BandKind kind = BandKind::kOctave);

// "31.5", "63", "125", "1k", "2k", "16k"; "1.25k", "3.15k", "12.5k": the
// short label of a band.
std::string band_label(const OctaveBand& band);

// The band's filter at the sampling rate; nullopt when the band's upper
// edge is at or above the Nyquist frequency.
std::optional<Cascade> octave_filter(const OctaveBand& band, double sample_rate_hz);

// The span of the broadband response (see above).
struct BandSpan {
  double lower_hz = 0.0;
  double upper_hz = 0.0;
};

// The span of the bands of a kind analysed at the rate; nullopt when none is.
std::optional<BandSpan> broadband_span(double sample_rate_hz, BandKind kind = BandKind::kOctave);

// "22-11k": the span's edges in the bands' short notation, for a column
// heading; "22.4 Hz to 11.2 kHz" in full.
std::string span_label(const BandSpan& span);
std::string span_text(const BandSpan& span);

// The span's band-pass at the sampling rate; nullopt when its upper edge is
// at or above the Nyquist frequency.
std::optional<Cascade> span_filter(const BandSpan& span, double sample_rate_hz);

}  // namespace analysis

#endif  // ANALYSIS_DSP_OCTAVE_BANDS_H_
