// For tests: impulse responses that look like measured ones, for checking
// what must not change the analysis (silence added, another file format,
// gain, another sampling rate). A direct sound (one sample), early
// reflections, a diffuse tail whose reverberation time differs per octave
// band, and what a measurement adds: a white noise floor, noise above the
// top octave band (a converter's), a DC offset, a lead of noise before the
// direct sound.
#ifndef ANALYSIS_TESTING_MEASURED_H_
#define ANALYSIS_TESTING_MEASURED_H_

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace analysis::testing {

inline constexpr double kNone = std::numeric_limits<double>::infinity();

struct MeasuredLike {
  std::string name;
  double rate_hz = 48000;
  double lead_s = 0.0;  // before the direct sound (0: it is the first sample)
  double noise_below_peak_db = 60.0;  // RMS of the white floor re the peak; kNone: none
  // RMS of noise above hf_noise_from_hz re the peak (kNone: none); it lasts the
  // whole response, as the floor does.
  double hf_noise_below_peak_db = kNone;
  double dc_below_peak_db = kNone;  // a constant offset re the peak
  double length_s = 1.25;           // from the direct sound
  std::uint64_t seed = 1;
  double hf_noise_from_hz = 12000.0;
};

// The response, scaled to a peak of 0.9 (16-bit files hold it unclipped).
std::vector<float> measured_like(const MeasuredLike& m);

}  // namespace analysis::testing

#endif  // ANALYSIS_TESTING_MEASURED_H_
