#include <cmath>
#include <cstring>

#include "formats/byte_order.h"
#include "formats/tim_file.h"

namespace formats {
namespace {

constexpr std::string_view kImpulseTitle =
    "Impulse Response (from gun shot) - Volts";
constexpr std::string_view kWaveformTitle =
    "Waveform (from DAT recording)    - Volts";
constexpr std::string_view kComment =
    "File transferred from a .WAV original file";

// Writes text into a field of `width` bytes at p: the text, then a NUL when
// asked for, then blanks to the end of the field.
void put_text(std::uint8_t* p, std::size_t width, std::string_view text,
              bool nul) {
  std::memset(p, ' ', width);
  const std::size_t n = std::min(text.size(), width);
  // An empty view may hold a null pointer, which memcpy must not be given.
  if (n > 0) std::memcpy(p, text.data(), n);
  if (nul && n < width) p[n] = 0;
}

// Right-aligned integer in `width` columns, blank-filled; asterisks when it
// does not fit.
void put_number(std::string& s, int value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) > width) {
    s.append(static_cast<std::size_t>(width), '*');
  } else {
    s.append(static_cast<std::size_t>(width) - digits.size(), ' ');
    s += digits;
  }
}

}  // namespace

std::array<std::uint8_t, kTimHeadSize> encode_tim_head(const TimHead& head) {
  std::array<std::uint8_t, kTimHeadSize> b{};
  store_i32le(&b[0], kTimFileTag);
  store_i16le(&b[4], head.acquisition_mode);
  store_f32le(&b[6], head.sample_interval_ms);
  store_i32le(&b[10], head.point_count);
  return b;
}

void encode_tim_samples(std::span<const float> samples,
                        std::span<std::uint8_t> out) {
  std::uint8_t* p = out.data();
  for (float x : samples) {
    store_f32le(p, x);
    p += 4;
  }
}

std::int16_t tim_point_order(std::int32_t point_count) {
  // ln(N) is minus infinity for 0 and NaN below: no integer to convert to.
  if (point_count < 1) return 0;
  // Single precision throughout, as the stored values were computed.
  const float ln_n = std::log(static_cast<float>(point_count));
  const float order = ln_n / std::log(2.0f) + 0.4f;
  return static_cast<std::int16_t>(order);
}

std::string format_tim_timestamp(const DateTime& when) {
  std::string s;
  s.reserve(kTimTimestampLength);
  put_number(s, when.day, 2);
  s += '/';
  put_number(s, when.month, 2);
  s += '/';
  put_number(s, when.year, 4);
  s += ' ';
  put_number(s, when.hour, 2);
  s += ':';
  put_number(s, when.minute, 2);
  s += ':';
  put_number(s, when.second, 2);
  return s;
}

std::array<std::uint8_t, kTimTrailerSize> encode_tim_trailer(
    const TimTrailerFields& f) {
  std::array<std::uint8_t, kTimTrailerSize> t{};
  put_text(&t[0], kTimTitleSize,
           f.acquisition_mode == 1 ? kImpulseTitle : kWaveformTitle, true);
  put_text(&t[kTimTitleSize], kTimCommentSize, kComment, true);

  std::uint8_t* b = &t[kTimTitleSize + kTimCommentSize];
  const float rate = static_cast<float>(f.sampling_rate_hz);
  store_i32le(b + 0, 4096);
  store_i16le(b + 4, 0);
  store_f32le(b + 6, rate * 0.001f);         // rate in kHz
  store_f32le(b + 10, rate * 0.00045454546f);  // rate in kHz / 2.2
  store_f32le(b + 14, 1.0f);
  store_i16le(b + 18, 1);
  store_i32le(b + 20, 0);
  store_i16le(b + 24, 0);
  store_i16le(b + 26, 2);
  store_i32le(b + kTimBlockPointCount, f.point_count);
  store_i16le(b + kTimBlockPointOrder, tim_point_order(f.point_count));
  store_f32le(b + 34, 1.0f);
  store_i16le(b + 38, 1);
  store_i32le(b + kTimBlockPointCountAgain, f.point_count);
  store_i16le(b + kTimBlockAcquisitionMode, f.acquisition_mode);
  store_i16le(b + 46, 2);
  store_f32le(b + 56, 1.0f);
  put_text(b + 60, 12, "Volts", true);
  store_f32le(b + 76, 1.0f);
  put_text(b + 80, 12, "Volts", true);
  put_text(b + 124, 12, "msec", true);
  store_f32le(b + 136, 1.0f);
  put_text(b + 140, 12, "Hz", true);
  store_f32le(b + 152, 1000.0f);
  put_text(b + 156, 12, "Ohm", true);
  put_text(b + kTimBlockTimestamp, kTimTimestampLength + 1, f.timestamp, true);
  put_text(b + kTimBlockSourceName, kTimSourceNameLength, f.source_name,
           false);
  store_i16le(b + 560, 1);
  put_text(b + 562, 13, "Unknown", true);
  put_text(b + 575, 9, "Electret", true);
  put_text(b + 584, 9, "00000", true);
  put_text(b + 593, 11, "01/01/1991", true);
  store_f32le(b + 604, 50.0f);
  store_f32le(b + 608, 20.0f);
  store_f32le(b + kTimBlockLevelFactor, f.level_factor);
  return t;
}

}  // namespace formats
