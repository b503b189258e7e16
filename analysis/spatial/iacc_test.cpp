// The interaural cross-correlation on pairs whose correlation is known:
// one ear a copy of the other (identical, delayed, inverted) and two
// independent noises.
#include "analysis/spatial/iacc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/testing/synthetic.h"

namespace analysis {
namespace {

// max |IACF| by the definition, one lag after another (at most 1).
double slow_correlation(const std::vector<double>& l, const std::vector<double>& r,
                        std::size_t begin, std::size_t end, std::size_t max_lag) {
  const auto at = [](const std::vector<double>& x, long n) {
    return n >= 0 && n < static_cast<long>(x.size()) ? x[static_cast<std::size_t>(n)] : 0.0;
  };
  double el = 0.0, er = 0.0;
  for (std::size_t n = begin; n < end; ++n) {
    el += at(l, static_cast<long>(n)) * at(l, static_cast<long>(n));
    er += at(r, static_cast<long>(n)) * at(r, static_cast<long>(n));
  }
  double best = 0.0;
  for (long lag = -static_cast<long>(max_lag); lag <= static_cast<long>(max_lag); ++lag) {
    double c = 0.0;
    for (std::size_t n = begin; n < end; ++n)
      c += at(l, static_cast<long>(n)) * at(r, static_cast<long>(n) + lag);
    best = std::max(best, std::fabs(c));
  }
  return std::min(1.0, best / std::sqrt(el * er));
}

TEST(InterauralCorrelation, AgreesWithTheDefinitionSummedLagByLag) {
  testing::Gaussian g(5);
  std::vector<double> l(3000), r(2900);
  for (double& x : l) x = g.next();
  for (std::size_t i = 0; i < r.size(); ++i) r[i] = 0.3 * l[(i + 7) % l.size()] + g.next();
  struct Case {
    std::size_t begin, end, max_lag;
  };
  // Lag counts that fill the groups of eight and that do not; windows
  // reaching beyond either signal.
  for (const Case c : {Case{0, 3000, 3}, Case{10, 2000, 44}, Case{2500, 3100, 5},
                       Case{100, 101, 1}, Case{0, 500, 0}}) {
    const std::optional<double> fast = interaural_correlation(l, r, c.begin, c.end, c.max_lag);
    ASSERT_TRUE(fast) << c.begin << ".." << c.end;
    EXPECT_NEAR(*fast, slow_correlation(l, r, c.begin, c.end, c.max_lag), 1e-12)
        << "window " << c.begin << ".." << c.end << ", lags +-" << c.max_lag;
  }
  EXPECT_FALSE(interaural_correlation(l, std::vector<double>(100, 0.0), 0, 100, 3));
  EXPECT_FALSE(interaural_correlation(l, r, 50, 50, 3));
}

constexpr double kRate = 48000;

std::vector<float> delayed(const std::vector<float>& x, std::size_t d, float sign) {
  std::vector<float> y(x.size(), 0.0f);
  for (std::size_t i = d; i < x.size(); ++i) y[i] = sign * x[i - d];
  return y;
}

double energy(std::span<const double> x, std::size_t begin, std::size_t end) {
  double e = 0.0;
  for (std::size_t n = begin; n < end; ++n) e += x[n] * x[n];
  return e;
}

// One ear a copy of the other, delayed by d samples (and inverted): at the
// lag d the correlation sum is the left ear's energy in the window W, and
// the right ear's energy is the left's in W - d, so
//   IACC = min(1, sqrt(E_l(W) / E_l(W - d))),
// 1 for d = 0, and for a delay of 0.5 ms 1 or within a thousandth of it
// (the decay's energy in the half millisecond before a window's end, over
// the window's; nothing of any band comes before the onset).
TEST(Binaural, CopiesWithinTheLagRangeCorrelateFully) {
  const std::vector<float> left = testing::decaying_noise(kRate, 1.2, 0.01, 0.8, 31);
  const std::vector<OctaveBand> bands = octave_bands_between(125, 4000);
  const BandSignals ls = band_signals(left, kRate, bands);
  struct Case {
    std::size_t delay;
    float sign;
  };
  for (const Case c : {Case{0, 1.0f}, Case{0, -1.0f}, Case{24, 1.0f}, Case{24, -1.0f}}) {
    const BinauralAnalysis a = analyse_binaural(left, delayed(left, c.delay, c.sign), kRate);
    ASSERT_EQ(a.results.size(), bands.size() + 1) << a.problem;
    ASSERT_TRUE(a.onset_s);
    const std::size_t onset = static_cast<std::size_t>(std::lround(*a.onset_s * kRate));
    const std::size_t early_end = onset + 3840;
    const std::size_t end = ls.unfiltered.size();
    EXPECT_EQ(onset, 480u);
    for (const BandIacc& r : a.results) {
      const std::span<const double> x =
          r.band ? ls.band(r.band->nominal_hz) : std::span<const double>(ls.unfiltered);
      const std::string what = (r.band ? band_label(*r.band) : "all") + ", delay " +
                               std::to_string(c.delay) + ", sign " + std::to_string(c.sign);
      const auto expected = [&](std::size_t b, std::size_t e) {
        return std::min(1.0, std::sqrt(energy(x, b, e) / energy(x, b - c.delay, e - c.delay)));
      };
      ASSERT_TRUE(r.values.early.value && r.values.late.value && r.values.all.value) << what;
      EXPECT_NEAR(*r.values.early.value, expected(onset, early_end), 2e-4) << what;
      EXPECT_NEAR(*r.values.late.value, expected(early_end, end), 2e-4) << what;
      EXPECT_NEAR(*r.values.all.value, expected(onset, end), 2e-4) << what;
      EXPECT_GT(*r.values.all.value, 0.999) << what;
    }
    ASSERT_TRUE(a.one_minus_iacc_e3.value);
    EXPECT_NEAR(*a.one_minus_iacc_e3.value, 1.0 - *a.iacc_e3.value, 1e-12);
    EXPECT_LT(*a.one_minus_iacc_e3.value, 0.002);
  }
}

// Two noises of the same decay, independent or one the other delayed by
// 1.5 ms (beyond the lags, and the noise is white): at each lag the
// normalised sum has a standard deviation of 1 / sqrt(N) with N =
// (sum e)^2 / sum e^2 over the decay's envelope e in the window (6950 for
// the whole of T = 1 s at 48 kHz, 3510 for its first 80 ms), so that the
// largest of the 97 lags stays below 5 / sqrt(N) but once in 10^4 pairs.
TEST(Binaural, UncorrelatedEarsStayWithinTheBoundOfTheirLength) {
  const double t60 = 1.0;
  const std::vector<float> left = testing::decaying_noise(kRate, 1.5, 0.01, t60, 41);
  const double a = testing::decay_constant(t60);
  const auto bound = [&](double length_s) {
    const double sum = (1 - std::exp(-a * length_s)) / a;
    const double sum_sq = (1 - std::exp(-2 * a * length_s)) / (2 * a);
    return 5.0 / std::sqrt(kRate * sum * sum / sum_sq);
  };
  EXPECT_LT(bound(1.5), 0.1);
  EXPECT_LT(bound(0.08), 0.1);
  for (const std::vector<float>& right :
       {testing::decaying_noise(kRate, 1.5, 0.01, t60, 42), delayed(left, 72, 1.0f)}) {
    const BinauralAnalysis r = analyse_binaural(left, right, kRate);
    ASSERT_FALSE(r.results.empty()) << r.problem;
    const IaccValues& v = r.unfiltered().values;
    ASSERT_TRUE(v.early.value && v.all.value);
    EXPECT_LT(*v.early.value, bound(0.08));
    EXPECT_LT(*v.all.value, bound(1.5));
  }
}

TEST(Binaural, SilentEarsAreMissingWithTheirReason) {
  const std::vector<float> left = testing::decaying_noise(kRate, 0.5, 0.01, 0.5, 51);
  const BinauralAnalysis none =
      analyse_binaural(std::vector<float>(100, 0.0f), std::vector<float>(100, 0.0f), kRate);
  EXPECT_TRUE(none.results.empty());
  EXPECT_EQ(none.problem, "neither ear holds a signal");
  const BinauralAnalysis one = analyse_binaural(left, std::vector<float>(10, 0.0f), kRate);
  ASSERT_FALSE(one.results.empty());
  EXPECT_FALSE(one.unfiltered().values.all.value);
  EXPECT_EQ(one.unfiltered().values.all.missing, "the right ear holds no signal in the window");
  EXPECT_FALSE(one.one_minus_iacc_e3.value);
  // A response shorter than 80 ms has no late part (but the bands'
  // ringing, which the unfiltered response has not).
  const std::vector<float> brief = testing::decaying_noise(kRate, 0.05, 0.0, 0.02, 52);
  const BinauralAnalysis s = analyse_binaural(brief, brief, kRate);
  ASSERT_FALSE(s.results.empty());
  EXPECT_TRUE(s.unfiltered().values.all.value);
  EXPECT_EQ(s.unfiltered().values.late.missing, "neither ear holds a signal in the window");
}

}  // namespace
}  // namespace analysis

