#include "irgen/conversion.h"

#include <cmath>
#include <limits>

namespace irgen {

std::int32_t output_points(std::int32_t input_points) {
  for (std::int32_t points = 2048; points <= 32768; points *= 2) {
    if (input_points <= points) return points;
  }
  return kMaxOutputPoints;
}

Level channel_level(float energy, std::int16_t acquisition_mode,
                    float expected_spl, std::int32_t output_points) {
  if (!(energy > 0.0f)) {
    return {-std::numeric_limits<float>::infinity(), 0.0f};
  }
  // The constants are the single-precision values of 2e-5, 0.05 and 1e-5.
  const double p = static_cast<double>(2e-5f);
  const float t = static_cast<float>(2.0 * std::log10(p));
  const double e = energy;
  float level;
  double scale;
  if (acquisition_mode == kModeMls) {
    level = static_cast<float>(10.0 * (std::log10(e) - t));
    scale = static_cast<double>(1e-5f);
  } else {
    const float n = static_cast<float>(output_points);
    level = static_cast<float>(10.0 * (std::log10(e / n) - t));
    scale = p;
  }
  const double exponent =
      (static_cast<double>(level) - expected_spl) * static_cast<double>(0.05f);
  const double factor = std::pow(10.0, exponent) * scale;
  // Beyond the single range the factor becomes infinite, never a wrapped value.
  return {level, static_cast<float>(factor)};
}

}  // namespace irgen
