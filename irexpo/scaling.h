// The arithmetic of the TIM-to-WAVE conversion: the common peak of the
// samples, the samples scaled by it to 16 bits, and the WAVE sampling rate
// from a .TIM sample interval.
// Pure functions; the run refuses the inputs they cannot serve.
#ifndef IREXPO_SCALING_H_
#define IREXPO_SCALING_H_

#include <cstdint>
#include <optional>
#include <span>

namespace irexpo {

// Rounds half away from zero: v + 0.5 truncated when v >= 0, else v - 0.5
// truncated (2.5 -> 3, -2.5 -> -3).
double round_half_away(double v);

// x / peak x 32767 in double precision, rounded half away from zero. With
// |x| <= peak the result lies in -32767..32767, so the peak maps to +-32767
// and never to -32768. A peak of 0 (silence) gives 0.
//
// v + 0.5 itself rounds up to a whole number, and so truncates to one too
// many, for one v only: the double just below 0.5 (0.5 - 2^-54), likewise
// v - 0.5 for its negative. No quotient of two floats times 32767 is that
// double (a search over every float mantissa of the peak finds none), so for
// every input this is exact rounding half away from zero.
inline std::int16_t scale_to_pcm16(float x, float peak) {
  if (peak == 0.0f) return 0;  // every sample is zero: nothing to divide by
  const double v = static_cast<double>(x) / static_cast<double>(peak) * 32767.0;
  // |v| <= 32767, so converting to int truncates toward zero as
  // round_half_away does, without a call per sample.
  return static_cast<std::int16_t>(v >= 0.0 ? static_cast<int>(v + 0.5)
                                            : static_cast<int>(v - 0.5));
}

// The larger of `peak` and the largest |x| over `samples`; nullopt when a
// sample is not a finite number (NaN or infinite). `peak` is finite and not
// negative. On hosts with SSE2 four samples go through a vector register at
// a time; elsewhere this is peak_magnitude_portable.
std::optional<float> peak_magnitude(std::span<const float> samples, float peak);
std::optional<float> peak_magnitude_portable(std::span<const float> samples,
                                             float peak);

// 16-bit little-endian PCM frames of samples scaled by scale_to_pcm16: for
// each index the left sample, then the right one when `right` is not empty
// (stereo, as long as `left`). `out` holds 2 bytes per sample written, and
// every |x| is at most `peak`, as peak_magnitude gives it. On hosts with
// SSE2 eight frames go through vector registers at a time, still divided
// and rounded in double precision; elsewhere this is scale_frames_portable.
void scale_frames(std::span<const float> left, std::span<const float> right,
                  float peak, std::span<std::uint8_t> out);
void scale_frames_portable(std::span<const float> left,
                           std::span<const float> right, float peak,
                           std::span<std::uint8_t> out);

// Why a sample interval cannot give a WAVE sampling rate.
enum class RateProblem {
  kNotPositive,  // 0, negative, or not a number at all
  kTooSmall,     // the rate (or its byte rate) does not fit 32 bits
  kTooLarge,     // the rate rounds to 0 Hz
};

struct Rate {
  std::int32_t hz = 0;
  std::optional<RateProblem> problem;
};

// 1000 / interval_ms in double precision, rounded half away from zero.
// The rate must be at least 1 Hz and block_align x rate must fit a signed
// 32-bit integer (the byte rate of the WAVE header).
Rate sampling_rate(float interval_ms, int block_align);

}  // namespace irexpo

#endif  // IREXPO_SCALING_H_
