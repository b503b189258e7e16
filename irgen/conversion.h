// The arithmetic of the WAVE-to-TIM conversion: how many points a .TIM file
// gets, how a 16-bit sample becomes a real, and the level factor that ties a
// channel's energy to the expected sound pressure level.
#ifndef IRGEN_CONVERSION_H_
#define IRGEN_CONVERSION_H_

#include <cstddef>
#include <cstdint>
#include <span>

namespace irgen {

// The largest point count of a .TIM file written by irgen (not 65536).
inline constexpr std::int32_t kMaxOutputPoints = 65535;

// The smallest of 2048, 4096, 8192, 16384 and 32768 that holds
// `input_points`; 65535 above 32768.
std::int32_t output_points(std::int32_t input_points);

// Frames actually read: the smaller of the two counts.
inline std::int32_t points_read(std::int32_t input_points,
                                std::int32_t output_points) {
  return input_points < output_points ? input_points : output_points;
}

// s / 32768 in single precision: -32768 gives -1.0, 32767 0.999969482421875.
inline float sample_value(std::int16_t s) {
  return static_cast<float>(s) * (1.0f / 32768.0f);
}

// Converts one channel of a run of 16-bit frames: the sample at byte
// `channel * 2` of each `frame_bytes`-byte frame becomes sample_value(s),
// stored as a little-endian float in `out` (4 bytes per frame). Returns the
// sum of the squared 16-bit values, the channel's energy in units of 2^-30.
// `frame_bytes` is 2 (mono, channel 0) or 4 (stereo, channel 0 or 1), and
// `frames` holds at least out.size() / 4 frames.
//
// On hosts with SSE2 (every x86-64) eight frames at a time go through vector
// registers; elsewhere this is convert_run_portable.
std::uint64_t convert_run(std::span<const std::uint8_t> frames,
                          std::size_t frame_bytes, std::size_t channel,
                          std::span<std::uint8_t> out);

// The same conversion one sample at a time, every value assembled from bytes
// with shifts: the result does not depend on the host. The tests hold
// convert_run to it.
std::uint64_t convert_run_portable(std::span<const std::uint8_t> frames,
                                   std::size_t frame_bytes, std::size_t channel,
                                   std::span<std::uint8_t> out);

// The energy E of a channel from the sum of its squared 16-bit values: the
// sum of the squares of its reals s/32768, rounded to single precision.
// Every square is a multiple of 2^-30 and at most 1, so up to 65535 of them
// add up exactly in a double whatever the order: this is the double-precision
// sum of the squared reals, bit for bit.
inline float channel_energy(std::uint64_t squared_sum) {
  return static_cast<float>(static_cast<double>(squared_sum) * 0x1p-30);
}

// The acquisition mode that selects the MLS title and formula; every other
// value is a scope acquisition.
inline constexpr std::int16_t kModeMls = 1;

struct Level {
  float level_db = 0.0f;      // L, working value only
  float level_factor = 0.0f;  // written to the .TIM trailer
};

// The level of a channel whose summed squares, rounded to single precision,
// are `energy`:
//   MLS    L = 10 (log10(E) - T)         factor = 10^((L - spl) 0.05) 1e-5
//   scope  L = 10 (log10(E / N) - T)     factor = 10^((L - spl) 0.05) 2e-5
// with T = 2 log10(2e-5) and N = `output_points`. E, T, N and L are single
// precision, the rest is computed in double. A silent channel (E = 0) has no
// level; its factor is 0.0 and level_db is minus infinity. The factor may be
// infinite when `expected_spl` is far below the level: the caller checks it.
Level channel_level(float energy, std::int16_t acquisition_mode,
                    float expected_spl, std::int32_t output_points);

}  // namespace irgen

#endif  // IRGEN_CONVERSION_H_
