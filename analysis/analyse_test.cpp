#include "analysis/analyse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "analysis/decay/noise_floor.h"
#include "analysis/decay/onset.h"
#include "analysis/testing/synthetic.h"

namespace analysis {
namespace {

using testing::Tone;
constexpr double kNoNoise = std::numeric_limits<double>::infinity();

// The decay range each decay time needs: its range's depth plus 10 dB.
constexpr std::pair<Parameter, double> kDecayTimes[] = {
    {Parameter::kEdt, 20.0}, {Parameter::kT20, 35.0}, {Parameter::kT30, 45.0}};

// The largest error seen per parameter over a test's cases, printed at its
// end so that a run shows how close to its tolerance each parameter came.
class Worst {
 public:
  void add(const std::string& what, double error, double tolerance, const std::string& where) {
    Entry& e = entries_[what];
    if (error >= e.error) e = {error, tolerance, where};
  }
  void print(const char* title) const {
    std::printf("%s: worst case per parameter (error / tolerance)\n", title);
    for (const auto& [what, e] : entries_) {
      std::printf("  %-9s %8.4f / %-6.4g %s\n", what.c_str(), e.error, e.tolerance,
                  e.where.c_str());
    }
  }

 private:
  struct Entry {
    double error = -1.0;
    double tolerance = 0.0;
    std::string where;
  };
  std::map<std::string, Entry> entries_;
};

// A decay time is given when the decay range comfortably covers what it
// needs and missing when it comfortably falls short; within 3 dB of the
// need either is right.
void check_presence(const BandAnalysis& r, double decay_range_db, const std::string& where) {
  for (const auto& [p, needed] : kDecayTimes) {
    const ParameterValue& v = r.parameters[p];
    if (decay_range_db >= needed + 3.0) {
      EXPECT_TRUE(v.value) << parameter_label(p) << " missing at " << where << ": " << v.missing;
    } else if (decay_range_db <= needed - 3.0) {
      EXPECT_FALSE(v.value) << parameter_label(p) << " given at " << where
                            << " with a decay range of " << decay_range_db << " dB";
      EXPECT_FALSE(v.missing.empty());
    }
    EXPECT_NE(v.value.has_value(), !v.missing.empty()) << where;
  }
}

void check_relative(Worst& worst, const BandAnalysis& r, Parameter p, double want, double tolerance,
                    const std::string& where) {
  const ParameterValue& v = r.parameters[p];
  if (!v.value) return;
  const double error = std::fabs(*v.value / want - 1.0);
  EXPECT_LE(error, tolerance) << parameter_label(p) << " at " << where << ": " << *v.value
                              << " against " << want;
  worst.add(std::string(parameter_label(p)) + " rel", error, tolerance, where);
}

void check_absolute(Worst& worst, const BandAnalysis& r, Parameter p, double want, double tolerance,
                    const std::string& where) {
  const ParameterValue& v = r.parameters[p];
  ASSERT_TRUE(v.value) << parameter_label(p) << " missing at " << where << ": " << v.missing;
  const double error = std::fabs(*v.value - want);
  EXPECT_LE(error, tolerance) << parameter_label(p) << " at " << where << ": " << *v.value
                              << " against " << want;
  worst.add(std::string(parameter_label(p)) + " abs", error, tolerance, where);
}

// The energy parameters of an ideal decay with time T (see synthetic.h).
void check_energy(Worst& worst, const BandAnalysis& r, double t60, double ts_tolerance,
                  const std::string& where) {
  check_absolute(worst, r, Parameter::kC50, testing::ideal_clarity_db(t60, 0.050), 0.3, where);
  check_absolute(worst, r, Parameter::kC80, testing::ideal_clarity_db(t60, 0.080), 0.3, where);
  check_absolute(worst, r, Parameter::kD50, testing::ideal_definition(t60, 0.050), 0.01, where);
  check_relative(worst, r, Parameter::kTs, testing::ideal_centre_time_ms(t60), ts_tolerance, where);
  ASSERT_TRUE(r.parameters[Parameter::kTs].value) << where;
}

struct Case {
  double rate;
  double delay_s;
  double noise_below_peak_db;  // kNoNoise: none
  double t60_s;                // of the decaying noise (unfiltered cases)
};

std::string describe(const Case& c, const char* what) {
  const std::string noise =
      c.noise_below_peak_db == kNoNoise
          ? "none"
          : std::to_string(static_cast<int>(c.noise_below_peak_db)) + " dB below the peak";
  char text[128];
  std::snprintf(text, sizeof text, "%.0f Hz, delay %.0f ms, noise %s, %s", c.rate,
                c.delay_s * 1000, noise.c_str(), what);
  return text;
}

// Reverberation time of each band's tone: longer at low frequencies, as in a hall.
double band_t60(const OctaveBand& b) {
  constexpr double kT60[kOctaveBandCount] = {2.2, 2.0, 1.8, 1.6, 1.5, 1.4, 1.2, 1.0, 0.8, 0.6};
  return kT60[b.index];
}

// A sum of decaying tones at the mid-band frequencies: in each band its own
// tone's energy decays exactly exponentially. T20 and T30 within 2 % and EDT
// within 3 % from 125 Hz to 8 kHz; from 2 kHz up C50 and C80 within 0.3 dB,
// D50 within 0.01 and Ts within 3 % of the ideal decay's values.
// The noise floor is one fixed realisation per case. Near its limit a decay
// time carries the noise's own uncertainty (the cross term of noise and
// decay does not average out in a narrow band): with the noise 40 dB below
// the peak, T20 and T30 vary by about 0.7 % (one standard deviation) from
// one realisation to the next; 20 dB lower, by 0.07 %.
TEST(AnalyseBands, DecayingTonesGiveTheirDecayInEveryBand) {
  const Case cases[] = {
      {44100, 0.0, kNoNoise, 0},  {44100, 0.02, 40, 0}, {44100, 0.05, 60, 0}, {44100, 0.1, 80, 0},
      {48000, 0.01, kNoNoise, 0}, {48000, 0.0, 40, 0},  {48000, 0.1, 60, 0},  {48000, 0.025, 80, 0},
      {96000, 0.05, kNoNoise, 0}, {96000, 0.1, 40, 0},  {96000, 0.0, 60, 0},  {96000, 0.01, 80, 0}};
  Worst worst;
  for (const Case& c : cases) {
    const std::vector<OctaveBand> bands = bands_for_rate(c.rate);
    std::vector<Tone> tones;
    double longest = 0.0;
    for (const OctaveBand& b : bands) {
      tones.push_back({b.centre_hz, band_t60(b), 0.3});
      longest = std::max(longest, band_t60(b));
    }
    std::vector<float> response =
        testing::decaying_tones(c.rate, c.delay_s + 1.6 * longest, c.delay_s, tones);
    const double noise = c.noise_below_peak_db == kNoNoise
                             ? 0.0
                             : testing::add_noise_floor(response, c.noise_below_peak_db, 7);
    for (const OctaveBand& b : bands) {
      const std::string where = describe(c, (band_label(b) + " band").c_str());
      const BandAnalysis r = analyse_band(response, c.rate, b, false);
      const double t60 = band_t60(b);
      // A tone of amplitude A starts at a mean square of A^2 / 2; white
      // noise of variance s^2 gives a band s^2 * ENBW / (rate / 2), with the
      // noise bandwidth of a Butterworth band-pass about 1.04 (f2 - f1).
      const double band_noise = noise * 1.04 * (b.upper_hz - b.lower_hz) / (c.rate / 2);
      const double range = noise == 0.0 ? kNoNoise : 10 * std::log10(0.3 * 0.3 / 2 / band_noise);
      check_presence(r, range, where);
      if (b.nominal_hz >= 125 && b.nominal_hz <= 8000) {
        check_relative(worst, r, Parameter::kEdt, t60, 0.03, where);
        check_relative(worst, r, Parameter::kT20, t60, 0.02, where);
        check_relative(worst, r, Parameter::kT30, t60, 0.02, where);
      }
      if (b.nominal_hz >= 2000) check_energy(worst, r, t60, 0.03, where);
      // The filter's ringing, moved before the response by the reversed
      // filtering, rises within 20 dB of the peak two to three periods of
      // the mid-band frequency before the tone starts; a tone that starts
      // with the file rises slowly through its first period.
      ASSERT_TRUE(r.onset_s);
      EXPECT_LE(*r.onset_s, c.delay_s + 0.05 / b.centre_hz + 0.001) << where;
      EXPECT_GE(*r.onset_s, c.delay_s - 3.0 / b.centre_hz - 0.0005) << where;
    }
  }
  worst.print("octave bands");
}

// The same in third octaves: a tone at every other third's mid-band
// frequency (a third's next neighbours lie only 18 dB down its filter's
// skirt, the ones beyond them 37 dB), each with its own reverberation time,
// 10 % shorter than the one below; the thirds with a tone hold the
// tolerances of the octave bands.
TEST(AnalyseBands, DecayingTonesGiveTheirDecayInEveryThird) {
  const Case cases[] = {{44100, 0.02, 60, 0}, {48000, 0.0, kNoNoise, 0}, {96000, 0.01, 80, 0}};
  Worst worst;
  const auto third_t60 = [](const OctaveBand& b) { return 2.2 * std::pow(0.95, b.index); };
  for (const Case& c : cases) {
    const std::vector<OctaveBand> bands = bands_for_rate(c.rate, BandKind::kThird);
    std::vector<Tone> tones;
    for (const OctaveBand& b : bands)
      if (b.index % 2 == 0) tones.push_back({b.centre_hz, third_t60(b), 0.3});
    std::vector<float> response =
        testing::decaying_tones(c.rate, c.delay_s + 1.6 * third_t60(bands[0]), c.delay_s, tones);
    if (c.noise_below_peak_db != kNoNoise)
      testing::add_noise_floor(response, c.noise_below_peak_db, 7);
    ResponseFile file;
    file.sample_rate_hz = c.rate;
    file.channels = {response};
    AnalysisOptions options;
    options.band_kind = BandKind::kThird;
    const ChannelAnalysis channel = analyse_file(file, options)->front();
    ASSERT_EQ(channel.results.size(), bands.size() + 1);
    for (const BandAnalysis& r : channel.results) {
      if (!r.band || r.band->index % 2 != 0 || r.band->nominal_hz < 125 ||
          r.band->nominal_hz > 8000)
        continue;
      const std::string where = describe(c, (band_label(*r.band) + " third").c_str());
      const double t60 = third_t60(*r.band);
      check_relative(worst, r, Parameter::kEdt, t60, 0.03, where);
      check_relative(worst, r, Parameter::kT20, t60, 0.02, where);
      check_relative(worst, r, Parameter::kT30, t60, 0.02, where);
      ASSERT_TRUE(r.parameters[Parameter::kT20].value) << where;
      if (r.band->nominal_hz >= 2000) check_energy(worst, r, t60, 0.03, where);
    }
    EXPECT_FALSE(channel.mid[Parameter::kT30].value);
  }
  worst.print("third octaves");
}

// Decaying noise, unfiltered: T20 and T30 within 2 %, EDT within 4 %, C50
// and C80 within 0.3 dB, D50 within 0.01 and Ts within 2 %.
TEST(AnalyseUnfiltered, DecayingNoiseGivesItsDecay) {
  const Case cases[] = {
      {44100, 0.0, kNoNoise, 1.0},  {44100, 0.02, 40, 0.5},  {44100, 0.05, 65, 2.0},
      {44100, 0.1, 80, 1.0},        {48000, 0.01, kNoNoise, 2.0}, {48000, 0.0, 40, 1.0},
      {48000, 0.1, 65, 0.5},        {48000, 0.03, 80, 1.5},  {96000, 0.05, kNoNoise, 0.5},
      {96000, 0.1, 40, 2.0},        {96000, 0.0, 65, 1.0},   {96000, 0.01, 80, 0.8}};
  Worst worst;
  std::uint64_t seed = 1;
  for (const Case& c : cases) {
    const std::string where =
        describe(c, ("T " + std::to_string(c.t60_s).substr(0, 3) + " s").c_str());
    std::vector<float> response =
        testing::decaying_noise(c.rate, c.delay_s + 1.6 * c.t60_s, c.delay_s, c.t60_s, ++seed);
    const double noise = c.noise_below_peak_db == kNoNoise
                             ? 0.0
                             : testing::add_noise_floor(response, c.noise_below_peak_db, ++seed);
    const BandAnalysis r = analyse_band(response, c.rate, std::nullopt, false);
    // The noise starts at a mean square (and peak) of 1.
    check_presence(r, noise == 0.0 ? kNoNoise : -10 * std::log10(noise), where);
    check_relative(worst, r, Parameter::kEdt, c.t60_s, 0.04, where);
    check_relative(worst, r, Parameter::kT20, c.t60_s, 0.02, where);
    check_relative(worst, r, Parameter::kT30, c.t60_s, 0.02, where);
    check_energy(worst, r, c.t60_s, 0.02, where);
    ASSERT_TRUE(r.parameters[Parameter::kPnr].value) << where;
    if (noise > 0.0) {
      ASSERT_TRUE(r.noise_db) << where;
      EXPECT_TRUE(r.noise_floor_reached) << where;
      EXPECT_NEAR(*r.noise_db, 10 * std::log10(noise), 1.0) << where;
    }
  }
  worst.print("unfiltered");
}

}  // namespace
}  // namespace analysis
