#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <string_view>

#include "formats/byte_order.h"
#include "formats/tim_file.h"

namespace formats {
namespace {

// A text field of a trailer: up to its first NUL, without trailing blanks.
std::string field_text(const std::uint8_t* p, std::size_t width) {
  std::string_view text(reinterpret_cast<const char*>(p), width);
  text = text.substr(0, text.find('\0'));
  const std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(0, last == std::string_view::npos ? 0 : last + 1));
}

}  // namespace

ReadStatus read_tim_head(ByteSource& source, TimHead& head) {
  std::array<std::uint8_t, kTimHeadSize> b;
  const ReadStatus status = source.read(b);
  if (status != ReadStatus::kOk) return status;
  head.acquisition_mode = load_i16le(&b[4]);
  head.sample_interval_ms = load_f32le(&b[6]);
  head.point_count = load_i32le(&b[10]);
  return ReadStatus::kOk;
}

ReadStatus read_tim_samples_portable(ByteSource& source,
                                     std::span<float> samples) {
  constexpr std::size_t kBlock = 1024;
  std::array<std::uint8_t, 4 * kBlock> buffer;
  for (std::size_t done = 0; done < samples.size();) {
    const std::size_t n = std::min(kBlock, samples.size() - done);
    const ReadStatus status = source.read(std::span(buffer).first(4 * n));
    if (status != ReadStatus::kOk) return status;
    const std::uint8_t* p = buffer.data();
    float* out = samples.data() + done;
    for (std::size_t i = 0; i < n; ++i, p += 4) out[i] = load_f32le(p);
    done += n;
  }
  return ReadStatus::kOk;
}

ReadStatus read_tim_samples(ByteSource& source, std::span<float> samples) {
  if (samples.empty()) return ReadStatus::kOk;  // no read, as in the portable loop
  if constexpr (std::endian::native == std::endian::little &&
                sizeof(float) == 4 && std::numeric_limits<float>::is_iec559) {
    // Reading the bytes of floats through unsigned char is allowed aliasing.
    return source.read(std::span(reinterpret_cast<std::uint8_t*>(samples.data()),
                                 samples.size_bytes()));
  } else {
    return read_tim_samples_portable(source, samples);
  }
}

TimTrailerInfo decode_tim_trailer(std::span<const std::uint8_t, kTimTrailerSize> trailer) {
  const std::uint8_t* t = trailer.data();
  const std::uint8_t* b = t + kTimTitleSize + kTimCommentSize;
  TimTrailerInfo info;
  info.title = field_text(t, kTimTitleSize);
  info.comment = field_text(t + kTimTitleSize, kTimCommentSize);
  info.timestamp = field_text(b + kTimBlockTimestamp, kTimTimestampLength + 1);
  info.source_name = field_text(b + kTimBlockSourceName, kTimSourceNameLength);
  info.sampling_rate_khz = load_f32le(b + kTimBlockRateKhz);
  info.point_count = load_i32le(b + kTimBlockPointCount);
  info.acquisition_mode = load_i16le(b + kTimBlockAcquisitionMode);
  info.level_factor = load_f32le(b + kTimBlockLevelFactor);
  return info;
}

}  // namespace formats
