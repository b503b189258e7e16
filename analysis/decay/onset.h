// The start of an impulse response: its peak and its onset, the first point
// where the level rises to within 20 dB of the peak.
#ifndef ANALYSIS_DECAY_ONSET_H_
#define ANALYSIS_DECAY_ONSET_H_

#include <cstddef>
#include <optional>
#include <span>

namespace analysis {

inline constexpr double kOnsetBelowPeakDb = 20.0;

struct Onset {
  std::size_t peak = 0;   // index of the largest energy (the first of equals)
  std::size_t onset = 0;  // first index whose energy is >= peak energy / 100
};

// `energy` holds squared samples. nullopt when every value is zero.
std::optional<Onset> find_onset(std::span<const double> energy);

}  // namespace analysis

#endif  // ANALYSIS_DECAY_ONSET_H_
