#include "analysis/analyse.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "analysis/decay/noise_floor.h"
#include "analysis/decay/onset.h"

namespace analysis {
namespace {

// Lundeby's first blocks: 10 ms, or a period of the band's mid-band
// frequency when longer (two periods of the squared signal).
constexpr double kBlockS = 0.010;
constexpr double kTiny = 1e-300;

struct FitChoice {
  Fit fit;
  Parameter parameter;
  FitRange range;
};
constexpr FitChoice kFits[kFitCount] = {{Fit::kEdt, Parameter::kEdt, kEdtRange},
                                        {Fit::kT20, Parameter::kT20, kT20Range},
                                        {Fit::kT30, Parameter::kT30, kT30Range}};
constexpr Parameter kEnergyParameters[] = {Parameter::kC50, Parameter::kC80, Parameter::kD50,
                                           Parameter::kTs};

double level_db(double mean_square) { return 10.0 * std::log10(std::max(mean_square, kTiny)); }

float curve_db(double level) {
  return static_cast<float>(std::max(level, static_cast<double>(kLevelFloorDb)));
}

std::string db_text(double db) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", db);
  return text;
}

void set_energy_parameters_missing(ParameterSet& p, const std::string& reason) {
  for (Parameter e : kEnergyParameters) p.set_missing(e, reason);
}

void set_decay_parameters_missing(ParameterSet& p, const std::string& reason) {
  for (const FitChoice& f : kFits) p.set_missing(f.parameter, reason);
  set_energy_parameters_missing(p, reason);
}

// A ratio of energies, or missing when an energy it needs is not positive
// (what is left after the noise is taken off may be nothing).
void set_if_finite(ParameterSet& p, Parameter parameter, double value) {
  if (std::isfinite(value)) {
    p.set(parameter, value);
  } else {
    p.set_missing(parameter, "no energy left after the noise is taken off");
  }
}

// Each decay time needs a decay range of kNoiseMarginDb below the bottom
// of its range; the fit is kept whenever its range is reached.
void evaluate_fits(BandAnalysis& r, const DecayEnergy& decay, const NoiseFloor& floor,
                   double range_db, double rate) {
  for (const FitChoice& wanted : kFits) {
    const FitOutcome outcome = fit_decay(decay, wanted.range, rate);
    r.fits[static_cast<std::size_t>(wanted.fit)] = outcome.fit;
    const double needed = kNoiseMarginDb - wanted.range.bottom_db;
    if (range_db < needed) {
      const std::string range = db_text(range_db);
      r.parameters.set_missing(
          wanted.parameter,
          (floor.floor_reached ? "decay range " + range + " dB above the noise floor"
                               : "the response ends " + range + " dB down its decay") +
              ", " + std::string(parameter_label(wanted.parameter)) + " needs " + db_text(needed) +
              " dB");
      continue;
    }
    switch (outcome.problem) {
      case FitProblem::kNone:
        r.parameters.set(wanted.parameter, outcome.fit->decay_time_s());
        break;
      case FitProblem::kNotReached:
        r.parameters.set_missing(wanted.parameter, "the decay does not fall to " +
                                                       db_text(wanted.range.bottom_db) + " dB");
        break;
      case FitProblem::kTooFewPoints:
        r.parameters.set_missing(wanted.parameter,
                                 "the decay falls through its range in fewer "
                                 "than 3 samples");
        break;
      case FitProblem::kNoDecay:
        r.parameters.set_missing(wanted.parameter, "the fitted line does not fall");
        break;
    }
  }
}

void fill_decay_curve(BandAnalysis& r, std::span<const double> energy, const DecayEnergy& decay,
                      const NoiseFloor& floor) {
  std::vector<float>& curve = r.curves.decay_db;
  curve.resize(decay.truncation());
  const double total = decay.total();
  for (std::size_t n = decay.onset(); n < decay.truncation(); ++n) {
    curve[n] = curve_db(decay.decay_db(n));
  }
  // Before the onset the sum goes on growing.
  const double noise = floor.floor_reached ? floor.noise : 0.0;
  double sum = total;
  for (std::size_t n = decay.onset(); n > 0; --n) {
    sum += energy[n - 1] - noise;
    curve[n - 1] = curve_db(10.0 * std::log10(std::max(sum, kTiny) / total));
  }
}

// The analysis of a band's signal (or of the unfiltered response), which
// it squares in place; `r` already says which band it is.
void analyse_signal(BandAnalysis& r, std::vector<double>& energy, double rate, bool keep_curves) {
  const std::optional<OctaveBand>& band = r.band;
  for (double& e : energy) e *= e;
  if (keep_curves) {
    r.curves.level_db.resize(energy.size());
    for (std::size_t i = 0; i < energy.size(); ++i)
      r.curves.level_db[i] = curve_db(level_db(energy[i]));
  }

  const std::optional<Onset> onset = find_onset(energy, rate);
  if (!onset) {
    r.parameters = ParameterSet(band ? "the band holds no signal" : "the response holds no signal");
    return;
  }
  r.peak_s = static_cast<double>(onset->peak) / rate;
  r.peak_db = level_db(energy[onset->peak]);
  r.onset_s = static_cast<double>(onset->onset) / rate;

  const double block_s = band ? std::max(kBlockS, 1.0 / band->centre_hz) : kBlockS;
  const NoiseFloor floor = find_noise_floor(energy, onset->onset, rate, block_s);
  if (floor.noise > 0.0) {
    r.noise_db = level_db(floor.noise);
    r.parameters.set(Parameter::kPnr, r.peak_db - *r.noise_db);
  } else {
    r.parameters.set_missing(Parameter::kPnr, "no noise level: nothing follows the onset");
  }
  if (!floor.decay_found) {
    set_decay_parameters_missing(r.parameters, floor.problem);
    return;
  }
  r.noise_floor_reached = floor.floor_reached;
  r.truncation_s = static_cast<double>(floor.truncation) / rate;
  r.late_slope_db_per_s = floor.late_decay.slope_db * rate;
  r.late_intercept_db = floor.late_decay.intercept_db;

  r.decay_range_db = floor.late_decay.at(static_cast<double>(onset->onset)) - *r.noise_db;
  const DecayEnergy decay(energy, onset->onset, floor);
  evaluate_fits(r, decay, floor, *r.decay_range_db, rate);
  set_if_finite(r.parameters, Parameter::kC50, clarity_db(decay, 0.050, rate));
  set_if_finite(r.parameters, Parameter::kC80, clarity_db(decay, 0.080, rate));
  const double d50 = definition(decay, 0.050, rate);
  set_if_finite(r.parameters, Parameter::kD50, d50 > 0.0 ? d50 : std::nan(""));
  const double ts = centre_time_ms(decay, rate);
  set_if_finite(r.parameters, Parameter::kTs, ts > 0.0 ? ts : std::nan(""));
  if (keep_curves) fill_decay_curve(r, energy, decay, floor);
}

// A result that says which band it is and where the analysed samples end.
BandAnalysis start_result(const std::optional<OctaveBand>& band, std::size_t points, double rate) {
  BandAnalysis r;
  r.band = band;
  r.end_s = static_cast<double>(points) / rate;
  return r;
}

constexpr const char* kOnlyZeros = "the channel holds only zeros";
constexpr const char* kAboveNyquist = "the band reaches the Nyquist frequency";

}  // namespace

