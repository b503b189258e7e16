#include "analysis/decay/noise_floor.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace analysis {
namespace {

constexpr double kTiny = 1e-300;
constexpr double kFirstMarginDb = 10.0;   // the first fit stops this far above the noise
constexpr double kLateTopDb = 30.0;       // the late fit spans 30 .. 10 dB above it
constexpr double kLateBottomDb = 10.0;
constexpr double kNoiseBehindDb = 10.0;   // the noise window starts 10 dB behind the crosspoint
constexpr double kBlocksPer10Db = 5.0;
constexpr int kMaxIterations = 5;
// Slower than 60 dB in 10^10 samples is no decay.
constexpr double kFlattestSlopeDb = -6e-9;

double level_db(double mean_square) { return 10.0 * std::log10(std::max(mean_square, kTiny)); }

// Sums of the energy from each index to the end, so that any block's mean
// costs two reads; summed from the end, the small late values keep their
// precision.
class Sums {
 public:
  // Not zeroed first: every element is written below.
  Sums(std::span<const double> energy, std::size_t from)
      : from_(from), end_(energy.size()),
        suffix_(std::make_unique_for_overwrite<double[]>(end_ - from + 1)) {
    double sum = 0.0;
    suffix_[end_ - from] = 0.0;
    for (std::size_t i = end_; i > from; --i) {
      sum += energy[i - 1];
      suffix_[i - 1 - from] = sum;
    }
  }
  std::size_t end() const { return end_; }
  double mean(std::size_t a, std::size_t b) const {  // over [a, b), from <= a < b <= end
    return (suffix_[a - from_] - suffix_[b - from_]) / static_cast<double>(b - a);
  }

 private:
  std::size_t from_;
  std::size_t end_;
  std::unique_ptr<double[]> suffix_;
};

struct Block {
  double centre;  // sample index of the block's middle
  double mean;    // mean square
};

std::vector<Block> blocks(const Sums& sums, std::size_t start, std::size_t width) {
  std::vector<Block> out;
  for (std::size_t a = start; a + width <= sums.end(); a += width) {
    out.push_back({static_cast<double>(a) + 0.5 * static_cast<double>(width - 1),
                   sums.mean(a, a + width)});
  }
  return out;
}

struct Fit {
  bool ok = false;
  DecayLine line;
};

// Least squares of level on index over the points given.
Fit regress(const std::vector<double>& x, const std::vector<double>& y) {
  Fit f;
  const std::size_t n = x.size();
  if (n < 2) return f;
  double mx = 0.0, my = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    mx += x[i];
    my += y[i];
  }
  mx /= static_cast<double>(n);
  my /= static_cast<double>(n);
  double sxx = 0.0, sxy = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    sxx += (x[i] - mx) * (x[i] - mx);
    sxy += (x[i] - mx) * (y[i] - my);
  }
  if (!(sxx > 0.0)) return f;
  f.line.slope_db = sxy / sxx;
  f.line.intercept_db = my - f.line.slope_db * mx;
  f.ok = std::isfinite(f.line.slope_db) && std::isfinite(f.line.intercept_db);
  return f;
}

// The mean over [a, b) of the energy the line gives: a geometric series.
double line_mean(const DecayLine& line, std::size_t a, std::size_t b) {
  const double q = std::pow(10.0, line.slope_db / 10.0);
  const double first = std::pow(10.0, line.at(static_cast<double>(a)) / 10.0);
  return first * (1.0 - std::pow(q, static_cast<double>(b - a))) / (1.0 - q) /
         static_cast<double>(b - a);
}

// A line through the levels of the blocks whose middle lies in [from, to],
// `noise` taken off each (blocks not above it are left out).
Fit fit_blocks(const Sums& sums, std::size_t start, std::size_t width, double from, double to,
               double noise) {
  std::vector<double> x, y;
  for (const Block& b : blocks(sums, start, width)) {
    if (b.centre < from || b.centre > to || !(b.mean > noise)) continue;
    x.push_back(b.centre);
    y.push_back(level_db(b.mean - noise));
  }
  return regress(x, y);
}

std::size_t clamp_index(double x, std::size_t lo, std::size_t hi) {
  if (!(x > static_cast<double>(lo))) return lo;  // also for NaN
  if (x >= static_cast<double>(hi)) return hi;
  return static_cast<std::size_t>(std::llround(x));
}

}  // namespace

