#include "listen/response/equaliser.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

#include "listen/convolution/fft.h"

namespace listen {

double band_centre_hz(int band) { return 1000.0 * std::exp2(band - 5); }

double equaliser_db(double frequency_hz, const BandGains& gains) {
  if (!(frequency_hz > band_centre_hz(0))) return gains[0];
  const double x = std::log2(frequency_hz / band_centre_hz(0));  // octaves above band 0
  if (x >= kEqualiserBands - 1) return gains[kEqualiserBands - 1];
  const int b = static_cast<int>(std::floor(x));
  const double t = x - b;
  return gains[b] + (gains[b + 1] - gains[b]) * t;
}

std::size_t equaliser_half_length(double sample_rate_hz) {
  return std::bit_ceil(static_cast<std::size_t>(std::ceil(0.17 * sample_rate_hz)));
}

std::vector<double> equaliser_taps(double sample_rate_hz, const BandGains& gains) {
  const std::size_t k = equaliser_half_length(sample_rate_hz);
  // The curve sampled on four times the filter's span: its kernel has
  // decayed long before it would wrap around.
  RealFft fft(8 * k);
  const std::size_t n = fft.size();
  for (std::size_t i = 0; i < fft.bin_count(); ++i) {
    const double f = static_cast<double>(i) * sample_rate_hz / static_cast<double>(n);
    fft.spectrum()[i] = std::pow(10.0, equaliser_db(f, gains) / 20.0) / static_cast<double>(n);
  }
  fft.inverse();
  std::vector<double> taps(2 * k + 1);
  for (std::size_t j = 0; j <= 2 * k; ++j) {
    const double offset = static_cast<double>(j) - static_cast<double>(k);
    const double window =
        0.5 * (1.0 + std::cos(std::numbers::pi * offset / static_cast<double>(k + 1)));
    taps[j] = fft.time()[(j + n - k) % n] * window;
  }
  return taps;
}

std::vector<float> equalise(std::span<const float> response, double sample_rate_hz,
                            const BandGains& gains) {
  const std::vector<double> taps = equaliser_taps(sample_rate_hz, gains);
  const std::size_t length = response.size() + taps.size() - 1;
  RealFft fft(std::bit_ceil(length));
  const std::size_t n = fft.size();
  double* t = fft.time();
  std::fill(t, t + n, 0.0);
  std::copy(taps.begin(), taps.end(), t);
  fft.forward();
  std::vector<std::complex<double>> kernel(fft.spectrum(), fft.spectrum() + fft.bin_count());
  std::fill(t, t + n, 0.0);
  std::copy(response.begin(), response.end(), t);
  fft.forward();
  const double scale = 1.0 / static_cast<double>(n);
  for (std::size_t i = 0; i < fft.bin_count(); ++i) fft.spectrum()[i] *= kernel[i] * scale;
  fft.inverse();
  // The taps start at time -K, so point j of the convolution is at j - K.
  return std::vector<float>(t, t + length);
}

}  // namespace listen
