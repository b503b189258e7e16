// For tests: synthetic impulse responses with a known decay, and the
// parameters of an ideal exponential decay in closed form.
//
// An ideal decay with reverberation time T has the energy envelope
//   e(t) = exp(-a t),  a = 6 ln(10) / T = 13.8155 / T
// (60 dB in T seconds; its amplitude falls as exp(-a t / 2)). With t from
// the onset,
//   E(0..tau) = (1 - exp(-a tau)) / a,   E(0..inf) = 1 / a,
// so that
//   C_tau = 10 log10(E(0..tau) / E(tau..inf)) = 10 log10(exp(a tau) - 1),
//   D_tau = E(0..tau) / E(0..inf)           = 1 - exp(-a tau),
//   Ts    = int t e(t) dt / int e(t) dt     = 1 / a,
// and its Schroeder decay 10 log10(E(t..inf) / E(0..inf)) = -60 t / T is
// a straight line: EDT, T20 and T30 all equal T.
#ifndef ANALYSIS_TESTING_SYNTHETIC_H_
#define ANALYSIS_TESTING_SYNTHETIC_H_

#include <cstdint>
#include <vector>

namespace analysis::testing {

inline constexpr double kSixLn10 = 13.815510557964274;  // 6 ln 10

double decay_constant(double t60_s);  // a = 6 ln 10 / T
double ideal_clarity_db(double t60_s, double tau_s);
double ideal_definition(double t60_s, double tau_s);
double ideal_centre_time_ms(double t60_s);

// Normal variates from a 64-bit linear congruential generator through the
// Box-Muller transform: the same numbers on every host and compiler.
class Gaussian {
 public:
  explicit Gaussian(std::uint64_t seed) : state_(seed) {}
  double next();

 private:
  double uniform();  // in (0, 1)
  std::uint64_t state_;
  bool has_spare_ = false;
  double spare_ = 0.0;
};

struct Tone {
  double frequency_hz;
  double t60_s;
  double amplitude;
};

// The sum of amplitude * sin(2 pi f t) * exp(-a t / 2) over the tones, with
// t counted from the onset at delay_s; zero before it. Each tone's energy
// decays exactly exponentially with its own T.
std::vector<float> decaying_tones(double rate_hz, double length_s, double delay_s,
                                  const std::vector<Tone>& tones);

// Noise of random signs, +-exp(-a t / 2) from the onset at delay_s, zero
// before it: broadband like any noise, but its energy follows the ideal
// decay sample by sample, so the parameters of one realisation are those of
// the ideal decay (Gaussian noise would add a realisation's spread of about
// 0.01 in D50 and 2 % in Ts at 48 kHz, the size of the tolerances).
std::vector<float> decaying_noise(double rate_hz, double length_s, double delay_s,
                                  double t60_s, std::uint64_t seed);

// Adds white Gaussian noise over the whole response whose RMS lies
// below_peak_db under the response's largest magnitude. Returns the noise's
// variance (its mean square).
double add_noise_floor(std::vector<float>& response, double below_peak_db, std::uint64_t seed);

// The bytes of a .TIM file: a head with mode 1, the interval and the point
// count as given (whatever the samples), the samples, and when asked for
// the trailer, stamped " 8/12/2026 16: 5: 0", source "take1.wav", level
// factor 0.125.
std::vector<std::uint8_t> tim_bytes(const std::vector<float>& samples, float interval_ms,
                                    std::int32_t point_count, bool trailer);

// A .TIM file as irgen writes it: the samples padded with zeros to
// point_count (at least their number), the interval 1000 / rate, a trailer.
std::vector<std::uint8_t> tim_file_bytes(const std::vector<float>& samples, int rate_hz,
                                         std::int32_t point_count);

}  // namespace analysis::testing

#endif  // ANALYSIS_TESTING_SYNTHETIC_H_
