// The speech transmission index against the closed forms of ideal decays
// and of a signal-to-noise ratio.
#include "analysis/speech/sti.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "analysis/testing/synthetic.h"

namespace analysis {
namespace {

// The modulation transfer of an ideal exponential decay of energy with
// reverberation time T: m(F) = 1 / sqrt(1 + (2 pi F T / 13.8)^2).
double ideal_m(double t60_s, double f_hz) {
  const double x = 2.0 * std::numbers::pi * f_hz * t60_s / testing::kSixLn10;
  return 1.0 / std::sqrt(1.0 + x * x);
}

// The noise term of a signal-to-noise ratio: 1 / (1 + 10^(-SNR / 10)).
double noise_term(double snr_db) { return 1.0 / (1.0 + std::pow(10.0, -snr_db / 10.0)); }

// e(n) = q^n from the onset, cut at the truncation point and continued by
// the late decay line (or the floor taken off where one is reached): the
// transform of the blocks and the tail's closed form give the ideal m.
TEST(ModulationTransfer, OfAnExponentialDecayIsTheClosedForm) {
  const double rate = 44100;
  for (double t60 : {0.3, 1.0, 2.5}) {
    for (double noise : {0.0, 1e-6}) {
      const double slope_db = -60.0 / (t60 * rate);
      const std::size_t onset = 300;
      const std::size_t length = onset + static_cast<std::size_t>(0.7 * t60 * rate);
      std::vector<double> e(length + 5000, noise);
      for (std::size_t n = onset; n < length; ++n)
        e[n] = std::pow(10.0, slope_db * static_cast<double>(n - onset) / 10.0) + noise;
      NoiseFloor floor;
      floor.decay_found = true;
      floor.floor_reached = noise > 0.0;
      floor.noise = noise;
      floor.truncation = length;
      floor.late_decay.slope_db = slope_db;
      floor.late_decay.intercept_db = -slope_db * static_cast<double>(onset);
      const std::optional<Modulation> m = modulation_transfer(e, onset, floor, rate);
      ASSERT_TRUE(m);
      for (std::size_t f = 0; f < kModulationCount; ++f) {
        EXPECT_NEAR((*m)[f], ideal_m(t60, kModulationHz[f]), 1e-4)
            << "T " << t60 << " s, noise " << noise << ", F " << kModulationHz[f] << " Hz";
      }
    }
  }
}

// The same m in every band and at every modulation frequency, the noise
// term of one signal-to-noise ratio: the effective ratio is that ratio, and
// the index (SNR + 15) / 30, clipped to 0..1.
TEST(SpeechIndexFormula, OfAUniformSignalToNoiseRatio) {
  for (double snr : {-20.0, -15.0, -6.0, 0.0, 7.5, 14.0, 30.0}) {
    Modulation m;
    m.fill(noise_term(snr));
    const double ti = std::clamp((snr + 15.0) / 30.0, 0.0, 1.0);
    EXPECT_NEAR(modulation_transmission_index(m), ti, 1e-12) << "SNR " << snr;
    SpeechBandValues mti;
    mti.fill(modulation_transmission_index(m));
    EXPECT_NEAR(index_from_mti(mti), ti, 1e-12) << "SNR " << snr;
  }
  Modulation one;
  one.fill(1.0);
  EXPECT_EQ(modulation_transmission_index(one), 1.0);
  one.fill(0.0);
  EXPECT_EQ(modulation_transmission_index(one), 0.0);
}

TEST(SpeechIndexCategory, FromTheIndexToTwoDecimals) {
  const struct {
    double sti;
    const char* category;
  } cases[] = {{1.0, "A+"}, {0.76, "A+"}, {0.7549, "A"}, {0.72, "A"}, {0.71, "B"}, {0.68, "B"},
               {0.67, "C"}, {0.62, "D"},  {0.59, "E"},   {0.52, "F"}, {0.51, "G"}, {0.47, "H"},
               {0.44, "H"}, {0.4349, "I"}, {0.4, "I"},   {0.39, "J"}, {0.36, "J"}, {0.3549, "U"},
               {0.0, "U"}};
  for (const auto& c : cases) EXPECT_EQ(sti_category(c.sti), c.category) << c.sti;
}

// A tone at the middle of each band, decaying with its own T: each band's
// energy is an ideal decay, and the index that of the closed-form m.
constexpr double kRate = 48000;
constexpr SpeechBandValues kT60 = {0.4, 0.6, 0.9, 1.2, 1.0, 0.8, 0.5};

std::vector<float> tones() {
  std::vector<testing::Tone> t;
  for (std::size_t k = 0; k < kSpeechBandCount; ++k) {
    const OctaveBand& band = octave_bands()[k + 2];
    t.push_back({band.centre_hz, kT60[k], 0.1});
  }
  return testing::decaying_tones(kRate, 2.5, 0.02, t);
}

double ideal_index(const SpeechBandValues& snr_db) {
  SpeechBandValues mti;
  for (std::size_t k = 0; k < kSpeechBandCount; ++k) {
    Modulation m;
    for (std::size_t f = 0; f < kModulationCount; ++f)
      m[f] = ideal_m(kT60[k], kModulationHz[f]) * noise_term(snr_db[k]);
    mti[k] = modulation_transmission_index(m);
  }
  return index_from_mti(mti);
}

TEST(SpeechTransmissionIndex, OfIdealDecaysIsTheClosedForm) {
  const std::vector<float> response = tones();
  const SpeechIndex reverberant = speech_transmission_index(response, kRate, std::nullopt);
  ASSERT_TRUE(reverberant.sti.value) << reverberant.sti.missing;
  ASSERT_EQ(reverberant.bands.size(), kSpeechBandCount);
  for (std::size_t k = 0; k < kSpeechBandCount; ++k) {
    for (std::size_t f = 0; f < kModulationCount; ++f) {
      EXPECT_NEAR(reverberant.bands[k].mtf[f], ideal_m(kT60[k], kModulationHz[f]), 0.02)
          << kSpeechBandHz[k] << " Hz, F " << kModulationHz[f] << " Hz";
    }
    EXPECT_EQ(reverberant.bands[k].m, reverberant.bands[k].mtf);
  }
  SpeechBandValues infinite;
  infinite.fill(200.0);
  EXPECT_NEAR(*reverberant.sti.value, ideal_index(infinite), 0.005);
  EXPECT_EQ(reverberant.category, sti_category(*reverberant.sti.value));

  // Background noise that many dB below the speech in each band, at a
  // speech level where masking and the reception threshold take little.
  const SpeechBandValues snr = {-3.0, 0.0, 3.0, 6.0, 9.0, 12.0, 3.0};
  const SpeechBandValues spectrum = {2.9, 2.9, -0.8, -6.8, -12.8, -18.8, -24.8};
  SpeechConditions conditions;
  conditions.speech_level_db = 60.0;
  conditions.noise_levels_db.emplace();
  for (std::size_t k = 0; k < kSpeechBandCount; ++k)
    (*conditions.noise_levels_db)[k] = 60.0 + spectrum[k] - snr[k];
  const SpeechIndex noisy = speech_transmission_index(response, kRate, conditions);
  ASSERT_TRUE(noisy.sti.value) << noisy.sti.missing;
  EXPECT_NEAR(*noisy.sti.value, ideal_index(snr), 0.01);
  EXPECT_LT(*noisy.sti.value, *reverberant.sti.value);
  // Without noise, masking and the threshold alone lower the index a little,
  // and the more the quieter the speech.
  const SpeechIndex loud = speech_transmission_index(response, kRate, SpeechConditions{70.0, {}});
  const SpeechIndex quiet = speech_transmission_index(response, kRate, SpeechConditions{40.0, {}});
  ASSERT_TRUE(loud.sti.value && quiet.sti.value);
  EXPECT_LT(*loud.sti.value, *reverberant.sti.value);
  EXPECT_GT(*loud.sti.value, *reverberant.sti.value - 0.03);
  EXPECT_LT(*quiet.sti.value, *loud.sti.value - 0.03);
}

// The response's own noise floor is taken off: 50 dB down, it leaves the
// index of the decay.
TEST(SpeechTransmissionIndex, IgnoresTheResponsesOwnNoiseFloor) {
  std::vector<float> response = tones();
  const SpeechIndex clean = speech_transmission_index(response, kRate, std::nullopt);
  testing::add_noise_floor(response, 70, 7);
  const SpeechIndex noisy = speech_transmission_index(response, kRate, std::nullopt);
  ASSERT_TRUE(clean.sti.value && noisy.sti.value) << noisy.sti.missing;
  EXPECT_NEAR(*noisy.sti.value, *clean.sti.value, 0.01);
}

TEST(SpeechTransmissionIndex, IsMissingWithoutItsBands) {
  const std::vector<float> response = testing::decaying_noise(22050, 1.0, 0.01, 0.5, 3);
  const SpeechIndex low = speech_transmission_index(response, 22050, std::nullopt);
  EXPECT_FALSE(low.sti.value);
  EXPECT_EQ(low.sti.missing,
            "needs the octave bands up to 8 kHz, which a sampling rate of 22050 Hz does not give");
  EXPECT_TRUE(low.category.empty());
  const SpeechIndex silent =
      speech_transmission_index(std::vector<float>(1000, 0.0f), kRate, std::nullopt);
  EXPECT_EQ(silent.sti.missing, "the 125 Hz band holds no signal");
}

}  // namespace
}  // namespace analysis

