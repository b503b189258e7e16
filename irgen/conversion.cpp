#include "irgen/conversion.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "formats/byte_order.h"

namespace irgen {

std::int32_t output_points(std::int32_t input_points) {
  for (std::int32_t points = 2048; points <= 32768; points *= 2) {
    if (input_points <= points) return points;
  }
  return kMaxOutputPoints;
}

namespace {

// Stores v as four little-endian bytes. The value is put in little-endian
// order first, so one 32-bit copy writes the right bytes on any host; unlike
// four single-byte stores it leaves the loop below free to become vector code.
inline void store_le(std::uint8_t* p, std::uint32_t v) {
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap32(v);
  std::memcpy(p, &v, sizeof v);
}

// The frame size is a constant here so that the compiler can turn the loop
// into vector code for the two layouts that occur.
template <std::size_t kFrameBytes>
std::uint64_t convert_channel(const std::uint8_t* in, std::size_t n,
                              std::uint8_t* out) {
  std::uint64_t squares = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::int16_t s = formats::load_i16le(in + i * kFrameBytes);
    const std::int32_t wide = s;
    squares += static_cast<std::uint32_t>(wide * wide);
    store_le(out + i * 4, std::bit_cast<std::uint32_t>(sample_value(s)));
  }
  return squares;
}

}  // namespace

std::uint64_t convert_run(std::span<const std::uint8_t> frames,
                          std::size_t frame_bytes, std::size_t channel,
                          std::span<std::uint8_t> out) {
  const std::size_t n = out.size() / 4;
  const std::uint8_t* in = frames.data() + channel * 2;
  return frame_bytes == 2 ? convert_channel<2>(in, n, out.data())
                          : convert_channel<4>(in, n, out.data());
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
