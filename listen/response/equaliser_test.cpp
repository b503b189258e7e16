#include "listen/response/equaliser.h"

#include <gtest/gtest.h>

#include <cmath>

#include "listen/convolution/auralise.h"
#include "listen/test_signals.h"

namespace listen {
namespace {

constexpr double kRate = 44100.0;

TEST(EqualiserCurve, StraightLinesInDbBetweenOctaveCentresHeldBeyondTheEnds) {
  BandGains g = {0, 6, -6, 0, 0, 12, 0, 0, 3, -3};
  const struct {
    double f, db;
  } cases[] = {
      {0.0, 0.0},
      {20.0, 0.0},
      {31.25, 0.0},
      {62.5, 6.0},
      {62.5 * std::sqrt(2.0), 0.0},  // halfway to -6 dB, in octaves
      {1000.0, 12.0},
      {1000.0 * std::sqrt(2.0), 6.0},
      {1000.0 / std::pow(2.0, 0.25), 9.0},
      {8000.0, 3.0},
      {16000.0, -3.0},
      {20000.0, -3.0},
  };
  for (const auto& c : cases) EXPECT_NEAR(equaliser_db(c.f, g), c.db, 1e-9) << c.f << " Hz";
}

// The output of a white-noise dry through a response of one impulse, with
// and without the equaliser, band by band.
struct Outputs {
  std::vector<float> plain, equalised;
};

Outputs outputs(const BandGains& gains) {
  const std::vector<float> dry = test::noise(4 * 44100, 5);
  std::vector<float> impulse(2000, 0.0f);
  impulse[300] = 0.8f;
  impulse[1500] = -0.3f;
  Outputs o;
  for (bool eq : {false, true}) {
    Response r;
    r.sample_rate_hz = kRate;
    r.channels = {eq ? equalise(impulse, kRate, gains) : impulse};
    if (eq) r.lead = r.trail = equaliser_half_length(kRate);
    MemoryFrames source(1, kRate, dry);
    MemoryFrames sink(1, kRate);
    EXPECT_FALSE(auralise(source, r, sink).problem);
    (eq ? o.equalised : o.plain) = sink.samples();
  }
  return o;
}

double band_change_db(const Outputs& o, double centre) {
  const double low = centre / std::sqrt(2.0), high = centre * std::sqrt(2.0);
  return 10.0 * std::log10(test::band_energy(o.equalised, kRate, low, high) /
                           test::band_energy(o.plain, kRate, low, high));
}

TEST(Equaliser, FlatGainsScaleTheOutputExactly) {
  for (const double gain : {0.0, -6.0}) {
    BandGains g;
    g.fill(gain);
    const Outputs o = outputs(g);
    ASSERT_EQ(o.plain.size(), o.equalised.size());
    const double factor = std::pow(10.0, gain / 20.0);
    double peak = 0.0, worst = 0.0;
    for (std::size_t i = 0; i < o.plain.size(); ++i) {
      peak = std::max(peak, double(std::fabs(o.plain[i])));
      worst = std::max(worst, std::fabs(o.equalised[i] - factor * o.plain[i]));
    }
    EXPECT_LE(20.0 * std::log10(worst / peak), -100.0) << gain << " dB in every band";
    const double all = 10.0 * std::log10(test::band_energy(o.equalised, kRate, 0, kRate) /
                                         test::band_energy(o.plain, kRate, 0, kRate));
    EXPECT_NEAR(all, 20.0 * std::log10(factor), 0.05) << gain << " dB in every band";
  }
}

TEST(Equaliser, OneBandRaisedLiftsItsOctaveAndLeavesBandsTwoOctavesAway) {
  // +12 dB at 1 kHz: the curve falls to +6 dB at the band's edges, so the
  // band as a whole rises by about 9 dB; the bands at 250 Hz and 4 kHz lie
  // where the curve is back at 0 dB.
  for (const int band : {2, 5, 7}) {
    BandGains g{};
    g[band] = 12.0;
    const Outputs o = outputs(g);
    const double centre = band_centre_hz(band);
    std::cout << "+12 dB at " << centre << " Hz: the band rises by " << band_change_db(o, centre)
              << " dB\n";
    EXPECT_GE(band_change_db(o, centre), 8.0) << centre << " Hz";
    EXPECT_LE(band_change_db(o, centre), 12.0) << centre << " Hz";
    EXPECT_NEAR(band_change_db(o, centre / 4.0), 0.0, 0.5) << centre / 4.0 << " Hz";
    if (band + 2 < kEqualiserBands) {
      EXPECT_NEAR(band_change_db(o, centre * 4.0), 0.0, 0.5) << centre * 4.0 << " Hz";
    }
  }
}

TEST(Equaliser, TapsAreSymmetricAndSpanTheHalfLength) {
  EXPECT_EQ(equaliser_half_length(44100), 8192u);
  EXPECT_EQ(equaliser_half_length(48000), 8192u);
  EXPECT_EQ(equaliser_half_length(96000), 16384u);
  BandGains g = {3, -2, 5, 0, 1, -4, 2, 0, -1, 6};
  const std::vector<double> taps = equaliser_taps(kRate, g);
  ASSERT_EQ(taps.size(), 2 * 8192u + 1);
  for (std::size_t i = 0; i < taps.size(); ++i) {
    ASSERT_NEAR(taps[i], taps[taps.size() - 1 - i], 1e-12) << i;
  }
}

}  // namespace
}  // namespace listen