namespace analysis {
namespace {

// What changes nothing in the room changes nothing in the index without
// conditions: silence ahead, a gain, another sampling rate.
TEST(SpeechTransmissionIndex, DoesNotChangeWithSilenceGainOrRate) {
  const std::vector<float> response = tones();
  const SpeechIndex base = speech_transmission_index(response, kRate, std::nullopt);
  ASSERT_TRUE(base.sti.value);
  std::vector<float> later(response.size() + 12000, 0.0f);
  std::copy(response.begin(), response.end(), later.begin() + 12000);
  std::vector<float> quieter = response;
  for (float& x : quieter) x *= 0.01f;
  std::vector<testing::Tone> t;
  for (std::size_t k = 0; k < kSpeechBandCount; ++k)
    t.push_back({octave_bands()[k + 2].centre_hz, kT60[k], 0.1});
  const struct {
    const char* what;
    std::vector<float> samples;
    double rate;
    double tolerance;
  } cases[] = {{"0.25 s of silence ahead", later, kRate, 1e-9},
               {"40 dB less", quieter, kRate, 1e-9},
               {"at 44.1 kHz", testing::decaying_tones(44100, 2.5, 0.02, t), 44100, 0.005},
               {"at 96 kHz", testing::decaying_tones(96000, 2.5, 0.02, t), 96000, 0.005}};
  for (const auto& c : cases) {
    const SpeechIndex s = speech_transmission_index(c.samples, c.rate, std::nullopt);
    ASSERT_TRUE(s.sti.value) << c.what << ": " << s.sti.missing;
    EXPECT_NEAR(*s.sti.value, *base.sti.value, c.tolerance) << c.what;
  }
}

}  // namespace
}  // namespace analysis

