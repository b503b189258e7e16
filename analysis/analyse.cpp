#include "analysis/analyse.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "analysis/decay/noise_floor.h"
#include "analysis/decay/onset.h"
#include "analysis/decay/parameters.h"

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

// A band's signal, filtered: the zeros the filter rang into, then the
// response; `origin` is the index of the file's first sample.
struct BandSignal {
  std::span<double> values;
  std::size_t origin = 0;
  double bandwidth_hz = 0.0;  // of the noise in it
  double block_s = kBlockS;   // Lundeby's first blocks
};

// Each decay time needs a decay range of kNoiseMarginDb below the bottom
// of its range; the fit is kept whenever its range is reached.
void evaluate_fits(BandAnalysis& r, const DecayEnergy& decay, const NoiseFloor& floor,
                   double range_db, double rate) {
  for (const FitChoice& wanted : kFits) {
    const FitOutcome outcome = fit_decay(decay, wanted.range, rate, *r.onset_s);
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

// The Schroeder decay from the file's first sample to the truncation point;
// before the onset the sum goes on growing.
void fill_decay_curve(BandAnalysis& r, std::span<const double> energy, std::size_t origin,
                      const DecayEnergy& decay, const NoiseFloor& floor) {
  std::vector<float>& curve = r.curves.decay_db;
  if (decay.truncation() <= origin) return;
  curve.resize(decay.truncation() - origin);
  const double total = decay.total();
  for (std::size_t n = std::max(decay.onset(), origin); n < decay.truncation(); ++n) {
    curve[n - origin] = curve_db(decay.decay_db(n));
  }
  const double noise = floor.floor_reached ? floor.noise : 0.0;
  double sum = total;
  for (std::size_t n = decay.onset(); n > origin; --n) {
    sum += energy[n - 1] - noise;
    curve[n - 1 - origin] = curve_db(10.0 * std::log10(std::max(sum, kTiny) / total));
  }
}

// The analysis of a band's signal (or of the unfiltered response), which
// it squares in place; `r` already says which band it is.
void analyse_signal(BandAnalysis& r, const BandSignal& signal, double rate, bool keep_curves) {
  const std::span<double> energy = signal.values;
  const std::size_t origin = signal.origin;
  // Exact differences of indices, so that a result does not depend on
  // where the file's samples lie in the array.
  const auto time_of = [&](std::size_t n) {
    return (static_cast<double>(n) - static_cast<double>(origin)) / rate;
  };
  for (double& e : energy) e *= e;
  if (keep_curves) {
    r.curves.level_db.resize(energy.size() - origin);
    for (std::size_t i = origin; i < energy.size(); ++i)
      r.curves.level_db[i - origin] = curve_db(level_db(energy[i]));
  }

  const std::optional<Onset> onset = find_onset(energy, rate);
  if (!onset) {
    r.parameters =
        ParameterSet(r.band ? "the band holds no signal" : "the response holds no signal");
    return;
  }
  r.peak_s = time_of(onset->peak);
  r.peak_db = level_db(energy[onset->peak]);
  r.onset_s = time_of(onset->onset);

  const NoiseFloor floor = find_noise_floor(energy, onset->onset, rate, signal.block_s);
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
  r.truncation_s = time_of(floor.truncation);
  r.late_slope_db_per_s = floor.late_decay.slope_db * rate;
  r.late_intercept_db = floor.late_decay.at(static_cast<double>(origin));

  r.decay_range_db = floor.late_decay.at(static_cast<double>(onset->onset)) - *r.noise_db;
  const DecayEnergy decay(energy, onset->onset, floor);
  evaluate_fits(r, decay, floor, *r.decay_range_db, rate);

  NoiseUncertainty uncertainty;
  if (floor.floor_reached) {
    uncertainty.noise = floor.noise;
    uncertainty.independent_per_sample = std::min(1.0, 2.0 * signal.bandwidth_hz / rate);
    uncertainty.window_independent =
        std::max(1.0, static_cast<double>(energy.size() - floor.noise_from) *
                          uncertainty.independent_per_sample);
  }
  set_energy_parameters(r.parameters, decay, uncertainty, rate);
  if (keep_curves) fill_decay_curve(r, energy, origin, decay, floor);
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

// What a result's signal goes through: its filter (none for the unfiltered
// response), the zeros it rings into, its noise bandwidth and block length.
struct Filtering {
  std::optional<Cascade> filter;
  std::size_t ringing = 0;
  double bandwidth_hz = 0.0;
  double block_s = kBlockS;
};

Filtering band_filtering(const OctaveBand& band, double rate) {
  Filtering f;
  f.filter = octave_filter(band, rate);
  if (f.filter) f.ringing = ringing_length(*f.filter, kRingingDecayDb);
  f.bandwidth_hz = band.upper_hz - band.lower_hz;
  f.block_s = std::max(kBlockS, 1.0 / band.centre_hz);
  return f;
}

Filtering span_filtering(const std::optional<BandSpan>& span, double rate) {
  Filtering f;
  f.bandwidth_hz = rate / 2.0;
  if (!span) return f;
  f.filter = span_filter(*span, rate);
  if (f.filter) {
    f.ringing = ringing_length(*f.filter, kRingingDecayDb);
    f.bandwidth_hz = span->upper_hz - span->lower_hz;
  }
  return f;
}

// The data behind room for the longest ringing, and the buffers the
// filters write: a band whose filter rings for `zeros` samples takes the
// tail of each, the data behind its own zeros.
class Buffers {
 public:
  // The filters' buffers are not zeroed first: a filter writes every
  // element of the tail it takes.
  Buffers(std::span<const float> data, std::size_t room)
      : room_(room), size_(room + data.size()), input_(size_, 0.0),
        first_(std::make_unique_for_overwrite<double[]>(size_)),
        second_(std::make_unique_for_overwrite<double[]>(size_)) {
    std::copy(data.begin(), data.end(), input_.begin() + static_cast<std::ptrdiff_t>(room));
  }
  std::span<const double> input(std::size_t zeros) const {
    return std::span<const double>(input_).subspan(room_ - zeros);
  }
  std::span<double> first(std::size_t zeros) { return tail(first_.get(), zeros); }
  std::span<double> second(std::size_t zeros) { return tail(second_.get(), zeros); }

 private:
  std::span<double> tail(double* buffer, std::size_t zeros) const {
    return std::span<double>(buffer + (room_ - zeros), size_ - (room_ - zeros));
  }
  std::size_t room_;
  std::size_t size_;
  std::vector<double> input_;
  std::unique_ptr<double[]> first_, second_;
};

BandSignal band_signal(std::span<double> values, std::size_t zeros, const Filtering& f) {
  return BandSignal{values, zeros, f.bandwidth_hz, f.block_s};
}

// One result through its filtering.
void analyse_filtered(BandAnalysis& r, Buffers& buffers, const Filtering& f, double rate,
                      bool keep_curves) {
  const std::span<double> values = buffers.first(f.ringing);
  const std::span<const double> input = buffers.input(f.ringing);
  std::copy(input.begin(), input.end(), values.begin());
  if (f.filter) filter_reversed(*f.filter, values);
  analyse_signal(r, band_signal(values, f.ringing, f), rate, keep_curves);
}

}  // namespace

BandAnalysis analyse_band(std::span<const float> samples, double rate,
                          const std::optional<OctaveBand>& band, bool keep_curves) {
  const std::span<const float> data = without_trailing_zeros(samples);
  BandAnalysis r = start_result(band, data.size(), rate);
  if (data.empty()) {
    r.parameters = ParameterSet(kOnlyZeros);
    return r;
  }
  const Filtering f = band ? band_filtering(*band, rate) : span_filtering(std::nullopt, rate);
  if (band && !f.filter) {
    r.parameters = ParameterSet(kAboveNyquist);
    return r;
  }
  Buffers buffers(data, f.ringing);
  analyse_filtered(r, buffers, f, rate, keep_curves);
  return r;
}

BandAnalysis analyse_span(std::span<const float> samples, double rate, const BandSpan& span,
                          bool keep_curves) {
  const std::span<const float> data = without_trailing_zeros(samples);
  BandAnalysis r = start_result(std::nullopt, data.size(), rate);
  r.span = span;
  const Filtering f = span_filtering(span, rate);
  if (!f.filter) {
    r.parameters = ParameterSet(kAboveNyquist);
  } else if (data.empty()) {
    r.parameters = ParameterSet(kOnlyZeros);
  } else {
    Buffers buffers(data, f.ringing);
    analyse_filtered(r, buffers, f, rate, keep_curves);
  }
  return r;
}

std::optional<std::vector<ChannelAnalysis>> analyse_file(const ResponseFile& file,
                                                         const AnalysisOptions& options,
                                                         const Progress& progress) {
  const double rate = file.sample_rate_hz;
  const std::vector<OctaveBand> bands =
      options.octave_bands ? bands_for_rate(rate, options.band_kind) : std::vector<OctaveBand>{};
  std::vector<Filtering> filters;
  for (const OctaveBand& b : bands) filters.push_back(band_filtering(b, rate));
  const std::optional<BandSpan> span = broadband_span(rate, options.band_kind);
  const Filtering broadband = span_filtering(span, rate);
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
    channel.results.back().span = broadband.filter ? span : std::nullopt;
    if (data.empty()) {
      for (BandAnalysis& r : channel.results) r.parameters = ParameterSet(kOnlyZeros);
      channel.mid = single_number_values(channel.results);
      for (std::size_t i = 0; i < channel.results.size(); ++i) {
        if (!step()) return std::nullopt;
      }
      continue;
    }
    std::size_t room = broadband.ringing;
    for (const Filtering& f : filters) room = std::max(room, f.ringing);
    Buffers buffers(data, room);
    // The bands two at a time, where both have a filter, behind the zeros
    // the lower one's ringing needs.
    for (std::size_t b = 0; b < bands.size();) {
      const Filtering& fa = filters[b];
      if (!fa.filter) {
        channel.results[b].parameters = ParameterSet(kAboveNyquist);
        if (!step()) return std::nullopt;
        ++b;
        continue;
      }
      if (b + 1 < bands.size() && filters[b + 1].filter) {
        const Filtering& fb = filters[b + 1];
        const std::size_t zeros = std::max(fa.ringing, fb.ringing);
        const std::span<double> first = buffers.first(zeros), second = buffers.second(zeros);
        filter_reversed_pair(*fa.filter, *fb.filter, buffers.input(zeros), first, second);
        analyse_signal(channel.results[b], band_signal(first, zeros, fa), rate,
                       options.keep_curves);
        if (!step()) return std::nullopt;
        analyse_signal(channel.results[b + 1], band_signal(second, zeros, fb), rate,
                       options.keep_curves);
        if (!step()) return std::nullopt;
        b += 2;
      } else {
        analyse_filtered(channel.results[b], buffers, fa, rate, options.keep_curves);
        if (!step()) return std::nullopt;
        ++b;
      }
    }
    analyse_filtered(channel.results.back(), buffers, broadband, rate, options.keep_curves);
    channel.mid = single_number_values(channel.results);
    if (!step()) return std::nullopt;
  }
  return out;
}

}  // namespace analysis
