#include "analysis/dsp/octave_bands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace analysis {
namespace {

TEST(OctaveBands, BaseTenMidBandsAndEdges) {
  const auto& bands = octave_bands();
  // fm = 1000 * 10^(0.3 k): 31.62 Hz for k = -5 ... 15.85 kHz for k = 4.
  EXPECT_NEAR(bands[0].centre_hz, 31.6228, 1e-4);
  EXPECT_NEAR(bands[5].centre_hz, 1000.0, 1e-9);
  EXPECT_NEAR(bands[9].centre_hz, 15848.93, 1e-2);
  for (const OctaveBand& b : bands) {
    EXPECT_NEAR(b.upper_hz / b.lower_hz, kOctaveRatio, 1e-12);
    EXPECT_NEAR(b.lower_hz * b.upper_hz, b.centre_hz * b.centre_hz,
                1e-9 * b.centre_hz * b.centre_hz);
    if (b.index > 0) {
      EXPECT_NEAR(b.lower_hz, bands[static_cast<std::size_t>(b.index - 1)].upper_hz,
                  1e-9 * b.lower_hz);
    }
  }
  EXPECT_EQ(band_label(bands[0]), "31.5");
  EXPECT_EQ(band_label(bands[9]), "16k");
  // Thirds: fm = 1000 * 10^(k/10), three to an octave, sharing the octaves'
  // mid-band frequencies.
  const auto& thirds = third_octave_bands();
  EXPECT_NEAR(thirds[0].centre_hz, 25.1189, 1e-4);
  EXPECT_NEAR(thirds[29].centre_hz, 19952.6, 0.1);
  for (const OctaveBand& t : thirds) {
    EXPECT_NEAR(t.upper_hz / t.lower_hz, std::cbrt(kOctaveRatio), 1e-12);
    if (t.index % 3 == 1) {
      EXPECT_NEAR(t.centre_hz, bands[t.index / 3].centre_hz, 1e-9 * t.centre_hz);
    }
  }
  EXPECT_EQ(band_label(thirds[17]), "1.25k");
  EXPECT_EQ(band_label(thirds[21]), "3.15k");
  EXPECT_EQ(thirds[29].nominal_hz, 20000);
}

TEST(OctaveBands, BandsEndBelowFortyFivePercentOfTheRate) {
  struct Case {
    double rate;
    double top_octave, top_third;
  };
  for (const Case c :
       {Case{8000, 2000, 3150}, Case{44100, 8000, 16000}, Case{48000, 8000, 16000},
        Case{88200, 16000, 20000}, Case{96000, 16000, 20000}, Case{1000, 250, 400}}) {
    const auto bands = bands_for_rate(c.rate);
    ASSERT_FALSE(bands.empty());
    EXPECT_EQ(bands.front().nominal_hz, 31.5);
    EXPECT_EQ(bands.back().nominal_hz, c.top_octave) << c.rate;
    const auto thirds = bands_for_rate(c.rate, BandKind::kThird);
    EXPECT_EQ(thirds.front().nominal_hz, 25);
    EXPECT_EQ(thirds.back().nominal_hz, c.top_third) << c.rate;
  }
}

// Class 1 acceptance limits on the relative attenuation of an octave-band
// filter (IEC 61260-1), at the normalised frequencies the standard
// tabulates, Omega = G^x with G = 10^(3/10). At the band edge (x = 1/2)
// the attenuation lies between 2 and 5 dB; above the edge only a minimum
// applies. The same limits hold for negative x. For a 1/b-octave filter
// the standard moves each frequency to
//   Omega_b = 1 + (G^(1/2b) - 1) / (G^(1/2) - 1) * (Omega_1 - 1)
// (and 1 / Omega_b below the mid-band frequency): the band edge to
// G^(1/2b), the stop band closer in.
TEST(OctaveBands, FiltersMeetClassOneLimitsAtTheTabulatedFrequencies) {
  constexpr double kNone = std::numeric_limits<double>::infinity();
  struct Limit {
    double x;
    double min_db;
    double max_db;
  };
  const Limit limits[] = {{0, -0.3, 0.3},    {1.0 / 8, -0.3, 0.4}, {1.0 / 4, -0.3, 0.6},
                          {3.0 / 8, -0.3, 1.3}, {1.0 / 2, 2.0, 5.0},  {1, 17.5, kNone},
                          {2, 42.0, kNone},   {3, 61.0, kNone},     {4, 70.0, kNone}};
  int checked = 0;
  const std::pair<BandKind, double> kinds[] = {{BandKind::kOctave, 1.0}, {BandKind::kThird, 3.0}};
  for (const auto& [kind, b] : kinds) {
    for (double rate : {32000.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0}) {
      for (const OctaveBand& band : bands_for_rate(rate, kind)) {
        const auto filter = octave_filter(band, rate);
        ASSERT_TRUE(filter) << band.nominal_hz << " Hz at " << rate;
        const double reference = std::abs(cascade_response(*filter, band.centre_hz / rate));
        for (const Limit& l : limits) {
          for (double sign : {-1.0, 1.0}) {
            const double omega =
                1.0 + (std::pow(kOctaveRatio, 0.5 / b) - 1.0) / (std::sqrt(kOctaveRatio) - 1.0) *
                          (std::pow(kOctaveRatio, l.x) - 1.0);
            const double f = sign > 0 ? band.centre_hz * omega : band.centre_hz / omega;
            if (f >= rate / 2) continue;  // no such frequency in the sampled signal
            const double gain = std::abs(cascade_response(*filter, f / rate));
            const double attenuation = -20.0 * std::log10(gain / reference);
            const std::string where = band_label(band) + " band (1/" + std::to_string(int(b)) +
                                      ") at " + std::to_string(rate) +
                                      " Hz, Omega = G^" + std::to_string(sign * l.x);
            EXPECT_GE(attenuation, l.min_db) << where;
            EXPECT_LE(attenuation, l.max_db) << where;
            ++checked;
          }
        }
      }
    }
  }
  EXPECT_GT(checked, 2800);
}

// The room the reversed filters get before a response: beyond
// ringing_length every filter's impulse response (run out forward, the slow
// reference) stays 80 dB below its peak, and the room is not more than
// four times what that takes (the broadband filter's slowest pole rings
// weakly).
TEST(OctaveBands, RingingLengthHoldsEveryFilterRingingDown) {
  for (const double rate : {8000.0, 44100.0, 48000.0, 96000.0}) {
    std::vector<std::pair<std::string, Cascade>> filters;
    for (const OctaveBand& b : bands_for_rate(rate))
      filters.emplace_back(band_label(b), *octave_filter(b, rate));
    filters.emplace_back("broadband", *span_filter(*broadband_span(rate), rate));
    for (const auto& [name, filter] : filters) {
      const std::size_t room = ringing_length(filter, 80.0);
      std::vector<double> h(4 * room + 1000, 0.0);
      h[0] = 1.0;
      filter_forward(filter, h);
      double peak = 0.0, after = 0.0;
      std::size_t last = 0;
      for (std::size_t n = 0; n < h.size(); ++n) {
        peak = std::max(peak, std::fabs(h[n]));
        if (n >= room) after = std::max(after, std::fabs(h[n]));
      }
      for (std::size_t n = 0; n < h.size(); ++n)
        if (std::fabs(h[n]) > peak * 1e-4) last = n;
      EXPECT_LE(20 * std::log10(after / peak), -80.0) << name << " at " << rate;
      EXPECT_LE(room, 4 * (last + 1)) << name << " at " << rate;
    }
  }
}

}  // namespace
}  // namespace analysis
