#include "irgen/conversion.h"

#include <bit>
#include <cmath>
#include <limits>

#include "formats/byte_order.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#define IRGEN_SSE2 1
#else
#define IRGEN_SSE2 0
#endif

namespace irgen {

std::int32_t output_points(std::int32_t input_points) {
  for (std::int32_t points = 2048; points <= 32768; points *= 2) {
    if (input_points <= points) return points;
  }
  return kMaxOutputPoints;
}

namespace {

// The portable loop, also used for the frames left over behind the vector
// steps. The frame size is a constant so that each of the two layouts that
// occur gets its own loop.
template <std::size_t kFrameBytes>
std::uint64_t convert_channel(const std::uint8_t* in, std::size_t n,
                              std::uint8_t* out) {
  std::uint64_t squares = 0;
  for (const std::uint8_t* const end = out + 4 * n; out != end;
       in += kFrameBytes, out += 4) {
    const std::int16_t s = formats::load_i16le(in);
    const std::int32_t wide = s;
    squares += static_cast<std::uint32_t>(wide * wide);
    formats::store_f32le(out, sample_value(s));
  }
  return squares;
}

#if IRGEN_SSE2

// x86 is little-endian: the 16-bit samples and the floats are loaded and
// stored in the files' byte order as they are.

// Four samples, sign-extended to 32 bits, stored as s / 32768 in 16 bytes.
// Both steps are exact, as in sample_value.
inline void store_reals(std::uint8_t* out, __m128i s) {
  const __m128 real = _mm_mul_ps(_mm_cvtepi32_ps(s), _mm_set1_ps(1.0f / 32768.0f));
  _mm_storeu_ps(reinterpret_cast<float*>(out), real);
}

// Adds the squares of eight 16-bit samples to the two 64-bit lanes of `sum`.
// Each 32-bit sum of two squares is at most 2^31, which only fits unsigned,
// so it is widened before anything else is added to it.
inline __m128i add_squares(__m128i sum, __m128i s) {
  const __m128i pairs = _mm_madd_epi16(s, s);
  const __m128i zero = _mm_setzero_si128();
  sum = _mm_add_epi64(sum, _mm_unpacklo_epi32(pairs, zero));
  return _mm_add_epi64(sum, _mm_unpackhi_epi32(pairs, zero));
}

inline std::uint64_t lane_total(__m128i sum) {
  alignas(16) std::uint64_t lanes[2];
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes), sum);
  return lanes[0] + lanes[1];
}

// Mono: eight samples in each 16-byte load.
std::uint64_t convert_mono(const std::uint8_t* in, std::size_t n,
                           std::uint8_t* out) {
  __m128i sum = _mm_setzero_si128();
  const std::size_t vector_n = n & ~std::size_t{7};
  for (std::size_t i = 0; i < vector_n; i += 8) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 2 * i));
    store_reals(out + 4 * i, _mm_srai_epi32(_mm_unpacklo_epi16(s, s), 16));
    store_reals(out + 4 * i + 16, _mm_srai_epi32(_mm_unpackhi_epi16(s, s), 16));
    sum = add_squares(sum, s);
  }
  return lane_total(sum) +
         convert_channel<2>(in + 2 * vector_n, n - vector_n, out + 4 * vector_n);
}

// Stereo: four frames in each 16-byte load, left in the low half of each
// 32-bit lane and right in the high half.
template <std::size_t kChannel>
inline __m128i channel_of(__m128i frames) {
  if constexpr (kChannel == 0) frames = _mm_slli_epi32(frames, 16);
  return _mm_srai_epi32(frames, 16);
}

template <std::size_t kChannel>
std::uint64_t convert_stereo(const std::uint8_t* frames, std::size_t n,
                             std::uint8_t* out) {
  __m128i sum = _mm_setzero_si128();
  const std::size_t vector_n = n & ~std::size_t{7};
  for (std::size_t i = 0; i < vector_n; i += 8) {
    const auto* p = reinterpret_cast<const __m128i*>(frames + 4 * i);
    const __m128i a = channel_of<kChannel>(_mm_loadu_si128(p));
    const __m128i b = channel_of<kChannel>(_mm_loadu_si128(p + 1));
    store_reals(out + 4 * i, a);
    store_reals(out + 4 * i + 16, b);
    sum = add_squares(sum, _mm_packs_epi32(a, b));
  }
  return lane_total(sum) + convert_channel<4>(frames + 4 * vector_n + 2 * kChannel,
                                              n - vector_n, out + 4 * vector_n);
}

#endif  // IRGEN_SSE2

}  // namespace

std::uint64_t convert_run_portable(std::span<const std::uint8_t> frames,
                                   std::size_t frame_bytes, std::size_t channel,
                                   std::span<std::uint8_t> out) {
  const std::size_t n = out.size() / 4;
  const std::uint8_t* in = frames.data() + channel * 2;
  return frame_bytes == 2 ? convert_channel<2>(in, n, out.data())
                          : convert_channel<4>(in, n, out.data());
}

std::uint64_t convert_run(std::span<const std::uint8_t> frames,
                          std::size_t frame_bytes, std::size_t channel,
                          std::span<std::uint8_t> out) {
#if IRGEN_SSE2
  const std::size_t n = out.size() / 4;
  if (frame_bytes == 2) return convert_mono(frames.data(), n, out.data());
  return channel == 0 ? convert_stereo<0>(frames.data(), n, out.data())
                      : convert_stereo<1>(frames.data(), n, out.data());
#else
  return convert_run_portable(frames, frame_bytes, channel, out);
#endif
}

Level channel_level(float energy, std::int16_t acquisition_mode,
                    float expected_spl, std::int32_t output_points) {
  if (!(energy > 0.0f)) {
    return {-std::numeric_limits<float>::infinity(), 0.0f};
  }
  // The constants are the single-precision values of 2e-5, 0.05 and 1e-5.
  const double p = static_cast<double>(2e-5f);
  const float t = static_cast<float>(2.0 * std::log10(p));
  const double e = energy;
  float level;
  double scale;
  if (acquisition_mode == kModeMls) {
    level = static_cast<float>(10.0 * (std::log10(e) - t));
    scale = static_cast<double>(1e-5f);
  } else {
    const float n = static_cast<float>(output_points);
    level = static_cast<float>(10.0 * (std::log10(e / n) - t));
    scale = p;
  }
  const double exponent =
      (static_cast<double>(level) - expected_spl) * static_cast<double>(0.05f);
  const double factor = std::pow(10.0, exponent) * scale;
  // Beyond the single range the factor becomes infinite, never a wrapped value.
  return {level, static_cast<float>(factor)};
}

}  // namespace irgen
