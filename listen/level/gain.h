// The gain an auralisation is written with, chosen from what its first pass
// measured: its peak brought to a level in dBFS (default -1), its integrated
// loudness to a level in LUFS (default -23), or none, which keeps the
// response's own scale so that several auralisations keep their relative
// levels. An integer output whose samples the gain would take beyond the
// format's largest value is refused, in every mode: nothing is ever clipped.
#ifndef LISTEN_LEVEL_GAIN_H_
#define LISTEN_LEVEL_GAIN_H_

#include <optional>
#include <string>

#include "listen/convolution/auralise.h"
#include "listen/files/output_format.h"

namespace listen {

enum class Normalize { kPeak, kLoudness, kNone };

struct GainChoice {
  double gain_db = 0.0;
  std::string refusal;  // empty when the gain is chosen
  double gain() const;  // as a factor
};

// The default level of a mode: -1 (dBFS), -23 (LUFS), 0 (dB of gain: none
// takes no level).
double default_level(Normalize mode);

// Refusals: a silent output (no gain brings it to a level), an output below
// the loudness gates, an integer output that would clip (the message names
// its peak after the gain, in dBFS).
GainChoice choose_gain(const Measured& measured, Normalize mode, std::optional<double> level,
                       SampleFormat samples);

}  // namespace listen

#endif  // LISTEN_LEVEL_GAIN_H_
