// The speech transmission index of an impulse response (the indirect
// method: the modulation transfer function from the response), in the
// seven octave bands k = 125 Hz .. 8 kHz at the 14 modulation frequencies
// F = 0.63 .. 12.5 Hz in third-octave steps:
//
//   m_k(F) = |sum e_k(n) exp(-j 2 pi F n / fs)| / sum e_k(n)
//
// over the band's noise-free energy e_k from its onset: the squared band
// signal with the noise floor's mean square taken off up to where the decay
// meets the floor, and the late decay line behind it (as
// analysis/decay/schroeder.h forms it): the response's own noise floor is
// no background noise.
//
// With a speech level and octave-band levels of background noise (dB SPL)
// the values take the noise, the auditory masking by the band below and
// the absolute reception threshold into account:
//
//   m'_k(F) = m_k(F) * I_s,k / (I_s,k + I_n,k + I_am,k + I_rt,k)
//
// with the speech intensity I_s,k of the male speech spectrum at the given
// A-weighted speech level, the noise's I_n,k, the masking I_am,k = I_k-1 *
// 10^(amdB/10) by the total intensity of band k-1 (amdB from its level L:
// 0.5 L - 65 below 63 dB, 1.8 L - 146.9 up to 67 dB, 0.5 L - 59.8 up to
// 100 dB, -10 above) and the reception threshold's I_rt,k (46, 27, 12, 6.5,
// 7.5, 8 and 12 dB). Without them the index is that of the room's
// reverberation alone (no noise, no masking, no threshold).
//
// Each m becomes an effective signal-to-noise ratio 10 log10(m / (1 - m))
// clipped to +-15 dB, a transmission index TI = (SNR + 15) / 30, and its
// band's modulation transfer index MTI_k is the mean TI over the 14
// frequencies;
//
//   STI = sum alpha_k MTI_k - sum beta_k sqrt(MTI_k MTI_k+1)
//
// with the male weights alpha 0.085, 0.127, 0.230, 0.233, 0.309, 0.224,
// 0.173 and redundancies beta 0.085, 0.078, 0.065, 0.011, 0.047, 0.095.
// The category A+ (0.76 and above), A (0.72), B (0.68) ... J (0.36) and U
// (below 0.36) is that of the STI to two decimals.
#ifndef ANALYSIS_SPEECH_STI_H_
#define ANALYSIS_SPEECH_STI_H_

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/decay/noise_floor.h"
#include "analysis/decay/parameters.h"
#include "analysis/dsp/band_signals.h"
#include "analysis/dsp/octave_bands.h"

namespace analysis {

inline constexpr std::size_t kModulationCount = 14;
inline constexpr std::array<double, kModulationCount> kModulationHz = {
    0.63, 0.8, 1.0, 1.25, 1.6, 2.0, 2.5, 3.15, 4.0, 5.0, 6.3, 8.0, 10.0, 12.5};
inline constexpr std::size_t kSpeechBandCount = 7;
inline constexpr std::array<double, kSpeechBandCount> kSpeechBandHz = {125,  250,  500, 1000,
                                                                       2000, 4000, 8000};

using Modulation = std::array<double, kModulationCount>;
using SpeechBandValues = std::array<double, kSpeechBandCount>;

struct SpeechConditions {
  double speech_level_db = 0.0;  // A-weighted speech level at the listener, dB SPL
  // Background noise per band 125 Hz .. 8 kHz, dB SPL; nullopt: none.
  std::optional<SpeechBandValues> noise_levels_db;
};

struct SpeechBand {
  OctaveBand band;
  Modulation mtf{};  // m_k(F) of the response (reverberation only)
  Modulation m{};    // with the conditions, when given (else mtf)
  double mti = 0.0;
};

struct SpeechIndex {
  ParameterValue sti;           // 0..1, unrounded
  std::string category;         // "A+" .. "U" of the STI to two decimals; empty when missing
  std::optional<SpeechConditions> conditions;  // as applied
  std::vector<SpeechBand> bands;  // the seven bands when the STI is given
};

// m(F) of the noise-free energy of a band: `energy` the squared band
// signal, `onset` its onset (analysis/decay/onset.h), `floor` what
// find_noise_floor found from it. REQUIRES: floor.decay_found,
// onset < floor.truncation <= energy.size(). The sums run over blocks of a
// quarter millisecond, each at its middle (an error in m below 1e-4).
// nullopt when no energy is left after the noise is taken off.
std::optional<Modulation> modulation_transfer(std::span<const double> energy, std::size_t onset,
                                              const NoiseFloor& floor, double sample_rate_hz);

// m'_k(F) from m_k(F) under the conditions (see above).
std::array<Modulation, kSpeechBandCount> apply_conditions(
    const std::array<Modulation, kSpeechBandCount>& m, const SpeechConditions& conditions);

// The mean transmission index over the modulation frequencies, 0..1.
double modulation_transmission_index(const Modulation& m);
// The index from the seven bands' MTI.
double index_from_mti(const SpeechBandValues& mti);
// "A+", "A", ... "J", "U".
std::string_view sti_category(double sti);

// The whole index from band signals made by band_signals() with the bands
// 125 Hz .. 8 kHz (others are not used); missing with the reason when a
// band is not there (the sampling rate is too low for 8 kHz) or holds no
// decay.
SpeechIndex speech_transmission_index(const BandSignals& bands, double sample_rate_hz,
                                      const std::optional<SpeechConditions>& conditions);
// The same from a response (trailing zeros are left out).
SpeechIndex speech_transmission_index(std::span<const float> samples, double sample_rate_hz,
                                      const std::optional<SpeechConditions>& conditions);

}  // namespace analysis

#endif  // ANALYSIS_SPEECH_STI_H_
