// Onset, noise floor, compensated energy and fits on energies given exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analysis/decay/noise_floor.h"
#include "analysis/decay/onset.h"
#include "analysis/decay/parameters.h"
#include "analysis/decay/schroeder.h"
#include "analysis/testing/synthetic.h"

namespace analysis {
namespace {

// The level is the mean energy of the millisecond up to each point (44
// samples here), the peak level the loudest such mean.
TEST(Onset, FirstLevelWithinTwentyDecibelsOfThePeak) {
  const double rate = 44100;
  std::vector<double> e(3000, 0.0);
  EXPECT_FALSE(find_onset(e, rate));
  e[700] = 1.0;  // a sharp direct sound marks the onset to the sample
  ASSERT_TRUE(find_onset(e, rate));
  EXPECT_EQ(find_onset(e, rate)->onset, 700u);
  EXPECT_EQ(find_onset(e, rate)->peak, 700u);
  // Behind it a dense response: one sample 7 dB below its level, alone
  // before it, is no onset (unaveraged it would be) ...
  for (std::size_t i = 701; i < 2000; ++i) e[i] = 0.5;
  e[100] = 0.2;
  EXPECT_EQ(find_onset(e, rate)->onset, 700u);
  // ... while a millisecond of it is, from the third sample on, where the
  // window's mean reaches 1/100 of the loudest (0.5): 3 * 0.2 / 44 >= 0.005.
  for (std::size_t i = 300; i < 344; ++i) e[i] = 0.2;
  EXPECT_EQ(find_onset(e, rate)->onset, 301u);
}

// e(n) = q^n + N from the onset: a decay of 60 dB per second into a floor
// 50 dB down. The floor, the late slope and the crosspoint come out as made.
TEST(NoiseFloor, FindsTheFloorAndWhereTheDecayMeetsIt) {
  const double rate = 10000;
  const double slope_db = -60.0 / rate;  // T = 1 s
  const std::size_t onset = 500;
  for (double floor_db : {-50.0, -70.0}) {
    const double noise = std::pow(10.0, floor_db / 10);
    std::vector<double> e(onset + 30000, 0.0);
    for (std::size_t n = onset; n < e.size(); ++n) {
      e[n] = std::pow(10.0, slope_db * static_cast<double>(n - onset) / 10) + noise;
    }
    const NoiseFloor f = find_noise_floor(e, onset, rate, 0.01);
    ASSERT_TRUE(f.decay_found) << f.problem;
    EXPECT_TRUE(f.floor_reached);
    EXPECT_NEAR(10 * std::log10(f.noise), floor_db, 0.1);
    EXPECT_NEAR(f.late_decay.slope_db / slope_db, 1.0, 0.01);
    const double crosspoint = onset + floor_db / slope_db;  // where q^n = N
    EXPECT_NEAR(static_cast<double>(f.truncation), crosspoint, 0.02 * crosspoint);
  }
  // Without a floor the decay runs to the end: nothing is truncated.
  std::vector<double> e(20000);
  for (std::size_t n = 0; n < e.size(); ++n)
    e[n] = std::pow(10.0, slope_db * static_cast<double>(n) / 10);
  const NoiseFloor f = find_noise_floor(e, 0, rate, 0.01);
  ASSERT_TRUE(f.decay_found);
  EXPECT_FALSE(f.floor_reached);
  EXPECT_EQ(f.truncation, e.size());
  EXPECT_NEAR(f.late_decay.slope_db / slope_db, 1.0, 0.01);
  // A flat signal has no decay; a short one no floor to find.
  EXPECT_FALSE(find_noise_floor(std::vector<double>(5000, 1.0), 0, rate, 0.01).decay_found);
  EXPECT_FALSE(find_noise_floor(std::vector<double>(5, 1.0), 0, rate, 0.01).decay_found);
}

// A decay e(n) = q^n truncated anywhere and completed by its own line sums
// to the closed forms of the discrete series, t = 0 at the onset:
//   E(m..) = q^m / (1 - q),  sum n q^n = q / (1 - q)^2,
// so C(m) = 10 log10((1 - q^m) / q^m), D(m) = 1 - q^m, Ts = q / (1 - q)
// samples; its Schroeder decay is the straight line 10 log10(q) dB a sample.
TEST(DecayEnergy, TruncatedDecayWithItsTailSumsToTheClosedForms) {
  const double rate = 8000;
  const double slope_db = -60.0 / (0.5 * rate);  // T = 0.5 s
  const double q = std::pow(10.0, slope_db / 10);
  const std::size_t onset = 37;
  std::vector<double> e(onset + 6000, 0.0);
  for (std::size_t n = onset; n < e.size(); ++n) e[n] = std::pow(q, static_cast<double>(n - onset));
  for (std::size_t truncation : {onset + 1, onset + 300, onset + 2500, e.size()}) {
    NoiseFloor f;
    f.decay_found = true;
    f.truncation = truncation;
    f.late_decay = {slope_db, -slope_db * static_cast<double>(onset)};  // level 0 dB at the onset
    const DecayEnergy d(e, onset, f);
    EXPECT_NEAR(d.total(), 1.0 / (1.0 - q), 1e-9 / (1.0 - q)) << truncation;
    for (std::size_t m : {0u, 100u, 400u, 640u, 3000u, 9000u}) {
      EXPECT_NEAR(d.decay_db(onset + m), slope_db * static_cast<double>(m), 1e-6) << m;
    }
    const double m50 = 0.050 * rate;
    const double qm = std::pow(q, m50);
    EXPECT_NEAR(clarity_db(d, 0.050, rate), 10 * std::log10((1 - qm) / qm), 1e-6);
    EXPECT_NEAR(definition(d, 0.050, rate), 1 - qm, 1e-9);
    EXPECT_NEAR(centre_time_ms(d, rate), 1000.0 * q / (1 - q) / rate, 1e-6);

    const FitOutcome t30 = fit_decay(d, kT30Range, rate);
    if (truncation - onset < 0.5 * 35.0 / 60.0 * rate) {
      EXPECT_EQ(t30.problem, FitProblem::kNotReached) << truncation;
      continue;
    }
    ASSERT_TRUE(t30.fit) << truncation;
    EXPECT_NEAR(t30.fit->decay_time_s(), 0.5, 1e-6);
    EXPECT_NEAR(t30.fit->correlation, -1.0, 1e-9);
    EXPECT_NEAR(t30.fit->start_s, (onset + 5.0 / -slope_db) / rate, 2.0 / rate);
    EXPECT_NEAR(t30.fit->end_s, (onset + 35.0 / -slope_db) / rate, 2.0 / rate);
  }
}

TEST(Parameters, NamesKeysAndUnits) {
  EXPECT_EQ(parameter_key(Parameter::kEdt), "edt_s");
  EXPECT_EQ(parameter_key(Parameter::kD50), "d50");
  EXPECT_EQ(parameter_key(Parameter::kPnr), "pnr_db");
  EXPECT_EQ(parameter_label(Parameter::kTs), "Ts");
  EXPECT_EQ(parameter_unit(Parameter::kTs), "ms");
  ParameterSet s("why");
  EXPECT_EQ(s[Parameter::kC80].missing, "why");
  s.set(Parameter::kC80, 1.5);
  EXPECT_EQ(s[Parameter::kC80].value, 1.5);
  EXPECT_TRUE(s[Parameter::kC80].missing.empty());
  s.set_missing(Parameter::kC80, "because");
  EXPECT_FALSE(s[Parameter::kC80].value);
}

// An early burst, then nothing but a noise floor of mean square N up to the
// truncation point (with a negligible tail behind it): what is left of the
// late part once N is taken off is the noise's own fluctuation, so the
// clarities are missing with the reason, and so is Ts (the noise's
// fluctuation far out weighs more in the first moment than the burst),
// while D50, whose energies stand clear of it, is given. With a late decay
// that carries real energy above the floor, every value is given.
TEST(EnergyParameters, LateEnergyWithinTheNoiseUncertaintyIsMissing) {
  const double rate = 48000;
  const std::size_t end = 48000, window_from = 40000;
  const double noise = 1e-3;
  testing::Gaussian g(3);
  for (const double late_level : {0.0, 30.0}) {
    std::vector<double> energy(end);
    for (std::size_t n = 0; n < end; ++n) {
      const double x = g.next();
      energy[n] = noise * x * x + (n < 100 ? 1.0 : 0.0) +
                  (n >= 4800 && n < 24000 ? late_level * noise : 0.0);
    }
    NoiseFloor floor;
    floor.decay_found = floor.floor_reached = true;
    floor.noise = noise;
    floor.noise_from = window_from;
    floor.truncation = window_from;
    floor.late_decay = {-1.0, -100.0};  // falls 1 dB a sample from far below
    const DecayEnergy decay(energy, 0, floor);
    NoiseUncertainty u;
    u.noise = noise;
    u.window_independent = static_cast<double>(end - window_from);
    ParameterSet p;
    set_energy_parameters(p, decay, u, rate);
    const bool late = late_level > 0.0;
    for (const auto& [c, t] :
         {std::pair{Parameter::kC50, "50 ms"}, std::pair{Parameter::kC80, "80 ms"}}) {
      EXPECT_EQ(p[c].value.has_value(), late) << parameter_label(c) << ": " << p[c].missing;
      if (!late) {
        EXPECT_EQ(p[c].missing, std::string("the late energy (after ") + t +
                                    ") is within the uncertainty of the noise taken off");
      }
    }
    EXPECT_TRUE(p[Parameter::kD50].value) << p[Parameter::kD50].missing;
    EXPECT_EQ(p[Parameter::kTs].value.has_value(), late) << p[Parameter::kTs].missing;
  }
  // u(L) = L N sqrt(2 / n + 2 / n_L): 1000 samples of a floor measured over
  // 500 independent ones, the part's samples independent too.
  NoiseUncertainty u{2.0, 500.0, 1.0};
  EXPECT_NEAR(u.energy(1000), 1000 * 2.0 * std::sqrt(2.0 / 500 + 2.0 / 1000), 1e-9);
  EXPECT_EQ(NoiseUncertainty{}.energy(1000), 0.0);
}

}  // namespace
}  // namespace analysis
