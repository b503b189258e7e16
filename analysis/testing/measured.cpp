#include "analysis/testing/measured.h"

#include <algorithm>
#include <cmath>

#include "analysis/dsp/biquad.h"
#include "analysis/dsp/octave_bands.h"
#include "analysis/testing/synthetic.h"

namespace analysis::testing {
namespace {

// Per octave band from 31.5 Hz: longer at low frequencies, as in a room
// with absorbing walls and a little air absorption.
constexpr double kBandT60[kOctaveBandCount] = {1.05, 0.95, 0.85, 0.75, 0.7,
                                               0.62, 0.52, 0.42, 0.32, 0.25};
struct Reflection {
  double delay_s;
  double gain;
};
constexpr Reflection kReflections[] = {
    {0.0031, 0.55}, {0.0074, -0.42}, {0.0119, 0.33}, {0.0173, 0.28}, {0.0238, -0.22}};
constexpr double kTailStartS = 0.004;
constexpr double kTailGain = 0.1;  // RMS at its start re the direct sound

std::size_t samples(double rate, double s) {
  return static_cast<std::size_t>(std::llround(rate * s));
}

double rms_gain(double below_db) { return std::pow(10.0, -below_db / 20.0); }

}  // namespace

std::vector<float> measured_like(const MeasuredLike& m) {
  const double rate = m.rate_hz;
  const std::size_t lead = samples(rate, m.lead_s);
  std::vector<double> h(lead + samples(rate, m.length_s), 0.0);
  h[lead] = 1.0;
  for (const Reflection& r : kReflections) h[lead + samples(rate, r.delay_s)] += r.gain;

  // The tail: in each band decaying noise through the band's filter.
  Gaussian g(m.seed);
  const std::size_t tail = lead + samples(rate, kTailStartS);
  for (const OctaveBand& b : bands_for_rate(rate)) {
    const std::optional<Cascade> filter = octave_filter(b, rate);
    if (!filter) continue;
    std::vector<double> band(h.size() - tail);
    const double a = decay_constant(kBandT60[b.index]);
    for (std::size_t n = 0; n < band.size(); ++n) {
      band[n] = kTailGain * g.next() * std::exp(-0.5 * a * static_cast<double>(n) / rate);
    }
    filter_forward(*filter, band);
    for (std::size_t n = 0; n < band.size(); ++n) h[tail + n] += band[n];
  }

  double peak = 0.0;
  for (double x : h) peak = std::max(peak, std::fabs(x));
  if (m.noise_below_peak_db != kNone) {
    const double sigma = peak * rms_gain(m.noise_below_peak_db);
    for (double& x : h) x += sigma * g.next();
  }
  if (m.hf_noise_below_peak_db != kNone) {
    const std::optional<Cascade> high =
        butterworth_band_pass_hz(4, m.hf_noise_from_hz, 0.45 * rate, rate);
    std::vector<double> noise(h.size());
    for (double& x : noise) x = g.next();
    filter_forward(*high, noise);
    double power = 0.0;
    for (double x : noise) power += x * x;
    const double scale =
        peak * rms_gain(m.hf_noise_below_peak_db) /
        std::sqrt(power / static_cast<double>(h.size()));
    for (std::size_t n = 0; n < h.size(); ++n) h[n] += scale * noise[n];
  }
  if (m.dc_below_peak_db != kNone) {
    const double dc = peak * rms_gain(m.dc_below_peak_db);
    for (double& x : h) x += dc;
  }
  peak = 0.0;
  for (double x : h) peak = std::max(peak, std::fabs(x));
  std::vector<float> out(h.size());
  for (std::size_t n = 0; n < h.size(); ++n) out[n] = static_cast<float>(0.9 * h[n] / peak);
  return out;
}

}  // namespace analysis::testing
