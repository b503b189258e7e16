// For tests: WAVE files built byte by byte (so that damaged and unusual
// layouts are easy to make), and the expected bytes of a .TIM file laid out
// field by field, independently of the writer under test.
#ifndef IRGEN_TEST_WAVE_H_
#define IRGEN_TEST_WAVE_H_

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace irgen::test {

using Bytes = std::vector<std::uint8_t>;

inline void put16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void put32(Bytes& b, std::uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}
inline void put_text(Bytes& b, std::string_view text) {
  b.insert(b.end(), text.begin(), text.end());
}
inline void put_f32(Bytes& b, float v) { put32(b, std::bit_cast<std::uint32_t>(v)); }

struct WaveShape {
  int channels = 1;
  int rate = 44100;
  int bits = 16;
  int block_align = -1;         // -1: channels * bits / 8
  std::string extra_chunk;      // a chunk id placed between "fmt " and "data"
  std::uint32_t extra_size = 0;
  std::int64_t data_size = -1;  // -1: the size of the samples given
};

// A WAVE file in the basic 44-byte layout (plus an optional chunk before the
// data), holding `samples` (interleaved) as 16-bit values. With bits other
// than 16 the sample bytes are still written as 16-bit values: the run
// refuses such a file before it looks at them.
inline Bytes make_wave(const WaveShape& shape, const std::vector<std::int16_t>& samples) {
  int align = shape.block_align >= 0 ? shape.block_align : shape.channels * shape.bits / 8;
  std::uint32_t data_size = shape.data_size >= 0
                                ? static_cast<std::uint32_t>(shape.data_size)
                                : static_cast<std::uint32_t>(samples.size() * 2);
  Bytes b;
  put_text(b, "RIFF");
  put32(b, 36 + data_size);
  put_text(b, "WAVEfmt ");
  put32(b, 16);
  put16(b, 1);
  put16(b, static_cast<std::uint32_t>(shape.channels));
  put32(b, static_cast<std::uint32_t>(shape.rate));
  put32(b, static_cast<std::uint32_t>(shape.rate * align));
  put16(b, static_cast<std::uint32_t>(align));
  put16(b, static_cast<std::uint32_t>(shape.bits));
  if (!shape.extra_chunk.empty()) {
    put_text(b, shape.extra_chunk);
    put32(b, shape.extra_size);
    b.insert(b.end(), shape.extra_size, 0x55);
  }
  put_text(b, "data");
  put32(b, data_size);
  for (std::int16_t s : samples) put16(b, static_cast<std::uint16_t>(s));
  return b;
}

// A ramp that uses the whole 16-bit range, so that sign and scale errors show.
inline std::vector<std::int16_t> ramp(std::size_t count, int step = 37) {
  std::vector<std::int16_t> s(count);
  for (std::size_t i = 0; i < count; ++i) {
    s[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(i * step * 53));
  }
  return s;
}

inline void put_padded(Bytes& b, std::string_view text, std::size_t width) {
  put_text(b, text);
  b.insert(b.end(), width - text.size(), ' ');
}

// The expected .TIM file of one channel, laid out field by field.
struct TimSpec {
  std::int16_t mode = 0;
  int rate = 44100;
  std::int32_t points = 2048;
  std::vector<std::int16_t> samples;  // the channel's 16-bit samples
  std::string stamp;                  // 19 characters
  std::string source_field;           // the WAVE name field as held
  float level_factor = 0.0f;
};

inline Bytes expected_tim(const TimSpec& t) {
  Bytes b;
  put32(b, 0xFFFFABCD);
  put16(b, static_cast<std::uint16_t>(t.mode));
  put_f32(b, 1000.0f / static_cast<float>(t.rate));
  put32(b, static_cast<std::uint32_t>(t.points));
  for (std::int32_t i = 0; i < t.points; ++i) {
    float v = i < static_cast<std::int32_t>(t.samples.size())
                  ? static_cast<float>(t.samples[i]) / 32768.0f
                  : 0.0f;
    put_f32(b, v);
  }
  put_text(b, t.mode == 1 ? "Impulse Response (from gun shot) - Volts"
                          : "Waveform (from DAT recording)    - Volts");
  b.push_back(0);
  b.insert(b.end(), 39, ' ');
  put_text(b, "File transferred from a .WAV original file");
  b.push_back(0);
  b.insert(b.end(), 17, ' ');

  Bytes k;  // the parameter block
  put32(k, 4096);
  put16(k, 0);
  put_f32(k, static_cast<float>(t.rate) * 0.0010000000474974513f);
  put_f32(k, static_cast<float>(t.rate) * 0.00045454545761458576f);
  put_f32(k, 1.0f);
  put16(k, 1);
  put32(k, 0);
  put16(k, 0);
  put16(k, 2);
  put32(k, static_cast<std::uint32_t>(t.points));
  int order = t.points == 65535 ? 16 : std::bit_width(static_cast<unsigned>(t.points)) - 1;
  put16(k, static_cast<std::uint32_t>(order));
  put_f32(k, 1.0f);
  put16(k, 1);
  put32(k, static_cast<std::uint32_t>(t.points));
  put16(k, static_cast<std::uint16_t>(t.mode));
  put16(k, 2);
  k.insert(k.end(), 8, 0);
  put_f32(k, 1.0f);
  put_text(k, "Volts");
  k.push_back(0);
  k.insert(k.end(), 6, ' ');
  k.insert(k.end(), 4, 0);
  put_f32(k, 1.0f);
  put_text(k, "Volts");
  k.push_back(0);
  k.insert(k.end(), 6, ' ');
  k.insert(k.end(), 32, 0);
  put_text(k, "msec");
  k.push_back(0);
  k.insert(k.end(), 7, ' ');
  put_f32(k, 1.0f);
  put_text(k, "Hz");
  k.push_back(0);
  k.insert(k.end(), 9, ' ');
  put_f32(k, 1000.0f);
  put_text(k, "Ohm");
  k.push_back(0);
  k.insert(k.end(), 8, ' ');
  k.insert(k.end(), 244, 0);
  put_text(k, t.stamp);
  k.push_back(0);
  k.insert(k.end(), 8, 0);
  put_padded(k, t.source_field.substr(0, 35), 35);
  k.insert(k.end(), 85, 0);
  put16(k, 1);
  put_text(k, "Unknown");
  k.push_back(0);
  k.insert(k.end(), 5, ' ');
  put_text(k, "Electret");
  k.push_back(0);
  put_text(k, "00000");
  k.push_back(0);
  k.insert(k.end(), 3, ' ');
  put_text(k, "01/01/1991");
  k.push_back(0);
  put_f32(k, 50.0f);
  put_f32(k, 20.0f);
  put_f32(k, t.level_factor);
  k.insert(k.end(), 84, 0);
  b.insert(b.end(), k.begin(), k.end());
  return b;
}

// The first offset where two byte strings differ, or -1.
inline long first_difference(const Bytes& a, const Bytes& b) {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] != b[i]) return static_cast<long>(i);
  }
  return a.size() == b.size() ? -1 : static_cast<long>(n);
}

}  // namespace irgen::test

#endif  // IRGEN_TEST_WAVE_H_
