#include "analysis/dsp/spectrum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "analysis/dsp/fft.h"

namespace analysis {
namespace {

// The FFT's spectrum against a direct DFT in double precision, at every
// bin, for lengths the library factors differently (and an odd one, which
// is padded).
TEST(MagnitudeSpectrum, MatchesADirectTransform) {
  for (std::size_t n : {2u, 30u, 97u, 256u, 1000u}) {
    std::vector<float> x(n);
    for (std::size_t t = 0; t < n; ++t) {
      x[t] = static_cast<float>(std::exp(-0.01 * static_cast<double>(t)) *
                                std::sin(0.3 * static_cast<double>(t * t % 101)));
    }
    const Spectrum s = magnitude_spectrum(x, 48000);
    const std::size_t size = fast_fft_size(n);
    ASSERT_EQ(s.level_db.size(), size / 2 + 1);
    EXPECT_DOUBLE_EQ(s.bin_hz, 48000.0 / static_cast<double>(size));
    for (std::size_t k = 0; k < s.level_db.size(); ++k) {
      std::complex<double> sum = 0.0;
      for (std::size_t t = 0; t < n; ++t) {
        sum += static_cast<double>(x[t]) *
               std::polar(1.0, -2.0 * std::numbers::pi * static_cast<double>(k * t) /
                                   static_cast<double>(size));
      }
      const double want = 20.0 * std::log10(std::abs(sum));
      EXPECT_NEAR(s.level_db[k], want, 1e-3 + 1e-4 * std::fabs(want)) << "n " << n << ", bin " << k;
    }
  }
}

TEST(MagnitudeSpectrum, UnitImpulseIsZeroDecibelsEverywhere) {
  std::vector<float> impulse(500, 0.0f);
  impulse[0] = 1.0f;
  for (float level : magnitude_spectrum(impulse, 44100).level_db) EXPECT_NEAR(level, 0.0f, 1e-5);
  EXPECT_TRUE(magnitude_spectrum({}, 44100).level_db.empty());
}

// Each bin at f becomes the mean power of the bins from f 2^(-1/2b) to
// f 2^(1/2b): a single line of power P at bin k0 shows at bin k0 as P over
// the number of bins in k0's window; a flat spectrum stays flat; a step of
// 120 dB keeps both sides exact once the window no longer reaches it.
TEST(SmoothSpectrum, AveragesPowerOverAFractionOfAnOctave) {
  struct Case {
    Smoothing smoothing;
    double b;
  };
  for (const Case c : {Case{Smoothing::kOctave, 1}, Case{Smoothing::kThirdOctave, 3},
                       Case{Smoothing::kSixthOctave, 6}}) {
    Spectrum line{10.0, std::vector<float>(4097, -200.0f)};
    const std::size_t k0 = 1000;
    line.level_db[k0] = 20.0f;
    const Spectrum smoothed = smooth_spectrum(line, c.smoothing);
    const double r = std::pow(2.0, 1.0 / (2.0 * c.b));
    const double width = std::floor(k0 * r + 1e-9) - std::ceil(k0 / r - 1e-9) + 1;
    EXPECT_NEAR(smoothed.level_db[k0], 20.0 - 10.0 * std::log10(width), 1e-3) << c.b;
    EXPECT_EQ(smoothed.level_db[0], -200.0f);
    EXPECT_EQ(smoothed.bin_hz, 10.0);

    Spectrum step{10.0, std::vector<float>(4097, 0.0f)};
    for (std::size_t k = 2048; k < step.level_db.size(); ++k) step.level_db[k] = -120.0f;
    const Spectrum flat = smooth_spectrum(step, c.smoothing);
    for (std::size_t k = 1; k < 1024; ++k) ASSERT_NEAR(flat.level_db[k], 0.0f, 1e-4) << k;
    for (std::size_t k = 3500; k < step.level_db.size(); ++k) {
      ASSERT_NEAR(flat.level_db[k], -120.0f, 1e-3) << c.b << ", bin " << k;
    }
  }
  const Spectrum some{1.0, {1.0f, 2.0f, -3.0f}};
  EXPECT_EQ(smooth_spectrum(some, Smoothing::kNone).level_db, some.level_db);
}

}  // namespace
}  // namespace analysis
