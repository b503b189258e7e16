#include "listen/level/quantise.h"

#include <algorithm>
#include <cmath>

namespace listen {

Quantiser::Quantiser(SampleFormat samples, std::uint64_t seed)
    : bits_(samples == SampleFormat::kPcm16 ? 16 : 24), state_(seed == 0 ? 1 : seed) {}

double Quantiser::uniform() {
  // xorshift64*: fixed, fast and the same on every platform.
  state_ ^= state_ >> 12;
  state_ ^= state_ << 25;
  state_ ^= state_ >> 27;
  const std::uint64_t v = state_ * 0x2545f4914f6cdd1du;
  return static_cast<double>(v >> 11) * (1.0 / 9007199254740992.0);
}

void Quantiser::codes(std::span<const float> in, double gain, std::span<std::int32_t> out) {
  const double steps = std::ldexp(1.0, bits_ - 1);
  const double top = steps - 1.0;
  const int shift = 32 - bits_;
  const bool dither = bits_ == 16;
  for (std::size_t i = 0; i < in.size(); ++i) {
    double x = static_cast<double>(in[i]) * gain * steps;
    if (dither) x += uniform() + uniform() - 1.0;
    // Rounded half up by truncation: std::floor is a library call on the
    // x86-64 baseline, and this loop runs for every sample written.
    const double up = std::clamp(x, -steps, top) + 0.5;
    auto code = static_cast<std::int64_t>(up);
    if (static_cast<double>(code) > up) --code;
    code = std::min<std::int64_t>(code, static_cast<std::int64_t>(top));
    out[i] = static_cast<std::int32_t>(code * (std::int64_t{1} << shift));
  }
}

}  // namespace listen