NoiseFloor find_noise_floor(std::span<const double> energy, std::size_t onset,
                            double sample_rate_hz, double block_s) {
  NoiseFloor r;
  const std::size_t end = energy.size();
  r.truncation = end;
  if (onset >= end) {
    r.problem = "the response has no samples after its onset";
    return r;
  }
  const std::size_t n = end - onset;
  const Sums sums(energy, onset);
  const std::size_t tenth = std::max<std::size_t>(1, n / 10);
  r.noise = sums.mean(end - tenth, end);
  r.noise_from = end - tenth;
  if (n < 10) {
    r.problem = "the response is too short to find its noise floor";
    return r;
  }

  // The first line, from the loudest block down to 10 dB above the noise of
  // the last tenth.
  const std::size_t first_width = std::clamp<std::size_t>(
      static_cast<std::size_t>(std::llround(block_s * sample_rate_hz)), 1, tenth);
  const std::vector<Block> first = blocks(sums, onset, first_width);
  std::size_t loudest = 0;
  for (std::size_t i = 1; i < first.size(); ++i) {
    if (first[i].mean > first[loudest].mean) loudest = i;
  }
  const double first_limit = level_db(r.noise) + kFirstMarginDb;
  std::vector<double> x, y;
  for (std::size_t i = loudest; i < first.size() && level_db(first[i].mean) >= first_limit; ++i) {
    x.push_back(first[i].centre);
    y.push_back(level_db(first[i].mean));
  }
  if (x.size() < 2) {
    r.problem = "the response does not rise 10 dB above its noise floor";
    return r;
  }
  Fit fit = regress(x, y);
  if (!fit.ok || !(fit.line.slope_db < kFlattestSlopeDb)) {
    r.problem = "the response does not decay";
    return r;
  }
  DecayLine line = fit.line;
  const double late_start = first[loudest].centre;
  double crosspoint = line.index_of(level_db(r.noise));
  std::size_t noise_start = end - tenth;

  // The window of the last late fit, refitted below when there is no floor.
  std::size_t width = first_width;
  double from = late_start;
  double to = crosspoint;
  for (int k = 0; k < kMaxIterations; ++k) {
    r.iterations = k + 1;
    const double samples_per_10db = 10.0 / -line.slope_db;
    width = std::clamp<std::size_t>(
        static_cast<std::size_t>(std::llround(samples_per_10db / kBlocksPer10Db)), 1, tenth);
    noise_start = std::min(clamp_index(crosspoint + kNoiseBehindDb / 10.0 * samples_per_10db,
                                       onset, end),
                           end - tenth);
    // The decay goes on below the noise: its share of the window, as the
    // line has it, is not noise.
    const double window = sums.mean(noise_start, end);
    const double decay_share = line_mean(line, noise_start, end);
    r.noise = decay_share < 0.5 * window ? window - decay_share : window;
    const double noise_db = level_db(r.noise);

    // The late decay: the part of the previous line from 30 to 10 dB above
    // the noise, with the noise taken off each block.
    from = std::max(line.index_of(noise_db + kLateTopDb), late_start);
    to = line.index_of(noise_db + kLateBottomDb);
    fit = fit_blocks(sums, onset, width, from, to, r.noise);
    if (!fit.ok || !(fit.line.slope_db < kFlattestSlopeDb)) break;
    line = fit.line;
    const double next = line.index_of(noise_db);
    const bool settled = std::fabs(next - crosspoint) < static_cast<double>(width);
    crosspoint = next;
    if (settled) break;
  }

  r.decay_found = true;
  r.noise_from = noise_start;
  // A floor is flat: its second half lies less than half as far below its
  // first as the decay would fall over that time.
  const std::size_t half = (end - noise_start) / 2;
  if (half >= 1) {
    const double drop = level_db(sums.mean(noise_start, noise_start + half)) -
                        level_db(sums.mean(noise_start + half, end));
    r.floor_reached = drop < 0.5 * -line.slope_db * static_cast<double>(half);
  }
  if (r.floor_reached) {
    r.truncation = clamp_index(crosspoint, onset + 1, end);
  } else {
    // What looked like noise is the decay itself: nothing to take off.
    r.truncation = end;
    r.noise = sums.mean(end - tenth, end);
    r.noise_from = end - tenth;
    fit = fit_blocks(sums, onset, width, from, to, 0.0);
    if (fit.ok && fit.line.slope_db < kFlattestSlopeDb) line = fit.line;
  }
  r.late_decay = line;
  return r;
}

}  // namespace analysis
