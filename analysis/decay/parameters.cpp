#include "analysis/decay/parameters.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace analysis {
namespace {

struct Names {
  std::string_view key, label, unit;
};
constexpr Names kNames[kParameterCount] = {
    {"edt_s", "EDT", "s"},    {"t20_s", "T20", "s"},  {"t30_s", "T30", "s"},
    {"c50_db", "C50", "dB"},  {"c80_db", "C80", "dB"}, {"d50", "D50", ""},
    {"ts_ms", "Ts", "ms"},    {"pnr_db", "PNR", "dB"}};

const Names& names(Parameter p) { return kNames[static_cast<std::size_t>(p)]; }

// The energy before and from t after the onset.
std::pair<double, double> split(const DecayEnergy& decay, double t_s, double sample_rate_hz) {
  const auto offset = static_cast<std::size_t>(std::llround(t_s * sample_rate_hz));
  const double late = decay.remaining(decay.onset() + offset);
  return {decay.total() - late, late};
}

}  // namespace

std::string_view parameter_key(Parameter p) { return names(p).key; }
std::string_view parameter_label(Parameter p) { return names(p).label; }
std::string_view parameter_unit(Parameter p) { return names(p).unit; }

ParameterSet::ParameterSet(std::string reason) {
  for (ParameterValue& v : values_) v.missing = reason;
}

void ParameterSet::set(Parameter p, double value) {
  ParameterValue& v = values_[static_cast<std::size_t>(p)];
  v.value = value;
  v.missing.clear();
}

void ParameterSet::set_missing(Parameter p, std::string reason) {
  ParameterValue& v = values_[static_cast<std::size_t>(p)];
  v.value.reset();
  v.missing = std::move(reason);
}

double clarity_db(const DecayEnergy& decay, double t_s, double sample_rate_hz) {
  const auto [early, late] = split(decay, t_s, sample_rate_hz);
  return 10.0 * std::log10(early / late);
}

double definition(const DecayEnergy& decay, double t_s, double sample_rate_hz) {
  return split(decay, t_s, sample_rate_hz).first / decay.total();
}

double centre_time_ms(const DecayEnergy& decay, double sample_rate_hz) {
  return 1000.0 * decay.first_moment() / decay.total() / sample_rate_hz;
}

double NoiseUncertainty::energy(double samples) const {
  if (!(noise > 0.0) || !(samples > 0.0)) return 0.0;
  const double part = std::max(1.0, samples * independent_per_sample);
  return samples * noise * std::sqrt(2.0 / window_independent + 2.0 / part);
}

double NoiseUncertainty::first_moment(double samples) const {
  if (!(noise > 0.0) || !(samples > 0.0)) return 0.0;
  const double per = std::max(independent_per_sample, 1.0 / samples);
  const double sum = samples * samples / 2.0;
  return noise * std::sqrt(2.0 / window_independent * sum * sum +
                           2.0 / per * samples * samples * samples / 3.0);
}

namespace {

std::string ms_text(double t_s) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f ms", t_s * 1000.0);
  return text;
}

constexpr const char* kNoEnergyLeft = "no energy left after the noise is taken off";
constexpr const char* kWithinNoise = " is within the uncertainty of the noise taken off";

// The parts of a decay split at t after the onset, and whether each stands
// clear of the noise's uncertainty.
struct Split {
  double early = 0.0;
  double late = 0.0;
  bool early_clear = true;
  bool late_clear = true;
};

Split split_clear(const DecayEnergy& decay, const NoiseUncertainty& u, double t_s, double rate) {
  const auto offset = static_cast<std::size_t>(std::llround(t_s * rate));
  const std::size_t measured = decay.truncation() - decay.onset();
  const std::size_t early_length = std::min(offset, measured);
  Split s;
  s.late = decay.remaining(decay.onset() + offset);
  s.early = decay.total() - s.late;
  s.early_clear = s.early > kNoiseCoverage * u.energy(static_cast<double>(early_length));
  s.late_clear =
      s.late > kNoiseCoverage * u.energy(static_cast<double>(measured - early_length));
  return s;
}

}  // namespace

void set_energy_parameters(ParameterSet& p, const DecayEnergy& decay, const NoiseUncertainty& u,
                           double rate) {
  const double measured = static_cast<double>(decay.truncation() - decay.onset());
  const bool total_clear = decay.total() > kNoiseCoverage * u.energy(measured);
  const std::string whole = std::string("the energy after the onset") + kWithinNoise;
  for (const auto& [parameter, t_s] :
       {std::pair{Parameter::kC50, 0.050}, std::pair{Parameter::kC80, 0.080}}) {
    const Split s = split_clear(decay, u, t_s, rate);
    const double c = 10.0 * std::log10(s.early / s.late);
    if (!s.early_clear) {
      p.set_missing(parameter, "the early energy (first " + ms_text(t_s) + ")" + kWithinNoise);
    } else if (!s.late_clear) {
      p.set_missing(parameter, "the late energy (after " + ms_text(t_s) + ")" + kWithinNoise);
    } else if (!std::isfinite(c)) {
      p.set_missing(parameter, kNoEnergyLeft);
    } else {
      p.set(parameter, c);
    }
  }
  const Split d = split_clear(decay, u, 0.050, rate);
  const double d50 = d.early / decay.total();
  if (!total_clear) {
    p.set_missing(Parameter::kD50, whole);
  } else if (!d.early_clear) {
    p.set_missing(Parameter::kD50, "the early energy (first 50 ms)" + std::string(kWithinNoise));
  } else if (!(d50 > 0.0) || !std::isfinite(d50)) {
    p.set_missing(Parameter::kD50, kNoEnergyLeft);
  } else {
    p.set(Parameter::kD50, d50);
  }
  const double ts = centre_time_ms(decay, rate);
  if (!total_clear) {
    p.set_missing(Parameter::kTs, whole);
  } else if (!(decay.first_moment() > kNoiseCoverage * u.first_moment(measured))) {
    p.set_missing(Parameter::kTs,
                  "the energy's first moment" + std::string(kWithinNoise));
  } else if (!(ts > 0.0) || !std::isfinite(ts)) {
    p.set_missing(Parameter::kTs, kNoEnergyLeft);
  } else {
    p.set(Parameter::kTs, ts);
  }
}

}  // namespace analysis
