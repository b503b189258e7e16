#include "analysis/dsp/biquad.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace analysis {
namespace {

// The analog Butterworth band-pass of prototype order N behind the bilinear
// map, in closed form: with W = tan(pi f) and the pre-warped edges w1, w2,
//   |H(f)|^2 = 1 / (1 + ((W^2 - w1 w2) / ((w2 - w1) W))^(2N)),
// 1 at W = sqrt(w1 w2), 1/2 at the edges. The design is scaled to unit
// gain at sqrt(f1 f2) instead, so it is this over its value there.
double analog_gain(int order, double f1, double f2, double f) {
  const double w = std::tan(std::numbers::pi * f);
  const double w1 = std::tan(std::numbers::pi * f1);
  const double w2 = std::tan(std::numbers::pi * f2);
  const double x = (w * w - w1 * w2) / ((w2 - w1) * w);
  return 1.0 / std::sqrt(1.0 + std::pow(x, 2.0 * order));
}
double closed_form_gain(int order, double f1, double f2, double f) {
  return analog_gain(order, f1, f2, f) / analog_gain(order, f1, f2, std::sqrt(f1 * f2));
}

TEST(ButterworthBandPass, MatchesTheClosedFormAcrossBandsAndOrders) {
  struct Case {
    int order;
    double f1, f2;
  };
  // Narrow and low, an octave mid-way, and wide up to near Nyquist (where
  // two of the poles come out real).
  const Case cases[] = {{3, 22.4 / 44100, 44.7 / 44100},
                        {3, 0.1, 0.2},
                        {3, 11220.0 / 48000, 22390.0 / 48000},
                        {1, 0.05, 0.3},
                        {4, 0.01, 0.011},
                        {8, 0.2, 0.45}};
  for (const Case& c : cases) {
    const auto cascade = butterworth_band_pass(c.order, c.f1, c.f2);
    ASSERT_TRUE(cascade.has_value()) << c.f1 << ".." << c.f2;
    EXPECT_EQ(cascade->size(), static_cast<std::size_t>(c.order));
    for (double f = 0.0005; f < 0.5; f *= 1.07) {
      const double want = closed_form_gain(c.order, c.f1, c.f2, f);
      const double got = std::abs(cascade_response(*cascade, f));
      EXPECT_NEAR(got, want, 1e-9 + 1e-7 * want)
          << "order " << c.order << ", band " << c.f1 << ".." << c.f2 << ", f " << f;
    }
    EXPECT_NEAR(std::abs(cascade_response(*cascade, std::sqrt(c.f1 * c.f2))), 1.0, 1e-12);
    // The edges 3 dB below the top of the pass band.
    const double peak = 1.0 / analog_gain(c.order, c.f1, c.f2, std::sqrt(c.f1 * c.f2));
    EXPECT_NEAR(std::abs(cascade_response(*cascade, c.f1)), std::sqrt(0.5) * peak, 1e-9);
    EXPECT_NEAR(std::abs(cascade_response(*cascade, c.f2)), std::sqrt(0.5) * peak, 1e-9);
  }
}

TEST(ButterworthBandPass, RefusesEdgesOutsideZeroToNyquistAndBadOrders) {
  EXPECT_FALSE(butterworth_band_pass(3, 0.1, 0.5));
  EXPECT_FALSE(butterworth_band_pass(3, 0.1, 0.6));
  EXPECT_FALSE(butterworth_band_pass(3, 0.0, 0.2));
  EXPECT_FALSE(butterworth_band_pass(3, -0.1, 0.2));
  EXPECT_FALSE(butterworth_band_pass(3, 0.2, 0.2));
  EXPECT_FALSE(butterworth_band_pass(3, 0.3, 0.2));
  EXPECT_FALSE(butterworth_band_pass(3, std::nan(""), 0.2));
  EXPECT_FALSE(butterworth_band_pass(0, 0.1, 0.2));
  EXPECT_FALSE(butterworth_band_pass(9, 0.1, 0.2));
  EXPECT_FALSE(butterworth_band_pass_hz(3, 16000, 24000, 48000));
  EXPECT_FALSE(butterworth_band_pass_hz(3, 100, 200, 0));
  EXPECT_TRUE(butterworth_band_pass_hz(3, 16000, 23999, 48000));
}

// The filtering agrees with the response it reports: the DFT of the
// filtered impulse (a slow direct sum) equals the cascade's response, in
// both directions (the reversed run is the forward run mirrored in time,
// so its transform is the same times a delay).
TEST(BiquadFiltering, ImpulseResponseTransformsToTheReportedResponse) {
  const auto cascade = butterworth_band_pass(3, 0.02, 0.04);
  ASSERT_TRUE(cascade);
  const std::size_t n = 4096;
  std::vector<double> forward(n, 0.0);
  forward[0] = 1.0;
  filter_forward(*cascade, forward);
  std::vector<double> reversed(n, 0.0);
  reversed[n - 1] = 1.0;
  filter_reversed(*cascade, reversed);
  for (double f : {0.005, 0.02, 0.028, 0.04, 0.1, 0.3}) {
    std::complex<double> dft_forward = 0.0;
    std::complex<double> dft_reversed = 0.0;
    for (std::size_t t = 0; t < n; ++t) {
      const double phase = -2.0 * std::numbers::pi * f * static_cast<double>(t);
      dft_forward += forward[t] * std::polar(1.0, phase);
      dft_reversed += reversed[n - 1 - t] * std::polar(1.0, phase);
    }
    const std::complex<double> want = cascade_response(*cascade, f);
    EXPECT_NEAR(std::abs(dft_forward - want), 0.0, 1e-9) << "f " << f;
    EXPECT_NEAR(std::abs(dft_reversed - want), 0.0, 1e-9) << "f " << f;
  }
}

// The paired run is the two single runs, bit for bit: for cascades of the
// band-pass form with equal section counts (side by side in vector lanes)
// and for any others (one after the other).
TEST(BiquadFiltering, PairedRunEqualsTwoSingleRuns) {
  std::vector<double> x(5000);
  for (std::size_t i = 0; i < x.size(); ++i) {
    x[i] = std::sin(0.37 * static_cast<double>(i)) * std::exp(-0.001 * static_cast<double>(i));
  }
  Cascade general = *butterworth_band_pass(2, 0.1, 0.2);
  general[0].b1 = 0.25;
  const Cascade pairs[][2] = {
      {*butterworth_band_pass(3, 0.01, 0.02), *butterworth_band_pass(3, 0.02, 0.04)},
      {*butterworth_band_pass(4, 0.1, 0.2), *butterworth_band_pass(4, 0.2, 0.4)},
      {*butterworth_band_pass(3, 0.1, 0.2), *butterworth_band_pass(4, 0.2, 0.4)},
      {general, *butterworth_band_pass(2, 0.01, 0.02)},
  };
  for (const auto& pair : pairs) {
    std::vector<double> a = x, b = x, ya(x.size()), yb(x.size());
    filter_reversed(pair[0], a);
    filter_reversed(pair[1], b);
    filter_reversed_pair(pair[0], pair[1], x, ya, yb);
    EXPECT_EQ(ya, a) << pair[0].size() << " and " << pair[1].size() << " sections";
    EXPECT_EQ(yb, b) << pair[0].size() << " and " << pair[1].size() << " sections";
  }
}

}  // namespace
}  // namespace analysis
