#include "analysis/spatial/iacc.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "analysis/decay/noise_floor.h"
#include "analysis/decay/onset.h"
#include "analysis/response.h"

namespace analysis {
namespace {

constexpr double kBlockS = 0.010;  // the noise-floor search's first blocks
constexpr std::size_t kLaneGroup = 8;  // lags summed side by side

// Two lanes of doubles (SSE2 on x86-64), as the filters use.
typedef double Lanes __attribute__((vector_size(16)));

Lanes load(const double* p) {
  Lanes v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// The sums over a window of two signals: the cross terms per lag and each
// signal's energy. Windows that follow each other add up.
struct WindowSums {
  std::vector<double> cross;  // lag -max_lag .. +max_lag
  double left = 0.0;
  double right = 0.0;

  void add(const WindowSums& other) {
    for (std::size_t i = 0; i < cross.size(); ++i) cross[i] += other.cross[i];
    left += other.left;
    right += other.right;
  }
  std::optional<double> maximum() const {
    if (!(left > 0.0) || !(right > 0.0)) return std::nullopt;
    double best = 0.0;
    for (double c : cross) best = std::max(best, std::fabs(c));
    // Normalised by the window's own energies, the sum at a lag may exceed
    // them at the window's edges: a full correlation is 1.
    return std::min(1.0, best / std::sqrt(left * right));
  }
};

// The right signal with max_lag zeros ahead and room behind for whole
// groups of lags, so that the inner loop needs no bounds.
struct PaddedRight {
  Signal samples;  // samples[n + max_lag] = right[n]
  std::size_t max_lag = 0;
  std::size_t lags = 0;  // 2 max_lag + 1, rounded up to kLaneGroup

  PaddedRight(std::span<const double> right, std::size_t length, std::size_t lag)
      : max_lag(lag), lags((2 * lag + 1 + kLaneGroup - 1) / kLaneGroup * kLaneGroup) {
    const std::size_t copied = std::min(length, right.size());
    samples.resize(length + lags + max_lag + kLaneGroup);
    std::fill(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(max_lag), 0.0);
    std::copy(right.begin(), right.begin() + static_cast<std::ptrdiff_t>(copied),
              samples.begin() + static_cast<std::ptrdiff_t>(max_lag));
    std::fill(samples.begin() + static_cast<std::ptrdiff_t>(max_lag + copied), samples.end(), 0.0);
  }
};

// REQUIRES: end <= left.size() and the padded right made for at least end.
WindowSums window_sums(std::span<const double> left, std::span<const double> right,
                       const PaddedRight& padded, std::size_t begin, std::size_t end) {
  WindowSums s;
  const std::size_t count = 2 * padded.max_lag + 1;
  std::vector<double> cross(padded.lags, 0.0);
  const double* l = left.data();
  const double* rp = padded.samples.data();
  // Lag j - max_lag of l[n] is rp[n + j]: eight lags at a time, each in
  // its own lane, so every sum keeps the order of a plain loop over n.
  for (std::size_t j = 0; j < padded.lags; j += kLaneGroup) {
    Lanes a0 = {0.0, 0.0}, a1 = a0, a2 = a0, a3 = a0;
    for (std::size_t n = begin; n < end; ++n) {
      const Lanes x = {l[n], l[n]};
      const double* p = rp + n + j;
      a0 += x * load(p);
      a1 += x * load(p + 2);
      a2 += x * load(p + 4);
      a3 += x * load(p + 6);
    }
    std::memcpy(&cross[j], &a0, sizeof a0);
    std::memcpy(&cross[j + 2], &a1, sizeof a1);
    std::memcpy(&cross[j + 4], &a2, sizeof a2);
    std::memcpy(&cross[j + 6], &a3, sizeof a3);
  }
  cross.resize(count);
  s.cross = std::move(cross);
  for (std::size_t n = begin; n < end; ++n) {
    s.left += l[n] * l[n];
    const double r = n < right.size() ? right[n] : 0.0;
    s.right += r * r;
  }
  return s;
}

std::size_t max_lag_samples(double rate) {
  return static_cast<std::size_t>(std::floor(kIaccMaxLagS * rate + 1e-9));
}

struct EarTimes {
  std::optional<std::size_t> onset;
  std::size_t end = 0;  // where the decay meets the noise, or the data end
};

EarTimes ear_times(std::span<const double> signal, double rate) {
  Signal energy(signal.size());
  for (std::size_t i = 0; i < signal.size(); ++i) energy[i] = signal[i] * signal[i];
  EarTimes t;
  t.end = signal.size();
  const std::optional<Onset> onset = find_onset(energy, rate);
  if (!onset) return t;
  t.onset = onset->onset;
  const NoiseFloor floor = find_noise_floor(energy, onset->onset, rate, kBlockS);
  if (floor.decay_found && floor.floor_reached) t.end = floor.truncation;
  return t;
}

void set(ParameterValue& v, const std::optional<double>& value, const std::string& reason) {
  if (value) {
    v.value = *value;
    v.missing.clear();
  } else {
    v.value.reset();
    v.missing = reason;
  }
}

const char* silent_ear_reason(double left, double right, bool band) {
  if (!(left > 0.0) && !(right > 0.0)) return band ? "neither ear holds a signal in the band"
                                                   : "neither ear holds a signal in the window";
  if (!(left > 0.0)) return band ? "the left ear holds no signal in the band"
                                 : "the left ear holds no signal in the window";
  return band ? "the right ear holds no signal in the band"
              : "the right ear holds no signal in the window";
}

IaccValues pair_values(std::span<const double> left, std::span<const double> right,
                       std::size_t onset, std::size_t early_end, std::size_t end,
                       std::size_t max_lag, bool band) {
  const PaddedRight padded(right, end, max_lag);
  const std::size_t mid = std::min(early_end, end);
  const std::span<const double> l = left.first(std::min(left.size(), end));
  // Beyond the left signal's data its samples are zeros: no cross terms.
  const auto sums = [&](std::size_t a, std::size_t b) {
    WindowSums s = window_sums(l, right, padded, std::min(a, l.size()), std::min(b, l.size()));
    for (std::size_t n = std::max(a, l.size()); n < b; ++n) {
      const double r = n < right.size() ? right[n] : 0.0;
      s.right += r * r;
    }
    return s;
  };
  IaccValues v;
  const WindowSums early = sums(onset, mid);
  WindowSums late = sums(mid, end);
  set(v.early, early.maximum(), silent_ear_reason(early.left, early.right, band));
  if (end <= early_end) {
    v.late.missing = "the response ends within 80 ms of the onset";
  } else {
    set(v.late, late.maximum(), silent_ear_reason(late.left, late.right, band));
  }
  late.add(early);
  set(v.all, late.maximum(), silent_ear_reason(late.left, late.right, band));
  return v;
}

void set_means(BinauralAnalysis& a) {
  constexpr double kBands[] = {500.0, 1000.0, 2000.0};
  const auto mean = [&](ParameterValue IaccValues::*which) -> std::optional<double> {
    double sum = 0.0;
    for (double hz : kBands) {
      const auto it = std::find_if(a.results.begin(), a.results.end(), [&](const BandIacc& r) {
        return r.band && r.band->nominal_hz == hz;
      });
      if (it == a.results.end() || !(it->values.*which).value) return std::nullopt;
      sum += *(it->values.*which).value;
    }
    return sum / 3.0;
  };
  const std::string reason = "needs the values of the 500 Hz, 1 kHz and 2 kHz bands";
  set(a.iacc_e3, mean(&IaccValues::early), reason);
  set(a.iacc_l3, mean(&IaccValues::late), reason);
  set(a.iacc_a3, mean(&IaccValues::all), reason);
  set(a.one_minus_iacc_e3,
      a.iacc_e3.value ? std::optional<double>(1.0 - *a.iacc_e3.value) : std::nullopt, reason);
}

}  // namespace

std::optional<double> interaural_correlation(std::span<const double> left,
                                             std::span<const double> right, std::size_t begin,
                                             std::size_t end, std::size_t max_lag) {
  if (begin >= end) return std::nullopt;
  const PaddedRight padded(right, end, max_lag);
  const std::span<const double> l = left.first(std::min(left.size(), end));
  WindowSums s = window_sums(l, right, padded, std::min(begin, l.size()), l.size());
  for (std::size_t n = std::max(begin, l.size()); n < end; ++n) {
    const double r = n < right.size() ? right[n] : 0.0;
    s.right += r * r;
  }
  return s.maximum();
}

BinauralAnalysis analyse_binaural(const BandSignals& left, const BandSignals& right,
                                  double rate) {
  BinauralAnalysis a;
  const EarTimes lt = ear_times(left.unfiltered, rate);
  const EarTimes rt = ear_times(right.unfiltered, rate);
  if (!lt.onset && !rt.onset) {
    a.problem = "neither ear holds a signal";
    return a;
  }
  const std::size_t onset = std::min(lt.onset.value_or(rt.end), rt.onset.value_or(lt.end));
  const std::size_t end = std::max(lt.end, rt.end);
  const std::size_t early_end = onset + static_cast<std::size_t>(std::lround(kIaccEarlyS * rate));
  const std::size_t max_lag = max_lag_samples(rate);
  a.onset_s = static_cast<double>(onset) / rate;
  a.end_s = static_cast<double>(end) / rate;

  for (const OctaveBand& b : bands_for_rate(rate)) {
    if (b.nominal_hz < kIaccLowestBandHz || b.nominal_hz > kIaccHighestBandHz) continue;
    BandIacc r;
    r.band = b;
    const std::span<const double> l = left.band(b.nominal_hz);
    const std::span<const double> rr = right.band(b.nominal_hz);
    if (l.empty() || rr.empty()) {
      r.values.early.missing = r.values.late.missing = r.values.all.missing =
          "the band is not filtered at this rate";
    } else {
      r.values = pair_values(l, rr, onset, early_end, end, max_lag, true);
    }
    a.results.push_back(std::move(r));
  }
  BandIacc all;
  all.values = pair_values(left.unfiltered, right.unfiltered, onset, early_end, end, max_lag, false);
  a.results.push_back(std::move(all));
  set_means(a);
  return a;
}

BinauralAnalysis analyse_binaural(std::span<const float> left, std::span<const float> right,
                                  double rate) {
  const std::vector<OctaveBand> bands = octave_bands_between(kIaccLowestBandHz, kIaccHighestBandHz);
  const std::span<const float> l = without_trailing_zeros(left);
  const std::span<const float> r = without_trailing_zeros(right);
  const std::size_t length = std::max(l.size(), r.size());
  // Both ears over the same length, so that their band signals are too.
  std::vector<float> lp(l.begin(), l.end()), rp(r.begin(), r.end());
  lp.resize(length, 0.0f);
  rp.resize(length, 0.0f);
  return analyse_binaural(band_signals(lp, rate, bands), band_signals(rp, rate, bands), rate);
}

}  // namespace analysis
