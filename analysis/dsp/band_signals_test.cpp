// The band signals: the bands filtered forward, two at a time, exactly as
// each filter alone makes them, with room behind for the ringing.
#include "analysis/dsp/band_signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/testing/synthetic.h"

namespace analysis {
namespace {

TEST(BandSignals, EachBandIsItsFilterRunForwardWithItsRingingBehind) {
  for (double rate : {44100.0, 48000.0, 96000.0}) {
    const std::vector<float> x = testing::decaying_noise(rate, 0.3, 0.01, 0.2, 9);
    const std::vector<OctaveBand> bands = octave_bands_between(125, 16000);
    const BandSignals s = band_signals(x, rate, bands);
    ASSERT_EQ(s.filtered.size(), bands.size());
    ASSERT_GE(s.unfiltered.size(), x.size());
    for (std::size_t i = 0; i < s.unfiltered.size(); ++i)
      ASSERT_EQ(s.unfiltered[i], i < x.size() ? x[i] : 0.0) << i;
    for (std::size_t b = 0; b < bands.size(); ++b) {
      const std::optional<Cascade> filter = octave_filter(bands[b], rate);
      if (!filter) {
        EXPECT_TRUE(s.band(bands[b].nominal_hz).empty()) << rate << " " << bands[b].nominal_hz;
        continue;
      }
      std::vector<double> expected(s.unfiltered.begin(), s.unfiltered.end());
      filter_forward(*filter, expected);
      const std::span<const double> got = s.band(bands[b].nominal_hz);
      ASSERT_EQ(got.size(), expected.size());
      EXPECT_TRUE(std::equal(got.begin(), got.end(), expected.begin()))
          << "band " << bands[b].nominal_hz << " Hz at " << rate << " Hz";
      // The ringing has fallen 120 dB below the band's peak by the end:
      // the zeros behind are long enough for the slowest band.
      double peak = 0.0;
      for (double v : got) peak = std::max(peak, std::fabs(v));
      double last = 0.0;
      for (std::size_t i = got.size() - 50; i < got.size(); ++i)
        last = std::max(last, std::fabs(got[i]));
      EXPECT_LT(last, 1e-6 * peak) << bands[b].nominal_hz << " Hz at " << rate << " Hz";
    }
  }
}

}  // namespace
}  // namespace analysis
