#include "irexpo/scaling.h"

#include <cmath>
#include <limits>

namespace irexpo {

double round_half_away(double v) {
  return v >= 0.0 ? std::trunc(v + 0.5) : std::trunc(v - 0.5);
}

std::int16_t scale_to_pcm16(float x, float peak) {
  if (peak == 0.0f) return 0;  // every sample is zero: nothing to divide by
  const double v =
      static_cast<double>(x) / static_cast<double>(peak) * 32767.0;
  return static_cast<std::int16_t>(round_half_away(v));
}

Rate sampling_rate(float interval_ms, int block_align) {
  Rate rate;
  if (!(interval_ms > 0.0f) || !std::isfinite(interval_ms)) {
    rate.problem = RateProblem::kNotPositive;
    return rate;
  }
  const double hz = round_half_away(1000.0 / static_cast<double>(interval_ms));
  const double limit =
      static_cast<double>(std::numeric_limits<std::int32_t>::max()) / block_align;
  if (hz > limit) {
    rate.problem = RateProblem::kTooSmall;
  } else if (hz < 1.0) {
    rate.problem = RateProblem::kTooLarge;
  } else {
    rate.hz = static_cast<std::int32_t>(hz);
  }
  return rate;
}

}  // namespace irexpo
