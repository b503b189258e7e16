#include "analysis/testing/synthetic.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "formats/tim_file.h"

namespace analysis::testing {

double decay_constant(double t60_s) { return kSixLn10 / t60_s; }

double ideal_clarity_db(double t60_s, double tau_s) {
  return 10.0 * std::log10(std::exp(decay_constant(t60_s) * tau_s) - 1.0);
}

double ideal_definition(double t60_s, double tau_s) {
  return 1.0 - std::exp(-decay_constant(t60_s) * tau_s);
}

double ideal_centre_time_ms(double t60_s) { return 1000.0 / decay_constant(t60_s); }

double Gaussian::uniform() {
  state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
  return (static_cast<double>(state_ >> 11) + 0.5) / 9007199254740992.0;  // 2^53
}

double Gaussian::next() {
  if (has_spare_) {
    has_spare_ = false;
    return spare_;
  }
  const double r = std::sqrt(-2.0 * std::log(uniform()));
  const double phi = 2.0 * std::numbers::pi * uniform();
  spare_ = r * std::sin(phi);
  has_spare_ = true;
  return r * std::cos(phi);
}

namespace {

std::size_t count(double rate_hz, double seconds) {
  return static_cast<std::size_t>(std::llround(seconds * rate_hz));
}

}  // namespace

std::vector<float> decaying_tones(double rate_hz, double length_s, double delay_s,
                                  const std::vector<Tone>& tones) {
  std::vector<float> out(count(rate_hz, length_s), 0.0f);
  const std::size_t start = count(rate_hz, delay_s);
  for (std::size_t n = start; n < out.size(); ++n) {
    const double t = static_cast<double>(n - start) / rate_hz;
    double sum = 0.0;
    for (const Tone& tone : tones) {
      sum += tone.amplitude * std::sin(2.0 * std::numbers::pi * tone.frequency_hz * t) *
             std::exp(-0.5 * decay_constant(tone.t60_s) * t);
    }
    out[n] = static_cast<float>(sum);
  }
  return out;
}

std::vector<float> decaying_noise(double rate_hz, double length_s, double delay_s,
                                  double t60_s, std::uint64_t seed) {
  std::vector<float> out(count(rate_hz, length_s), 0.0f);
  Gaussian g(seed);
  const std::size_t start = count(rate_hz, delay_s);
  for (std::size_t n = start; n < out.size(); ++n) {
    const double t = static_cast<double>(n - start) / rate_hz;
    const double sign = g.next() < 0.0 ? -1.0 : 1.0;
    out[n] = static_cast<float>(sign * std::exp(-0.5 * decay_constant(t60_s) * t));
  }
  return out;
}

double add_noise_floor(std::vector<float>& response, double below_peak_db, std::uint64_t seed) {
  float peak = 0.0f;
  for (float x : response) peak = std::max(peak, std::fabs(x));
  const double sigma = peak * std::pow(10.0, -below_peak_db / 20.0);
  Gaussian g(seed);
  for (float& x : response) x = static_cast<float>(x + sigma * g.next());
  return sigma * sigma;
}

std::vector<std::uint8_t> tim_bytes(const std::vector<float>& samples, float interval_ms,
                                    std::int32_t point_count, bool trailer) {
  std::vector<std::uint8_t> b;
  const auto head = formats::encode_tim_head({1, interval_ms, point_count});
  b.insert(b.end(), head.begin(), head.end());
  std::vector<std::uint8_t> body(4 * samples.size());
  formats::encode_tim_samples(samples, body);
  b.insert(b.end(), body.begin(), body.end());
  if (trailer) {
    formats::TimTrailerFields f;
    const double rate = 1000.0 / interval_ms;  // what irgen wrote, for a usable interval
    f.sampling_rate_hz =
        rate > 0.0 && rate < 1e9 ? static_cast<std::int32_t>(std::lround(rate)) : 0;
    f.point_count = point_count;
    f.acquisition_mode = 1;
    f.timestamp = " 8/12/2026 16: 5: 0";
    f.source_name = "take1.wav";
    f.level_factor = 0.125f;
    const auto t = formats::encode_tim_trailer(f);
    b.insert(b.end(), t.begin(), t.end());
  }
  return b;
}

std::vector<std::uint8_t> tim_file_bytes(const std::vector<float>& samples, int rate_hz,
                                         std::int32_t point_count) {
  std::vector<float> padded = samples;
  if (padded.size() < static_cast<std::size_t>(point_count)) {
    padded.resize(static_cast<std::size_t>(point_count), 0.0f);
  }
  return tim_bytes(padded, 1000.0f / static_cast<float>(rate_hz),
                   static_cast<std::int32_t>(padded.size()), true);
}

}  // namespace analysis::testing
