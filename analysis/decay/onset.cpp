#include "analysis/decay/onset.h"

#include <algorithm>
#include <cmath>

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
  // The window holding the peak has a level of at least peak / width, so
  // no window all of whose values lie 20 dB below that reaches the
  // threshold: the windows that may start from the first value that does
  // not.
  const double least =
      peak / static_cast<double>(width) * std::pow(10.0, -kOnsetBelowPeakDb / 10.0);
  std::size_t first = 0;
  while (first < end && energy[first] < least) ++first;
  const std::size_t begin = first >= width ? first - (width - 1) : 0;
  // Two passes of the same running sum, so that nothing is stored: the
  // loudest level first, then the first point that reaches 20 dB below it.
  const auto each_level = [&](auto&& visit) {
    double sum = 0.0;
    for (std::size_t i = begin; i < end; ++i) {
      sum += energy[i];
      if (i >= begin + width) sum -= energy[i - width];
      if (visit(i, std::max(sum, 0.0) / static_cast<double>(width))) return;
    }
  };
  double loudest = 0.0;
  each_level([&](std::size_t, double level) {
    loudest = std::max(loudest, level);
    return false;
  });
  const double threshold = loudest * std::pow(10.0, -kOnsetBelowPeakDb / 10.0);
  o.onset = end;
  each_level([&](std::size_t i, double level) {
    if (level < threshold) return false;
    o.onset = i;
    return true;
  });
  return o;
}

}  // namespace analysis
