#include "analysis/response.h"

#include <cmath>

namespace analysis {

Peak find_peak(const ResponseFile& file) {
  Peak peak;
  float largest = -1.0f;
  for (std::size_t c = 0; c < file.channels.size(); ++c) {
    const std::vector<float>& samples = file.channels[c];
    for (std::size_t i = 0; i < samples.size(); ++i) {
      const float magnitude = std::fabs(samples[i]);
      if (magnitude > largest) {
        largest = magnitude;
        peak.value = samples[i];
        peak.channel = c;
        peak.index = i;
      }
    }
  }
  peak.time_s = static_cast<double>(peak.index) / file.sample_rate_hz;
  return peak;
}

std::span<const float> without_trailing_zeros(std::span<const float> samples) {
  std::size_t end = samples.size();
  while (end > 0 && samples[end - 1] == 0.0f) --end;
  return samples.first(end);
}

}  // namespace analysis