namespace analysis {
namespace {

// Silence ahead of both ears and a gain on both change no value.
TEST(Binaural, DoesNotChangeWithSilenceOrGain) {
  const std::vector<float> left = testing::decaying_noise(kRate, 0.8, 0.01, 0.6, 71);
  std::vector<float> right = testing::decaying_noise(kRate, 0.8, 0.01, 0.6, 72);
  for (std::size_t i = 0; i < right.size(); ++i) right[i] = 0.6f * right[i] + 0.8f * left[i];
  const auto later = [](const std::vector<float>& x, float gain) {
    std::vector<float> y(x.size() + 9000, 0.0f);
    for (std::size_t i = 0; i < x.size(); ++i) y[i + 9000] = gain * x[i];
    return y;
  };
  const BinauralAnalysis base = analyse_binaural(left, right, kRate);
  const BinauralAnalysis moved = analyse_binaural(later(left, 0.05f), later(right, 0.05f), kRate);
  ASSERT_EQ(base.results.size(), moved.results.size());
  EXPECT_NEAR(*moved.onset_s - *base.onset_s, 9000 / kRate, 1e-12);
  for (std::size_t i = 0; i < base.results.size(); ++i) {
    const IaccValues& a = base.results[i].values;
    const IaccValues& b = moved.results[i].values;
    ASSERT_TRUE(a.early.value && a.late.value && a.all.value && b.early.value && b.late.value &&
                b.all.value);
    EXPECT_NEAR(*b.early.value, *a.early.value, 1e-6) << i;
    EXPECT_NEAR(*b.late.value, *a.late.value, 1e-6) << i;
    EXPECT_NEAR(*b.all.value, *a.all.value, 1e-6) << i;
  }
  // The two ears share 0.8 of their amplitude: 0.8 of the correlation.
  EXPECT_NEAR(*base.unfiltered().values.all.value, 0.8, 0.05);
}

}  // namespace
}  // namespace analysis