namespace analysis {
namespace {

// Whatever the samples, the index is a number in 0..1 with its category or
// missing with a reason, never both; nothing is NaN.
TEST(SpeechTransmissionIndex, AnySamplesGiveAnIndexOrAReason) {
  const double rate = 48000;
  std::vector<float> impulse(4800, 0.0f);
  impulse[100] = 1.0f;
  std::vector<float> nyquist(4800);
  for (std::size_t i = 0; i < nyquist.size(); ++i) nyquist[i] = i % 2 ? 1.0f : -1.0f;
  std::vector<float> huge = testing::decaying_noise(rate, 0.5, 0.0, 0.3, 4);
  for (float& x : huge) x *= 1e30f;
  std::vector<float> tiny = testing::decaying_noise(rate, 0.5, 0.0, 0.3, 5);
  for (float& x : tiny) x *= 1e-35f;
  const std::vector<std::vector<float>> inputs = {
      impulse, std::vector<float>(4800, 0.5f), nyquist, {1.0f, -1.0f}, {1.0f}, huge, tiny};
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    for (const std::optional<SpeechConditions>& c :
         {std::optional<SpeechConditions>(), std::optional<SpeechConditions>({60.0, {}})}) {
      const SpeechIndex s = speech_transmission_index(inputs[i], rate, c);
      EXPECT_NE(s.sti.value.has_value(), !s.sti.missing.empty()) << "input " << i;
      EXPECT_EQ(s.category.empty(), !s.sti.value) << "input " << i;
      if (!s.sti.value) continue;
      EXPECT_TRUE(*s.sti.value >= 0.0 && *s.sti.value <= 1.0) << "input " << i;
      for (const SpeechBand& b : s.bands) {
        EXPECT_TRUE(b.mti >= 0.0 && b.mti <= 1.0) << "input " << i;
        for (double m : b.mtf) EXPECT_TRUE(std::isfinite(m) && m >= 0.0) << "input " << i;
      }
    }
  }
}

}  // namespace
}  // namespace analysis
