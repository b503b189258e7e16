#include "irexpo/scaling.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "formats/byte_order.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#define IREXPO_SSE2 1
#else
#define IREXPO_SSE2 0
#endif

namespace irexpo {

double round_half_away(double v) {
  return v >= 0.0 ? std::trunc(v + 0.5) : std::trunc(v - 0.5);
}

std::optional<float> peak_magnitude_portable(std::span<const float> samples,
                                             float peak) {
  for (float x : samples) {
    const float magnitude = std::fabs(x);
    if (!(magnitude <= std::numeric_limits<float>::max())) return std::nullopt;
    if (magnitude > peak) peak = magnitude;
  }
  return peak;
}

void scale_frames_portable(std::span<const float> left,
                           std::span<const float> right, float peak,
                           std::span<std::uint8_t> out) {
  std::uint8_t* p = out.data();
  if (right.empty()) {
    for (float x : left) {
      formats::store_i16le(p, scale_to_pcm16(x, peak));
      p += 2;
    }
    return;
  }
  for (std::size_t i = 0; i < left.size(); ++i, p += 4) {
    formats::store_i16le(p, scale_to_pcm16(left[i], peak));
    formats::store_i16le(p + 2, scale_to_pcm16(right[i], peak));
  }
}

#if IREXPO_SSE2

namespace {

// x86 is little-endian: the 16-bit results are stored as they are.

// Two samples x / peak x 32767, then rounded half away from zero: v plus 0.5
// with the sign of v, truncated. This is v + 0.5 truncated for v >= 0 and
// v - 0.5 truncated for v < 0 (and 0 for -0.0), as scale_to_pcm16 rounds.
// Two 32-bit results in the low half.
inline __m128i scale2(__m128d x, __m128d peak) {
  const __m128d v = _mm_mul_pd(_mm_div_pd(x, peak), _mm_set1_pd(32767.0));
  const __m128d half = _mm_or_pd(_mm_and_pd(v, _mm_set1_pd(-0.0)), _mm_set1_pd(0.5));
  return _mm_cvttpd_epi32(_mm_add_pd(v, half));
}

// Eight samples as eight 16-bit values. They lie in -32767..32767, so the
// saturating pack leaves them as they are.
inline __m128i scale8(const float* x, __m128d peak) {
  const __m128 a = _mm_loadu_ps(x);
  const __m128 b = _mm_loadu_ps(x + 4);
  const __m128i a_lo = scale2(_mm_cvtps_pd(a), peak);
  const __m128i a_hi = scale2(_mm_cvtps_pd(_mm_movehl_ps(a, a)), peak);
  const __m128i b_lo = scale2(_mm_cvtps_pd(b), peak);
  const __m128i b_hi = scale2(_mm_cvtps_pd(_mm_movehl_ps(b, b)), peak);
  return _mm_packs_epi32(_mm_unpacklo_epi64(a_lo, a_hi),
                         _mm_unpacklo_epi64(b_lo, b_hi));
}

}  // namespace

std::optional<float> peak_magnitude(std::span<const float> samples, float peak) {
  const std::size_t vector_n = samples.size() & ~std::size_t{3};
  const float* x = samples.data();
  const __m128 magnitude_bits = _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff));
  __m128 top = _mm_set1_ps(peak);
  // A lane turns all ones, itself a NaN, at the first NaN and stays so.
  __m128 unordered = _mm_setzero_ps();
  for (std::size_t i = 0; i < vector_n; i += 4) {
    const __m128 v = _mm_loadu_ps(x + i);
    unordered = _mm_cmpunord_ps(unordered, v);
    top = _mm_max_ps(top, _mm_and_ps(v, magnitude_bits));
  }
  if (_mm_movemask_ps(unordered) != 0) return std::nullopt;
  top = _mm_max_ps(top, _mm_movehl_ps(top, top));
  top = _mm_max_ps(top, _mm_shuffle_ps(top, top, 1));
  const float vector_peak = _mm_cvtss_f32(top);
  // An infinite sample has become the peak.
  if (!(vector_peak <= std::numeric_limits<float>::max())) return std::nullopt;
  return peak_magnitude_portable(samples.subspan(vector_n), vector_peak);
}

void scale_frames(std::span<const float> left, std::span<const float> right,
                  float peak, std::span<std::uint8_t> out) {
  if (peak == 0.0f) {  // silence, every sample 0: nothing to divide by
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    return;
  }
  const std::size_t vector_n = left.size() & ~std::size_t{7};
  const __m128d divisor = _mm_set1_pd(peak);
  std::uint8_t* p = out.data();
  if (right.empty()) {
    for (std::size_t i = 0; i < vector_n; i += 8, p += 16) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(p), scale8(&left[i], divisor));
    }
  } else {
    for (std::size_t i = 0; i < vector_n; i += 8, p += 32) {
      const __m128i l = scale8(&left[i], divisor);
      const __m128i r = scale8(&right[i], divisor);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_unpacklo_epi16(l, r));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 16), _mm_unpackhi_epi16(l, r));
    }
    right = right.subspan(vector_n);
  }
  scale_frames_portable(left.subspan(vector_n), right, peak,
                        out.subspan(static_cast<std::size_t>(p - out.data())));
}

#else

std::optional<float> peak_magnitude(std::span<const float> samples, float peak) {
  return peak_magnitude_portable(samples, peak);
}

void scale_frames(std::span<const float> left, std::span<const float> right,
                  float peak, std::span<std::uint8_t> out) {
  scale_frames_portable(left, right, peak, out);
}

#endif  // IREXPO_SSE2

Rate sampling_rate(float interval_ms, int block_align) {
  Rate rate;
  if (!(interval_ms > 0.0f) || !std::isfinite(interval_ms)) {
    rate.problem = RateProblem::kNotPositive;
    return rate;
  }
  const double hz = round_half_away(1000.0 / static_cast<double>(interval_ms));
  const double limit =
      static_cast<double>(std::numeric_limits<std::int32_t>::max()) / block_align;
  if (hz > limit) {
    rate.problem = RateProblem::kTooSmall;
  } else if (hz < 1.0) {
    rate.problem = RateProblem::kTooLarge;
  } else {
    rate.hz = static_cast<std::int32_t>(hz);
  }
  return rate;
}

}  // namespace irexpo
