#include "analysis/speech/sti.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <numbers>

#include "analysis/decay/onset.h"
#include "analysis/response.h"

namespace analysis {
namespace {

constexpr double kBlockS = 0.00025;      // the modulation sums' blocks
constexpr double kFloorBlockS = 0.010;   // the noise-floor search's first blocks
constexpr double kSnrLimitDb = 15.0;

constexpr SpeechBandValues kAlpha = {0.085, 0.127, 0.230, 0.233, 0.309, 0.224, 0.173};
constexpr std::array<double, kSpeechBandCount - 1> kBeta = {0.085, 0.078, 0.065,
                                                            0.011, 0.047, 0.095};
// Male speech, octave-band levels re the A-weighted speech level.
constexpr SpeechBandValues kSpeechSpectrumDb = {2.9, 2.9, -0.8, -6.8, -12.8, -18.8, -24.8};
constexpr SpeechBandValues kReceptionThresholdDb = {46.0, 27.0, 12.0, 6.5, 7.5, 8.0, 12.0};

double intensity(double level_db) { return std::pow(10.0, level_db / 10.0); }

// The masking of band k by band k-1, dB re band k-1's intensity, from
// band k-1's level.
double masking_db(double level_db) {
  if (level_db < 63.0) return 0.5 * level_db - 65.0;
  if (level_db < 67.0) return 1.8 * level_db - 146.9;
  if (level_db < 100.0) return 0.5 * level_db - 59.8;
  return -10.0;
}

std::string band_name(double hz) {
  char text[32];
  if (hz >= 1000) {
    std::snprintf(text, sizeof text, "%g kHz", hz / 1000);
  } else {
    std::snprintf(text, sizeof text, "%g Hz", hz);
  }
  return text;
}

}  // namespace

std::optional<Modulation> modulation_transfer(std::span<const double> energy, std::size_t onset,
                                              const NoiseFloor& floor, double rate) {
  const std::size_t t1 = floor.truncation;
  const double noise = floor.floor_reached ? floor.noise : 0.0;
  const std::size_t block = std::max<std::size_t>(1, static_cast<std::size_t>(std::lround(kBlockS * rate)));
  // The blocks' sums of the noise-free energy; the last may be shorter.
  std::vector<double> sums;
  std::vector<double> centres;  // samples after the onset
  double total = 0.0;
  for (std::size_t first = onset; first < t1; first += block) {
    const std::size_t last = std::min(first + block, t1);
    double s = 0.0;
    for (std::size_t n = first; n < last; ++n) s += energy[n] - noise;
    sums.push_back(s);
    centres.push_back(static_cast<double>(first - onset) + 0.5 * static_cast<double>(last - first - 1));
    total += s;
  }
  // Behind the truncation point the late decay line, a geometric series
  // whose transform has a closed form.
  const double q = std::pow(10.0, floor.late_decay.slope_db / 10.0);
  const double tail_first = std::pow(10.0, floor.late_decay.at(static_cast<double>(t1)) / 10.0);
  const bool has_tail = q < 1.0;
  if (has_tail) total += tail_first / (1.0 - q);
  if (!(total > 0.0)) return std::nullopt;

  Modulation m{};
  for (std::size_t f = 0; f < kModulationCount; ++f) {
    const double w = 2.0 * std::numbers::pi * kModulationHz[f] / rate;  // rad per sample
    std::complex<double> sum = 0.0;
    // Full blocks by a rotating phasor, the short last one on its own.
    const std::complex<double> step = std::polar(1.0, -w * static_cast<double>(block));
    std::complex<double> phasor = std::polar(1.0, -w * (centres.empty() ? 0.0 : centres[0]));
    for (std::size_t b = 0; b < sums.size(); ++b) {
      if (b + 1 == sums.size()) phasor = std::polar(1.0, -w * centres[b]);
      sum += sums[b] * phasor;
      phasor *= step;
    }
    if (has_tail) {
      sum += tail_first * std::polar(1.0, -w * static_cast<double>(t1 - onset)) /
             (1.0 - q * std::polar(1.0, -w));
    }
    m[f] = std::abs(sum) / total;
  }
  return m;
}

std::array<Modulation, kSpeechBandCount> apply_conditions(
    const std::array<Modulation, kSpeechBandCount>& m, const SpeechConditions& c) {
  SpeechBandValues speech{}, total{};
  for (std::size_t k = 0; k < kSpeechBandCount; ++k) {
    speech[k] = intensity(c.speech_level_db + kSpeechSpectrumDb[k]);
    total[k] = speech[k] + (c.noise_levels_db ? intensity((*c.noise_levels_db)[k]) : 0.0);
  }
  std::array<Modulation, kSpeechBandCount> out = m;
  for (std::size_t k = 0; k < kSpeechBandCount; ++k) {
    double masking = 0.0;
    if (k > 0) {
      const double below = total[k - 1];
      masking = below * intensity(masking_db(10.0 * std::log10(below)));
    }
    const double factor = speech[k] / (total[k] + masking + intensity(kReceptionThresholdDb[k]));
    for (double& v : out[k]) v *= factor;
  }
  return out;
}

double modulation_transmission_index(const Modulation& m) {
  double sum = 0.0;
  for (double v : m) {
    double snr = v >= 1.0 ? kSnrLimitDb : v <= 0.0 ? -kSnrLimitDb : 10.0 * std::log10(v / (1.0 - v));
    snr = std::clamp(snr, -kSnrLimitDb, kSnrLimitDb);
    sum += (snr + kSnrLimitDb) / (2.0 * kSnrLimitDb);
  }
  return sum / static_cast<double>(kModulationCount);
}

double index_from_mti(const SpeechBandValues& mti) {
  double sti = 0.0;
  for (std::size_t k = 0; k < kSpeechBandCount; ++k) sti += kAlpha[k] * mti[k];
  for (std::size_t k = 0; k + 1 < kSpeechBandCount; ++k)
    sti -= kBeta[k] * std::sqrt(mti[k] * mti[k + 1]);
  return std::clamp(sti, 0.0, 1.0);
}

std::string_view sti_category(double sti) {
  static constexpr struct {
    long hundredths;
    std::string_view name;
  } kCategories[] = {{76, "A+"}, {72, "A"}, {68, "B"}, {64, "C"}, {60, "D"}, {56, "E"},
                     {52, "F"},  {48, "G"}, {44, "H"}, {40, "I"}, {36, "J"}};
  const long h = std::lround(sti * 100.0);
  for (const auto& c : kCategories) {
    if (h >= c.hundredths) return c.name;
  }
  return "U";
}

SpeechIndex speech_transmission_index(const BandSignals& signals, double rate,
                                      const std::optional<SpeechConditions>& conditions) {
  SpeechIndex out;
  out.conditions = conditions;
  std::array<Modulation, kSpeechBandCount> mtf{};
  std::vector<SpeechBand> bands;
  Signal energy;  // of one band after the other
  for (std::size_t k = 0; k < kSpeechBandCount; ++k) {
    const double hz = kSpeechBandHz[k];
    const std::span<const double> signal = signals.band(hz);
    if (signal.empty()) {
      char text[128];
      std::snprintf(text, sizeof text,
                    "needs the octave bands up to 8 kHz, which a sampling rate of %g Hz does not give",
                    rate);
      out.sti.missing = text;
      return out;
    }
    const auto it = std::find_if(signals.bands.begin(), signals.bands.end(),
                                 [&](const OctaveBand& b) { return b.nominal_hz == hz; });
    energy.resize(signal.size());
    for (std::size_t i = 0; i < energy.size(); ++i) energy[i] = signal[i] * signal[i];
    const std::optional<Onset> onset = find_onset(energy, rate);
    if (!onset) {
      out.sti.missing = "the " + band_name(hz) + " band holds no signal";
      return out;
    }
    const NoiseFloor floor = find_noise_floor(energy, onset->onset, rate,
                                              std::max(kFloorBlockS, 1.0 / it->centre_hz));
    if (!floor.decay_found) {
      out.sti.missing = band_name(hz) + " band: " + floor.problem;
      return out;
    }
    const std::optional<Modulation> m = modulation_transfer(energy, onset->onset, floor, rate);
    if (!m) {
      out.sti.missing = "no energy left in the " + band_name(hz) + " band after the noise is taken off";
      return out;
    }
    mtf[k] = *m;
    SpeechBand& band = bands.emplace_back();
    band.band = *it;
    band.mtf = *m;
  }
  const std::array<Modulation, kSpeechBandCount> m = conditions ? apply_conditions(mtf, *conditions) : mtf;
  SpeechBandValues mti{};
  for (std::size_t k = 0; k < kSpeechBandCount; ++k) {
    bands[k].m = m[k];
    bands[k].mti = mti[k] = modulation_transmission_index(m[k]);
  }
  const double sti = index_from_mti(mti);
  out.sti.value = sti;
  out.category = sti_category(sti);
  out.bands = std::move(bands);
  return out;
}

SpeechIndex speech_transmission_index(std::span<const float> samples, double rate,
                                      const std::optional<SpeechConditions>& conditions) {
  const std::span<const float> data = without_trailing_zeros(samples);
  return speech_transmission_index(
      band_signals(data, rate, octave_bands_between(kSpeechBandHz.front(), kSpeechBandHz.back())),
      rate, conditions);
}

}  // namespace analysis
