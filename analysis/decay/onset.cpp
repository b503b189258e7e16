#include "analysis/decay/onset.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace analysis {

std::optional<Onset> find_onset(std::span<const double> energy, double sample_rate_hz) {
  Onset o;
  double peak = 0.0;
  for (std::size_t i = 0; i < energy.size(); ++i) {
    if (energy[i] > peak) {
      peak = energy[i];
      o.peak = i;
    }
  }
  if (!(peak > 0.0)) return std::nullopt;
  // The level at each point up to a window behind the peak (where the
  // loudest window lies), as the mean of the window ending at the point.
  const std::size_t width = std::max<std::size_t>(
      1, static_cast<std::size_t>(std::llround(kOnsetWindowS * sample_rate_hz)));
  const std::size_t end = std::min(energy.size(), o.peak + width);
  std::vector<double> level(end);
  double sum = 0.0;
  double loudest = 0.0;
  for (std::size_t i = 0; i < end; ++i) {
    sum += energy[i];
    if (i >= width) sum -= energy[i - width];
    level[i] = std::max(sum, 0.0) / static_cast<double>(width);
    loudest = std::max(loudest, level[i]);
  }
  const double threshold = loudest * std::pow(10.0, -kOnsetBelowPeakDb / 10.0);
  o.onset = static_cast<std::size_t>(
      std::find_if(level.begin(), level.end(), [threshold](double l) { return l >= threshold; }) -
      level.begin());
  return o;
}

}  // namespace analysis
