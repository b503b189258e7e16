// For the tests of listen/ and irconv/: signals, plain references and
// measures, written for clarity rather than speed.
#ifndef LISTEN_TEST_SIGNALS_H_
#define LISTEN_TEST_SIGNALS_H_

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "listen/convolution/channels.h"
#include "listen/convolution/fft.h"

namespace listen::test {

// Uniform noise in -amplitude .. amplitude, the same for a seed.
inline std::vector<float> noise(std::size_t n, std::uint32_t seed, double amplitude = 0.5) {
  std::mt19937 g(seed);
  std::uniform_real_distribution<double> u(-amplitude, amplitude);
  std::vector<float> v(n);
  for (float& x : v) x = static_cast<float>(u(g));
  return v;
}

// Noise decaying by 60 dB over `t60` seconds: a room response's shape.
inline std::vector<float> decaying(std::size_t n, double rate, double t60, std::uint32_t seed) {
  std::vector<float> v = noise(n, seed, 1.0);
  for (std::size_t i = 0; i < n; ++i) {
    v[i] = static_cast<float>(v[i] * std::pow(10.0, -3.0 * static_cast<double>(i) / rate / t60));
  }
  return v;
}

// Interleaved frames of planar channels.
inline std::vector<float> interleave(const std::vector<std::vector<float>>& channels) {
  std::vector<float> out(channels[0].size() * channels.size());
  for (std::size_t c = 0; c < channels.size(); ++c) {
    for (std::size_t i = 0; i < channels[c].size(); ++i)
      out[i * channels.size() + c] = channels[c][i];
  }
  return out;
}

// The direct double-precision convolution, output channel by route.
inline std::vector<std::vector<double>> direct_convolution(
    const std::vector<std::vector<float>>& dry, const std::vector<std::vector<float>>& response,
    const std::vector<Route>& routes) {
  std::vector<std::vector<double>> out;
  for (const Route& r : routes) {
    const auto& x = dry[r.dry];
    const auto& h = response[r.response];
    std::vector<double> y(x.size() + h.size() - 1, 0.0);
    for (std::size_t i = 0; i < x.size(); ++i) {
      for (std::size_t k = 0; k < h.size(); ++k) y[i + k] += double{x[i]} * double{h[k]};
    }
    out.push_back(std::move(y));
  }
  return out;
}

// The convolution through one double FFT of the whole length, for cases too
// long for the direct sum.
inline std::vector<double> fft_convolution(const std::vector<float>& x,
                                           const std::vector<float>& h) {
  const std::size_t length = x.size() + h.size() - 1;
  std::size_t n = 2;
  while (n < length) n *= 2;
  RealFft fft(n);
  std::fill(fft.time(), fft.time() + n, 0.0);
  std::copy(x.begin(), x.end(), fft.time());
  fft.forward();
  std::vector<std::complex<double>> a(fft.spectrum(), fft.spectrum() + fft.bin_count());
  std::fill(fft.time(), fft.time() + n, 0.0);
  std::copy(h.begin(), h.end(), fft.time());
  fft.forward();
  for (std::size_t k = 0; k < fft.bin_count(); ++k) fft.spectrum()[k] *= a[k] / double(n);
  fft.inverse();
  return std::vector<double>(fft.time(), fft.time() + length);
}

// The largest difference between interleaved output frames and a reference
// (planar), in dB re the reference's peak; +inf when the lengths differ.
inline double error_db(const std::vector<float>& got,
                       const std::vector<std::vector<double>>& want) {
  const std::size_t channels = want.size();
  if (got.size() != want[0].size() * channels) return INFINITY;
  double peak = 0.0, worst = 0.0;
  for (std::size_t c = 0; c < channels; ++c) {
    for (std::size_t i = 0; i < want[c].size(); ++i) {
      peak = std::max(peak, std::fabs(want[c][i]));
      worst = std::max(worst, std::fabs(got[i * channels + c] - want[c][i]));
    }
  }
  return 20.0 * std::log10(std::max(worst, 1e-300) / peak);
}

// The energy of a signal between two frequencies, from one FFT of it.
inline double band_energy(const std::vector<float>& x, double rate, double low, double high) {
  std::size_t n = 2;
  while (n < x.size()) n *= 2;
  RealFft fft(n);
  std::fill(fft.time(), fft.time() + n, 0.0);
  std::copy(x.begin(), x.end(), fft.time());
  fft.forward();
  double e = 0.0;
  for (std::size_t k = 0; k < fft.bin_count(); ++k) {
    const double f = double(k) * rate / double(n);
    if (f >= low && f < high) e += std::norm(fft.spectrum()[k]);
  }
  return e;
}

}  // namespace listen::test

#endif  // LISTEN_TEST_SIGNALS_H_
