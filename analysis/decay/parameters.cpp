#include "analysis/decay/parameters.h"

#include <cmath>
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

}  // namespace analysis
