#include "analysis/dsp/biquad.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace analysis {
namespace {

using Complex = std::complex<double>;

// z^-1 at the normalised frequency f.
Complex unit_delay(double f) { return std::polar(1.0, -2.0 * std::numbers::pi * f); }

// A section with the poles za, zb (a conjugate pair or two real poles), a
// zero at z = 1 and one at z = -1, scaled to unit gain at f0.
Biquad band_pass_section(Complex za, Complex zb, double f0) {
  Biquad s;
  s.b0 = 1.0;
  s.b1 = 0.0;
  s.b2 = -1.0;
  s.a1 = -(za + zb).real();
  s.a2 = (za * zb).real();
  const double gain = std::abs(s.response(f0));
  s.b0 /= gain;
  s.b2 /= gain;
  return s;
}

}  // namespace

Complex Biquad::response(double f) const {
  const Complex d = unit_delay(f);
  return (b0 + d * (b1 + d * b2)) / (1.0 + d * (a1 + d * a2));
}

Complex cascade_response(const Cascade& cascade, double f) {
  Complex h = 1.0;
  for (const Biquad& s : cascade) h *= s.response(f);
  return h;
}

std::optional<Cascade> butterworth_band_pass(int order, double f1, double f2) {
  if (order < 1 || order > 8 || !(f1 > 0.0) || !(f2 < 0.5) || !(f1 < f2)) {
    return std::nullopt;
  }
  // Analog edges for the bilinear map s = (1 - z^-1) / (1 + z^-1).
  const double w1 = std::tan(std::numbers::pi * f1);
  const double w2 = std::tan(std::numbers::pi * f2);
  const double bandwidth = w2 - w1;
  const double centre_squared = w1 * w2;

  // Each pole p of the low-pass prototype gives the two band-pass poles
  // that solve s^2 - p B s + w0^2 = 0.
  std::vector<Complex> upper;  // poles with a positive imaginary part
  std::vector<double> real;    // real poles, which pair among themselves
  for (int k = 1; k <= order; ++k) {
    const Complex p = std::polar(1.0, std::numbers::pi * (2.0 * k + order - 1) / (2.0 * order));
    const Complex pb = p * bandwidth;
    const Complex root = std::sqrt(pb * pb - 4.0 * centre_squared);
    for (const Complex s : {(pb + root) / 2.0, (pb - root) / 2.0}) {
      const Complex z = (1.0 + s) / (1.0 - s);
      // Poles lie inside the unit circle, so an absolute bound tells the
      // real ones (rounding leaves them a tiny imaginary part) from pairs.
      if (std::abs(z.imag()) < 1e-9) {
        real.push_back(z.real());
      } else if (z.imag() > 0.0) {
        upper.push_back(z);
      }
    }
  }
  const double f0 = std::sqrt(f1 * f2);
  Cascade cascade;
  for (const Complex z : upper) cascade.push_back(band_pass_section(z, std::conj(z), f0));
  std::sort(real.begin(), real.end());
  for (std::size_t i = 0; i + 1 < real.size(); i += 2) {
    cascade.push_back(band_pass_section(real[i], real[i + 1], f0));
  }
  if (cascade.size() != static_cast<std::size_t>(order)) return std::nullopt;
  return cascade;
}

std::optional<Cascade> butterworth_band_pass_hz(int order, double f1_hz, double f2_hz,
                                                double sample_rate_hz) {
  if (!(sample_rate_hz > 0.0)) return std::nullopt;
  return butterworth_band_pass(order, f1_hz / sample_rate_hz, f2_hz / sample_rate_hz);
}

namespace {

// One section over the samples in the order the iterators give them.
template <typename It>
void run_section(const Biquad& s, It first, It last) {
  double s1 = 0.0;
  double s2 = 0.0;
  for (It it = first; it != last; ++it) {
    const double x = *it;
    const double y = s.b0 * x + s1;
    s1 = s.b1 * x - s.a1 * y + s2;
    s2 = s.b2 * x - s.a2 * y;
    *it = y;
  }
}

}  // namespace

void filter_forward(const Cascade& cascade, std::span<double> x) {
  for (const Biquad& s : cascade) run_section(s, x.begin(), x.end());
}

void filter_reversed(const Cascade& cascade, std::span<double> x) {
  for (const Biquad& s : cascade) run_section(s, x.rbegin(), x.rend());
}

}  // namespace analysis
