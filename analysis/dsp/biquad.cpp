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

// The band-pass form b = g (1, 0, -1) of every section, all sections in one
// pass with their state in registers: the filters' hot loop, about half the
// instructions of running the sections one after the other.
bool band_pass_form(const Cascade& cascade) {
  return std::all_of(cascade.begin(), cascade.end(),
                     [](const Biquad& s) { return s.b1 == 0.0 && s.b2 == -s.b0; });
}

template <std::size_t N, typename It>
void run_band_pass(const Cascade& cascade, It first, It last) {
  double g[N], a1[N], a2[N], s1[N] = {}, s2[N] = {};
  for (std::size_t k = 0; k < N; ++k) {
    g[k] = cascade[k].b0;
    a1[k] = cascade[k].a1;
    a2[k] = cascade[k].a2;
  }
  for (It it = first; it != last; ++it) {
    double x = *it;
    // Unrolled, so that the state stays in registers.
#pragma GCC unroll 8
    for (std::size_t k = 0; k < N; ++k) {
      const double y = g[k] * x + s1[k];
      s1[k] = s2[k] - a1[k] * y;
      s2[k] = -g[k] * x - a2[k] * y;
      x = y;
    }
    *it = x;
  }
}

template <typename It>
void run_cascade(const Cascade& cascade, It first, It last) {
  if (band_pass_form(cascade)) {
    switch (cascade.size()) {
      case 3: return run_band_pass<3>(cascade, first, last);
      case 4: return run_band_pass<4>(cascade, first, last);
      case 6: return run_band_pass<6>(cascade, first, last);
      default: break;
    }
  }
  for (const Biquad& s : cascade) run_section(s, first, last);
}

// Two lanes of doubles (SSE2 on x86-64, whatever the target has elsewhere).
typedef double Lanes __attribute__((vector_size(16)));

template <std::size_t N, bool kReversed = true>
void run_band_pass_pair(const Cascade& a, const Cascade& b, std::span<const double> x,
                        std::span<double> ya, std::span<double> yb) {
  Lanes g[N], a1[N], a2[N], s1[N], s2[N];
  for (std::size_t k = 0; k < N; ++k) {
    g[k] = Lanes{a[k].b0, b[k].b0};
    a1[k] = Lanes{a[k].a1, b[k].a1};
    a2[k] = Lanes{a[k].a2, b[k].a2};
    s1[k] = Lanes{0.0, 0.0};
    s2[k] = Lanes{0.0, 0.0};
  }
  for (std::size_t step = x.size(); step > 0; --step) {
    const std::size_t i = kReversed ? step : x.size() - step + 1;  // one past the sample
    Lanes v = Lanes{x[i - 1], x[i - 1]};
#pragma GCC unroll 8
    for (std::size_t k = 0; k < N; ++k) {
      const Lanes y = g[k] * v + s1[k];
      s1[k] = s2[k] - a1[k] * y;
      s2[k] = -g[k] * v - a2[k] * y;
      v = y;
    }
    ya[i - 1] = v[0];
    yb[i - 1] = v[1];
  }
}

}  // namespace

void filter_reversed_pair(const Cascade& a, const Cascade& b, std::span<const double> x,
                          std::span<double> ya, std::span<double> yb) {
  if (a.size() == b.size() && band_pass_form(a) && band_pass_form(b)) {
    switch (a.size()) {
      case 3: return run_band_pass_pair<3>(a, b, x, ya, yb);
      case 4: return run_band_pass_pair<4>(a, b, x, ya, yb);
      default: break;
    }
  }
  std::copy(x.begin(), x.end(), ya.begin());
  std::copy(x.begin(), x.end(), yb.begin());
  filter_reversed(a, ya);
  filter_reversed(b, yb);
}

std::size_t ringing_length(const Cascade& cascade, double decay_db) {
  double slowest = 0.0;  // the largest pole radius
  for (const Biquad& s : cascade) {
    const double discriminant = s.a1 * s.a1 - 4.0 * s.a2;
    const double radius =
        discriminant < 0.0 ? std::sqrt(s.a2) : 0.5 * (std::fabs(s.a1) + std::sqrt(discriminant));
    slowest = std::max(slowest, radius);
  }
  if (!(slowest < 1.0)) return 0;
  if (slowest == 0.0) return 2 * cascade.size() + 1;
  const double per_sample_db = -20.0 * std::log10(slowest);
  return static_cast<std::size_t>(std::ceil(1.1 * decay_db / per_sample_db)) + 2 * cascade.size();
}

void filter_forward(const Cascade& cascade, std::span<double> x) {
  run_cascade(cascade, x.begin(), x.end());
}

void filter_reversed(const Cascade& cascade, std::span<double> x) {
  run_cascade(cascade, x.rbegin(), x.rend());
}

void filter_forward_pair(const Cascade& a, const Cascade& b, std::span<const double> x,
                         std::span<double> ya, std::span<double> yb) {
  if (a.size() == b.size() && band_pass_form(a) && band_pass_form(b)) {
    switch (a.size()) {
      case 3: return run_band_pass_pair<3, false>(a, b, x, ya, yb);
      case 4: return run_band_pass_pair<4, false>(a, b, x, ya, yb);
      default: break;
    }
  }
  std::copy(x.begin(), x.end(), ya.begin());
  std::copy(x.begin(), x.end(), yb.begin());
  filter_forward(a, ya);
  filter_forward(b, yb);
}

}  // namespace analysis
