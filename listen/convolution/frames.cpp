#include "listen/convolution/frames.h"

#include <algorithm>

namespace listen {

MemoryFrames::MemoryFrames(std::size_t channels, double sample_rate_hz, std::vector<float> samples,
                           std::string name)
    : channels_(channels),
      rate_(sample_rate_hz),
      samples_(std::move(samples)),
      name_(std::move(name)) {}

std::size_t MemoryFrames::read(std::span<float> out) {
  const std::size_t n =
      std::min(out.size() / channels_, (samples_.size() - position_) / channels_) * channels_;
  std::copy_n(samples_.begin() + static_cast<std::ptrdiff_t>(position_), n, out.begin());
  position_ += n;
  return n / channels_;
}

bool MemoryFrames::take(std::span<const float> frames) {
  samples_.insert(samples_.end(), frames.begin(), frames.end());
  return true;
}

}  // namespace listen
