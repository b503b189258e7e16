// A response brought to another sampling rate with libsoxr (the only file
// that includes it) at its very high quality: a linear-phase low-pass whose
// pass band reaches 95 % of the lower Nyquist frequency, with 175 dB of
// stop-band rejection. The output keeps the input's timing (the filter's
// delay is taken out) and has round(frames * to / from) points, at least one.
#ifndef LISTEN_RESPONSE_RESAMPLE_H_
#define LISTEN_RESPONSE_RESAMPLE_H_

#include <span>
#include <string>
#include <vector>

namespace listen {

// REQUIRES: both rates positive. Empty, with `*error` set when given, when
// the library fails.
std::vector<float> resample(std::span<const float> samples, double from_hz, double to_hz,
                            std::string* error = nullptr);

}  // namespace listen

#endif  // LISTEN_RESPONSE_RESAMPLE_H_
