// The energy of a decay as the parameters use it, and Schroeder's backward
// integration with line fits over named ranges of it.
//
// From the onset up to the truncation point the energy is the squared
// response, with the noise floor's mean square taken off when a floor was
// reached; from the truncation point on it is the late decay line of the
// noise floor, summed to infinity (the compensation of the energy lost by
// truncating). remaining(n) is the backward integral of that energy from n.
#ifndef ANALYSIS_DECAY_SCHROEDER_H_
#define ANALYSIS_DECAY_SCHROEDER_H_

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "analysis/decay/noise_floor.h"

namespace analysis {

class DecayEnergy {
 public:
  // REQUIRES: floor.decay_found, onset < floor.truncation <= energy.size().
  DecayEnergy(std::span<const double> energy, std::size_t onset, const NoiseFloor& floor);

  std::size_t onset() const { return onset_; }
  std::size_t truncation() const { return truncation_; }

  // Energy from n on (n >= onset), the compensation included; never below a
  // tiny positive value, so its level is always defined.
  double remaining(std::size_t n) const;
  double total() const { return remaining(onset_); }
  // The sum of (n - onset) * energy(n) over every n >= onset, the tail
  // included: the centre time is this over total(), in samples.
  double first_moment() const { return first_moment_; }

  // 10 log10(remaining(n) / total()): 0 dB at the onset, falling.
  double decay_db(std::size_t n) const;

  // remaining(onset + i) for i = 0 .. truncation - onset, as summed (not
  // bounded below), for scans over the whole decay.
  std::span<const double> backward() const {
    return {backward_.get(), truncation_ - onset_ + 1};
  }

 private:
  std::size_t onset_;
  std::size_t truncation_;
  std::unique_ptr<double[]> backward_;  // remaining(onset + i), i = 0 .. truncation - onset
  double tail_ratio_;             // per-sample factor of the line behind truncation
  double first_moment_;
};

struct FitRange {
  double top_db;     // 0 for EDT, -5 for T20 and T30
  double bottom_db;  // -10, -25, -35
};
inline constexpr FitRange kEdtRange{0.0, -10.0};
inline constexpr FitRange kT20Range{-5.0, -25.0};
inline constexpr FitRange kT30Range{-5.0, -35.0};

// A least-squares line through the Schroeder decay over a range. Times are
// seconds from the first sample of the file; levels dB re total().
struct DecayFit {
  double slope_db_per_s = 0.0;
  double intercept_db = 0.0;  // the line's level at time 0
  double start_s = 0.0;       // where the decay passes top_db
  double end_s = 0.0;         // where it passes bottom_db
  FitRange range{};
  double correlation = 0.0;   // of levels and times, -1 for a perfect decay

  double level_at(double t_s) const { return intercept_db + slope_db_per_s * t_s; }
  // 60 dB of the fitted slope, in seconds.
  double decay_time_s() const { return -60.0 / slope_db_per_s; }
};

enum class FitProblem {
  kNone,
  kNotReached,    // the decay does not fall to the bottom of the range
  kTooFewPoints,  // it falls through the range in fewer than 3 samples
  kNoDecay,       // the fitted line does not fall
};

struct FitOutcome {
  std::optional<DecayFit> fit;  // set exactly when problem is kNone
  FitProblem problem = FitProblem::kNone;
  std::size_t bottom_index = 0;  // first index below bottom_db, when reached
};

// Fits the decay between the first index at or below top_db and the first
// below bottom_db, both no later than the truncation point (a range reached
// only by the extrapolated tail is not reached). At most about 500 evenly
// spaced points of the (smooth) decay enter the fit.
// Times are those of the samples' indices, or, given onset_time_s, those
// of their distance from the onset with the onset at onset_time_s (the same
// fit, bit for bit, wherever the decay lies in its array).
FitOutcome fit_decay(const DecayEnergy& decay, FitRange range, double sample_rate_hz);
FitOutcome fit_decay(const DecayEnergy& decay, FitRange range, double sample_rate_hz,
                     double onset_time_s);

}  // namespace analysis

#endif  // ANALYSIS_DECAY_SCHROEDER_H_