BandAnalysis analyse_band(std::span<const float> samples, double rate,
                          const std::optional<OctaveBand>& band, bool keep_curves) {
  const std::span<const float> data = without_trailing_zeros(samples);
  BandAnalysis r = start_result(band, data.size(), rate);
  if (data.empty()) {
    r.parameters = ParameterSet(kOnlyZeros);
    return r;
  }
  std::vector<double> signal(data.begin(), data.end());
  if (band) {
    const std::optional<Cascade> filter = octave_filter(*band, rate);
    if (!filter) {
      r.parameters = ParameterSet(kAboveNyquist);
      return r;
    }
    filter_reversed(*filter, signal);
  }
  analyse_signal(r, signal, rate, keep_curves);
  return r;
}

std::optional<std::vector<ChannelAnalysis>> analyse_file(const ResponseFile& file,
                                                         const AnalysisOptions& options,
                                                         const Progress& progress) {
  const double rate = file.sample_rate_hz;
  const std::vector<OctaveBand> bands =
      options.octave_bands ? bands_for_rate(rate) : std::vector<OctaveBand>{};
  std::vector<std::optional<Cascade>> filters;
  for (const OctaveBand& b : bands) filters.push_back(octave_filter(b, rate));
  const double steps = static_cast<double>(file.channels.size() * (bands.size() + 1));
  double done = 0.0;
  const auto step = [&]() {
    done += 1.0;
    return !progress || progress(done / steps);
  };

  std::vector<ChannelAnalysis> out;
  for (const std::vector<float>& samples : file.channels) {
    ChannelAnalysis& channel = out.emplace_back();
    const std::span<const float> data = without_trailing_zeros(samples);
    for (std::size_t b = 0; b < bands.size(); ++b) {
      channel.results.push_back(start_result(bands[b], data.size(), rate));
    }
    channel.results.push_back(start_result(std::nullopt, data.size(), rate));
    if (data.empty()) {
      for (BandAnalysis& r : channel.results) r.parameters = ParameterSet(kOnlyZeros);
      for (std::size_t i = 0; i < channel.results.size(); ++i) {
        if (!step()) return std::nullopt;
      }
      continue;
    }
    const std::vector<double> signal(data.begin(), data.end());
    std::vector<double> first(signal.size()), second(signal.size());
    // The bands two at a time, where both have a filter.
    for (std::size_t b = 0; b < bands.size();) {
      if (!filters[b]) {
        channel.results[b].parameters = ParameterSet(kAboveNyquist);
        if (!step()) return std::nullopt;
        ++b;
        continue;
      }
      if (b + 1 < bands.size() && filters[b + 1]) {
        filter_reversed_pair(*filters[b], *filters[b + 1], signal, first, second);
        analyse_signal(channel.results[b], first, rate, options.keep_curves);
        if (!step()) return std::nullopt;
        analyse_signal(channel.results[b + 1], second, rate, options.keep_curves);
        if (!step()) return std::nullopt;
        b += 2;
      } else {
        first = signal;
        filter_reversed(*filters[b], first);
        analyse_signal(channel.results[b], first, rate, options.keep_curves);
        if (!step()) return std::nullopt;
        ++b;
      }
    }
    first = signal;
    analyse_signal(channel.results.back(), first, rate, options.keep_curves);
    if (!step()) return std::nullopt;
  }
  return out;
}

}  // namespace analysis
