#include "irgen/conversion.h"

#include <bit>
#include <cmath>
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

// The frame size is a constant so that each of the two layouts that occur
// gets its own loop. In this scalar loop GCC merges the four byte stores of
// store_f32le into one word store (see CMakeLists.txt).
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
