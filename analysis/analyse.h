// The analysis of an impulse-response file: for each channel, for each
// octave (or third-octave) band analysed at its sampling rate and for the
// broadband response
// (the span of those bands, analysis/dsp/octave_bands.h), the room-acoustic
// parameters (analysis/decay/parameters.h), the single-number values over
// the bands (analysis/single_numbers.h), and what a viewer plots of them:
// the level over time, the Schroeder decay, the fitted lines, the onset,
// the truncation point and the noise level.
//
// Per band: the response without its trailing zeros, behind as many zeros
// as the band's filter takes to ring down by kRingingDecayDb, is filtered
// (time-reversed, analysis/dsp/biquad.h) and squared; onset, noise floor
// and truncation point (analysis/decay/noise_floor.h) and the compensated
// energy (analysis/decay/schroeder.h) give the parameters. The reversed
// filter's ringing lands before the response, in those zeros, so a file
// trimmed to its direct sound loses none of its band's early energy, and
// zeros before or behind the response change nothing.
//
// Everything here is re-entrant and keeps no state between calls, so a
// viewer may analyse on a worker thread while its window shows an earlier
// result. Times are seconds from the first sample of the file; the onset
// of a band, and the start of its fits, may lie before it (by the
// filter's ringing). Levels are dB of mean square re full scale (1.0), so
// a band's noise_db, peak_db and level curve share one axis.
#ifndef ANALYSIS_ANALYSE_H_
#define ANALYSIS_ANALYSE_H_

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "analysis/decay/parameters.h"
#include "analysis/decay/schroeder.h"
#include "analysis/dsp/octave_bands.h"
#include "analysis/response.h"
#include "analysis/single_numbers.h"

namespace analysis {

// Levels below this are this, in the curves.
inline constexpr float kLevelFloorDb = -300.0f;
// A band's filter gets room before the response for its impulse response
// to fall by this much (analysis/dsp/biquad.h, ringing_length).
inline constexpr double kRingingDecayDb = 80.0;

// The fits, in the order of the parameters they give.
enum class Fit { kEdt, kT20, kT30 };
inline constexpr std::size_t kFitCount = 3;

struct Curves {
  // 10 log10 h[n]^2 of the band's signal, n = 0 (the file's first sample)
  // .. the analysed end.
  std::vector<float> level_db;
  // The Schroeder decay, dB re the energy from the onset, n = 0 .. the
  // truncation point (exclusive); above 0 dB before the onset. Empty when
  // no decay was found.
  std::vector<float> decay_db;
};

struct BandAnalysis {
  std::optional<OctaveBand> band;  // nullopt: the broadband or the unfiltered response
  std::optional<BandSpan> span;    // the broadband response's span
  ParameterSet parameters;

  double end_s = 0.0;  // end of the analysed samples (trailing zeros left out)
  double peak_s = 0.0;
  double peak_db = kLevelFloorDb;
  std::optional<double> onset_s;
  std::optional<double> truncation_s;  // set when a decay was found
  std::optional<double> noise_db;      // mean square of the noise floor
  // False when the decay runs to the end of the data: noise_db is then the
  // level of the last tenth, not a floor.
  bool noise_floor_reached = false;
  // The late decay line's level at the onset over noise_db: how far the
  // decay falls before the noise; set when a decay was found.
  std::optional<double> decay_range_db;
  // The late decay line of the noise-floor search (the tail compensation),
  // as level_db = late_intercept_db + late_slope_db_per_s * t.
  std::optional<double> late_slope_db_per_s;
  double late_intercept_db = 0.0;
  // The fitted lines over the Schroeder decay; a fit is kept when its range
  // was reached, even when its parameter is missing for want of decay
  // range above the noise (the viewer may show it as such).
  std::array<std::optional<DecayFit>, kFitCount> fits;
  Curves curves;  // filled only when asked for (AnalysisOptions::keep_curves)
};

struct ChannelAnalysis {
  // The octave bands analysed at the rate, lowest first, then the
  // broadband response (unfiltered, without a span, at a rate too low for
  // any band).
  std::vector<BandAnalysis> results;
  // The single-number values over the bands (analysis/single_numbers.h).
  ParameterSet mid = ParameterSet("not computed");

  const BandAnalysis& broadband() const { return results.back(); }
};

struct AnalysisOptions {
  bool octave_bands = true;   // false: the broadband response only
  BandKind band_kind = BandKind::kOctave;  // octaves or third octaves
  bool keep_curves = false;   // fill BandAnalysis::curves
};

// Called on the analysing thread after each band of each channel with the
// share of the work done (rising, the last call with 1.0). Returning false
// stops the analysis after that band.
using Progress = std::function<bool(double done)>;

// One band of one response (`band` nullopt: unfiltered, with no zeros put
// before it). Any samples are accepted: what cannot be computed is missing
// with its reason.
BandAnalysis analyse_band(std::span<const float> samples, double sample_rate_hz,
                          const std::optional<OctaveBand>& band, bool keep_curves);
// The broadband response within the span.
BandAnalysis analyse_span(std::span<const float> samples, double sample_rate_hz,
                          const BandSpan& span, bool keep_curves);

// Every channel of a file; nullopt when `progress` stopped it.
std::optional<std::vector<ChannelAnalysis>> analyse_file(const ResponseFile& file,
                                                         const AnalysisOptions& options,
                                                         const Progress& progress = {});

}  // namespace analysis

#endif  // ANALYSIS_ANALYSE_H_
