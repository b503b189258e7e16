#include <cstring>

#include "formats/byte_order.h"
#include "formats/wave_file.h"

namespace formats {

std::array<std::uint8_t, kWaveHeaderSize> encode_wave_header(
    std::int16_t channel_count, std::int32_t sample_rate,
    std::int32_t frame_count) {
  // Unsigned arithmetic: a byte rate beyond 32 bits wraps instead of being
  // undefined; the converters keep rates and frame counts far below that.
  const std::uint32_t block_align = 2u * static_cast<std::uint16_t>(channel_count);
  const std::uint32_t byte_rate = block_align * static_cast<std::uint32_t>(sample_rate);
  const std::uint32_t data_size = block_align * static_cast<std::uint32_t>(frame_count);

  std::array<std::uint8_t, kWaveHeaderSize> h{};
  std::memcpy(&h[0], "RIFF", 4);
  store_u32le(&h[4], data_size + 36);
  std::memcpy(&h[8], "WAVEfmt ", 8);
  store_u32le(&h[16], 16);
  store_u16le(&h[20], kWaveFormatPcm);
  store_i16le(&h[22], channel_count);
  store_i32le(&h[24], sample_rate);
  store_u32le(&h[28], byte_rate);
  store_u16le(&h[32], static_cast<std::uint16_t>(block_align));
  store_u16le(&h[34], 16);
  std::memcpy(&h[36], "data", 4);
  store_u32le(&h[40], data_size);
  return h;
}

void encode_pcm16(std::span<const std::int16_t> samples,
                  std::span<std::uint8_t> out) {
  std::uint8_t* p = out.data();
  for (std::int16_t s : samples) {
    store_i16le(p, s);
    p += 2;
  }
}

}  // namespace formats
