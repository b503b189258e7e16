#include "irexpo/scaling.h"

#include <cmath>
#include <limits>

namespace irexpo {

double round_half_away(double v) {
  return v >= 0.0 ? std::trunc(v + 0.5) : std::trunc(v - 0.5);
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
