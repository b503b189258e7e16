#include "analysis/decay/schroeder.h"

#include <algorithm>
#include <cmath>

namespace analysis {
namespace {

constexpr double kTiny = 1e-300;
constexpr std::size_t kMaxFitPoints = 500;

double from_db(double level_db) { return std::pow(10.0, level_db / 10.0); }

}  // namespace

DecayEnergy::DecayEnergy(std::span<const double> energy, std::size_t onset,
                         const NoiseFloor& floor)
    : onset_(onset),
      truncation_(floor.truncation),
      // Not zeroed first: every element is written below.
      backward_(std::make_unique_for_overwrite<double[]>(floor.truncation - onset + 1)) {
  const std::size_t t1 = floor.truncation;
  const double noise = floor.floor_reached ? floor.noise : 0.0;
  // Behind the truncation point: the late decay line, a geometric series.
  tail_ratio_ = from_db(floor.late_decay.slope_db);
  const double tail = from_db(floor.late_decay.at(static_cast<double>(t1))) / (1.0 - tail_ratio_);
  // sum over n of (n - onset) e(n) = sum over m > onset of remaining(m):
  // the backward sums behind the onset, and behind the truncation point
  // the tail's geometric series, tail * q / (1 - q).
  first_moment_ = tail * tail_ratio_ / (1.0 - tail_ratio_);
  double sum = tail;
  backward_[t1 - onset] = sum;
  for (std::size_t n = t1; n > onset; --n) {
    first_moment_ += sum;  // remaining(n)
    sum += energy[n - 1] - noise;
    backward_[n - 1 - onset] = sum;
  }
}

double DecayEnergy::remaining(std::size_t n) const {
  if (n <= truncation_) return std::max(backward_[n < onset_ ? 0 : n - onset_], kTiny);
  return std::max(backward_[truncation_ - onset_] *
                      std::pow(tail_ratio_, static_cast<double>(n - truncation_)),
                  kTiny);
}

double DecayEnergy::decay_db(std::size_t n) const {
  return 10.0 * std::log10(remaining(n) / total());
}

FitOutcome fit_decay(const DecayEnergy& decay, FitRange range, double sample_rate_hz) {
  return fit_decay(decay, range, sample_rate_hz,
                   static_cast<double>(decay.onset()) / sample_rate_hz);
}

FitOutcome fit_decay(const DecayEnergy& decay, FitRange range, double sample_rate_hz,
                     double onset_time_s) {
  FitOutcome out;
  const double total = decay.total();
  const double top = total * from_db(range.top_db);
  const double bottom = total * from_db(range.bottom_db);
  const std::size_t t1 = decay.truncation();
  const std::span<const double> sums = decay.backward();
  const std::size_t onset = decay.onset();
  std::size_t start = onset;
  while (start <= t1 && sums[start - onset] > top) ++start;
  std::size_t end = start;
  while (end <= t1 && sums[end - onset] >= bottom) ++end;
  if (end > t1) {
    out.problem = FitProblem::kNotReached;
    return out;
  }
  out.bottom_index = end;
  if (end - start < 3) {
    out.problem = FitProblem::kTooFewPoints;
    return out;
  }
  const std::size_t stride = std::max<std::size_t>(1, (end - start) / kMaxFitPoints);
  double n = 0.0, sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0, syy = 0.0;
  for (std::size_t i = start; i < end; i += stride) {
    const double x = static_cast<double>(i - onset) / sample_rate_hz;
    const double y = decay.decay_db(i);
    n += 1.0;
    sx += x;
    sy += y;
    sxx += x * x;
    sxy += x * y;
    syy += y * y;
  }
  const double vx = sxx - sx * sx / n;
  const double vy = syy - sy * sy / n;
  const double cxy = sxy - sx * sy / n;
  DecayFit fit;
  fit.slope_db_per_s = cxy / vx;
  fit.intercept_db = (sy - fit.slope_db_per_s * sx) / n - fit.slope_db_per_s * onset_time_s;
  fit.start_s = static_cast<double>(start - onset) / sample_rate_hz + onset_time_s;
  fit.end_s = static_cast<double>(end - onset) / sample_rate_hz + onset_time_s;
  fit.range = range;
  fit.correlation = vy > 0.0 ? cxy / std::sqrt(vx * vy) : -1.0;
  if (!(fit.slope_db_per_s < 0.0) || !std::isfinite(fit.intercept_db)) {
    out.problem = FitProblem::kNoDecay;
    return out;
  }
  out.fit = fit;
  return out;
}

}  // namespace analysis
