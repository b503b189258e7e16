// The start of an impulse response: its peak and its onset, the first point
// where the level rises to within 20 dB of the peak. The level is the
// energy averaged over the millisecond up to each point (a trailing window),
// so that a single sample of noise before the response does not count as
// its start, while a sharp direct sound still marks it to the sample.
#ifndef ANALYSIS_DECAY_ONSET_H_
#define ANALYSIS_DECAY_ONSET_H_

#include <cstddef>
#include <optional>
#include <span>

namespace analysis {

inline constexpr double kOnsetBelowPeakDb = 20.0;
inline constexpr double kOnsetWindowS = 0.001;

struct Onset {
  std::size_t peak = 0;   // index of the largest energy (the first of equals)
  std::size_t onset = 0;  // first index whose level is within 20 dB of the peak level
};

// `energy` holds squared samples. nullopt when every value is zero.
std::optional<Onset> find_onset(std::span<const double> energy, double sample_rate_hz);

}  // namespace analysis

#endif  // ANALYSIS_DECAY_ONSET_H_