namespace analysis {
namespace {

// Whatever the samples, each value is a number in 0..1 or missing with a
// reason, never both.
TEST(Binaural, AnySamplesGiveValuesOrReasons) {
  const double rate = 44100;
  std::vector<float> impulse(4410, 0.0f);
  impulse[10] = 1.0f;
  std::vector<float> huge = testing::decaying_noise(rate, 0.3, 0.0, 0.3, 6);
  for (float& x : huge) x *= 1e30f;
  const std::vector<std::vector<float>> inputs = {
      impulse, std::vector<float>(4410, 0.5f), {1.0f}, {1.0f, -1.0f, 0.5f}, huge, {}};
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    for (std::size_t j = 0; j < inputs.size(); ++j) {
      const BinauralAnalysis a = analyse_binaural(inputs[i], inputs[j], rate);
      EXPECT_EQ(a.results.empty(), !a.problem.empty());
      const auto check = [&](const ParameterValue& v) {
        EXPECT_NE(v.value.has_value(), !v.missing.empty()) << i << ", " << j;
        if (v.value) {
          EXPECT_TRUE(*v.value >= 0.0 && *v.value <= 1.0) << i << ", " << j;
        }
      };
      for (const BandIacc& r : a.results) {
        check(r.values.early);
        check(r.values.late);
        check(r.values.all);
      }
      if (!a.results.empty()) check(a.one_minus_iacc_e3);
    }
  }
}

}  // namespace
}  // namespace analysis
