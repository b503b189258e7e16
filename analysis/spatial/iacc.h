// The interaural cross-correlation of a binaural pair of impulse responses
// (the left and right ear of a dummy head):
//
//   IACF(tau) = sum_{t1 <= t < t2} l(t) r(t + tau)
//               / sqrt(sum_{t1..t2} l(t)^2 * sum_{t1..t2} r(t)^2)
//   IACC      = max |IACF(tau)| over -1 ms <= tau <= +1 ms
//
// (the absolute value: an ear in opposite phase correlates fully; a value
// above 1, which the normalisation by the window's own energies allows at
// its edges, is 1), over
// three windows with times from the onset of the earlier ear (its
// unfiltered response's onset, analysis/decay/onset.h):
//
//   IACC_E  0 .. 80 ms      IACC_L  80 ms .. end      IACC_A  0 .. end
//
// where the end is where the later of the two unfiltered decays meets its
// noise floor (analysis/decay/noise_floor.h), or the end of the data when
// it reaches none: the noise behind a decay is no part of the room's
// response, and would only lower IACC_L. Samples outside the data count as
// zeros. Per octave band 125 Hz .. 4 kHz (analysis/dsp/band_signals.h) and
// for the unfiltered responses; and the single numbers of the bands
// 500 Hz, 1 kHz and 2 kHz: the means IACC_E3, IACC_L3, IACC_A3, and
// 1 - IACC_E3, the binaural quality index.
#ifndef ANALYSIS_SPATIAL_IACC_H_
#define ANALYSIS_SPATIAL_IACC_H_

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/decay/parameters.h"
#include "analysis/dsp/band_signals.h"
#include "analysis/dsp/octave_bands.h"

namespace analysis {

inline constexpr double kIaccMaxLagS = 0.001;
inline constexpr double kIaccEarlyS = 0.080;
inline constexpr double kIaccLowestBandHz = 125.0;
inline constexpr double kIaccHighestBandHz = 4000.0;

struct IaccValues {
  ParameterValue early;  // IACC_E, 0..1
  ParameterValue late;   // IACC_L
  ParameterValue all;    // IACC_A
};

struct BandIacc {
  std::optional<OctaveBand> band;  // nullopt: the unfiltered responses
  IaccValues values;
};

struct BinauralAnalysis {
  // The bands 125 Hz .. 4 kHz analysed at the rate, lowest first, then the
  // unfiltered responses; empty when neither ear holds a signal.
  std::vector<BandIacc> results;
  std::optional<double> onset_s;  // the earlier ear's onset, s from the first sample
  double end_s = 0.0;             // the end of IACC_L and IACC_A, s from the first sample
  // Means over 500 Hz, 1 kHz and 2 kHz; missing unless all three are given.
  ParameterValue iacc_e3, iacc_l3, iacc_a3;
  ParameterValue one_minus_iacc_e3;  // 1 - IACC_E3
  std::string problem;  // why results is empty

  const BandIacc& unfiltered() const { return results.back(); }
};

// max |IACF| over the lags -max_lag .. +max_lag (samples) in the window
// [begin, end) of two signals whose index n is the same instant in both;
// values beyond either span are zeros. nullopt when either signal has no
// energy in the window (or the window is empty).
std::optional<double> interaural_correlation(std::span<const double> left,
                                             std::span<const double> right, std::size_t begin,
                                             std::size_t end, std::size_t max_lag);

// The pair from band signals made by band_signals() with the bands
// 125 Hz .. 4 kHz (more may be there; others are not used).
BinauralAnalysis analyse_binaural(const BandSignals& left, const BandSignals& right,
                                  double sample_rate_hz);

// The same from the two responses (trailing zeros are left out; the two
// may differ in length).
BinauralAnalysis analyse_binaural(std::span<const float> left, std::span<const float> right,
                                  double sample_rate_hz);

}  // namespace analysis

#endif  // ANALYSIS_SPATIAL_IACC_H_
