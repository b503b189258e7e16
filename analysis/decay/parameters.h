// The room-acoustic parameters of one response (one band of one channel):
// their names, units and record keys, and how each is either a number or
// missing with a reason, never both.
//
//   EDT, T20, T30  decay times (s): 60 dB of the line fitted to the
//                  Schroeder decay over 0..-10, -5..-25 and -5..-35 dB
//   C50, C80       clarity (dB): 10 log10 of the energy in the first 50 or
//                  80 ms after the onset over the energy after them
//   D50            definition (0..1): the energy in the first 50 ms over
//                  the total
//   Ts             centre time (ms): the energy-weighted mean time after
//                  the onset
//   PNR            peak-to-noise ratio (dB): the squared peak over the
//                  noise floor's mean square
//
// A decay time is given only when the bottom of its range lies at least
// kNoiseMarginDb above the noise floor, that is when the decay range (the
// level of the late decay line at the onset over the noise floor) is at
// least 20, 35 and 45 dB for EDT, T20 and T30.
//
// C50, C80, D50 and Ts are given only when the energies they use stand
// clear of the uncertainty of the noise taken off them. The noise's mean
// square N is measured over a window of W samples, in which a band of
// bandwidth B holds about n = W min(1, 2B / fs) independent samples; the
// mean of n squared Gaussian samples has a relative standard deviation of
// sqrt(2 / n). Taking N off a part of L samples (n_L = L min(1, 2B / fs)
// independent ones) removes L N with the standard uncertainty
//   u(L) = L N sqrt(2 / n + 2 / n_L)
// (the estimate's error and the noise's own fluctuation within the part).
// A clarity needs its early part (the onset to t) and its late part (t to
// the truncation point, with the tail beyond it) each larger than 2 u of
// its length; D50 its early part and the whole; Ts the whole and its first
// moment larger than twice theirs,
//   u_M(L) = N sqrt(2 / n (L^2 / 2)^2 + 2 L / n_L L^3 / 3),
// in samples.
// Otherwise the value is missing: "the late energy (after 80 ms) is within
// the uncertainty of the noise taken off". Where no noise is taken off
// (no floor reached) the rule asks nothing.
#ifndef ANALYSIS_DECAY_PARAMETERS_H_
#define ANALYSIS_DECAY_PARAMETERS_H_

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/decay/schroeder.h"

namespace analysis {

inline constexpr double kNoiseMarginDb = 10.0;

enum class Parameter { kEdt, kT20, kT30, kC50, kC80, kD50, kTs, kPnr };
inline constexpr std::size_t kParameterCount = 8;
inline constexpr std::array<Parameter, kParameterCount> kParameters = {
    Parameter::kEdt, Parameter::kT20, Parameter::kT30, Parameter::kC50,
    Parameter::kC80, Parameter::kD50, Parameter::kTs,  Parameter::kPnr};

// "edt_s", "t20_s", "t30_s", "c50_db", "c80_db", "d50", "ts_ms", "pnr_db".
std::string_view parameter_key(Parameter p);
// "EDT", "T20", "T30", "C50", "C80", "D50", "Ts", "PNR".
std::string_view parameter_label(Parameter p);
// "s", "s", "s", "dB", "dB", "", "ms", "dB".
std::string_view parameter_unit(Parameter p);

struct ParameterValue {
  std::optional<double> value;  // in the parameter's unit
  // The reason, exactly when value is empty: one line of plain text, no
  // semicolon (lists of reasons are joined with "; ").
  std::string missing;
};

class ParameterSet {
 public:
  // Every parameter starts missing with this reason.
  explicit ParameterSet(std::string reason = "not computed");

  const ParameterValue& operator[](Parameter p) const {
    return values_[static_cast<std::size_t>(p)];
  }
  void set(Parameter p, double value);
  void set_missing(Parameter p, std::string reason);

 private:
  std::array<ParameterValue, kParameterCount> values_;
};

// How well the noise taken off a decay is known (see above).
struct NoiseUncertainty {
  double noise = 0.0;               // mean square taken off per sample; 0: none
  double window_independent = 1.0;  // n: independent samples in its window
  double independent_per_sample = 1.0;  // min(1, 2B / fs)

  // u(L) and u_M(L) of a part of `samples` samples (see above).
  double energy(double samples) const;
  double first_moment(double samples) const;
};
inline constexpr double kNoiseCoverage = 2.0;

// Sets C50, C80, D50 and Ts of `p` from the compensated energy, each a
// value or missing with its reason: the uncertainty rule above, or an
// energy that is not positive after the noise is taken off.
void set_energy_parameters(ParameterSet& p, const DecayEnergy& decay,
                           const NoiseUncertainty& uncertainty, double sample_rate_hz);

// From the compensated energy, with t after the onset (NaN where an energy
// they divide or take the logarithm of is not positive, which the noise
// taken off can leave):
// early-to-late ratio 10 log10(E(0..t) / E(t..)),
double clarity_db(const DecayEnergy& decay, double t_s, double sample_rate_hz);
// early share E(0..t) / E(0..),
double definition(const DecayEnergy& decay, double t_s, double sample_rate_hz);
// the energy-weighted mean time after the onset, in ms.
double centre_time_ms(const DecayEnergy& decay, double sample_rate_hz);

}  // namespace analysis

#endif  // ANALYSIS_DECAY_PARAMETERS_H_
