#include "listen/level/loudness.h"

#include <ebur128.h>

#include <cmath>
#include <limits>
#include <new>

namespace listen {

LoudnessMeter::LoudnessMeter(std::size_t channels, double sample_rate_hz) : channels_(channels) {
  state_ = ebur128_init(static_cast<unsigned>(channels),
                        static_cast<unsigned long>(std::lround(sample_rate_hz)), EBUR128_MODE_I);
  if (state_ == nullptr) throw std::bad_alloc();
  auto* st = static_cast<ebur128_state*>(state_);
  ebur128_set_channel(st, 0, EBUR128_LEFT);
  if (channels > 1) ebur128_set_channel(st, 1, EBUR128_RIGHT);
}

LoudnessMeter::~LoudnessMeter() {
  auto* st = static_cast<ebur128_state*>(state_);
  ebur128_destroy(&st);
}

void LoudnessMeter::add(std::span<const float> frames) {
  ebur128_add_frames_float(static_cast<ebur128_state*>(state_), frames.data(),
                           frames.size() / channels_);
}

double LoudnessMeter::integrated_lufs() const {
  double lufs = 0.0;
  if (ebur128_loudness_global(static_cast<ebur128_state*>(state_), &lufs) != EBUR128_SUCCESS ||
      !std::isfinite(lufs)) {
    return -std::numeric_limits<double>::infinity();
  }
  return lufs;
}

}  // namespace listen
