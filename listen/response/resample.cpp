#include "listen/response/resample.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>

namespace listen {

std::vector<float> resample(std::span<const float> samples, double from_hz, double to_hz,
                            std::string* error) {
  const std::vector<double> in(samples.begin(), samples.end());
  const auto frames = std::max<std::size_t>(
      1, static_cast<std::size_t>(std::llround(static_cast<double>(in.size()) * to_hz / from_hz)));
  std::vector<double> out(frames, 0.0);
  const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT64_I, SOXR_FLOAT64_I);
  const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_VHQ, 0);
  std::size_t done = 0;
  const soxr_error_t failed = soxr_oneshot(from_hz, to_hz, 1, in.data(), in.size(), nullptr,
                                           out.data(), out.size(), &done, &io, &quality, nullptr);
  if (failed != nullptr) {
    if (error != nullptr) *error = failed;
    return {};
  }
  return std::vector<float>(out.begin(), out.end());
}

}  // namespace listen
