#include <array>
#include <cstring>

#include "formats/byte_order.h"
#include "formats/wave_file.h"

namespace formats {
namespace {

WaveStatus from_read(ReadStatus status) {
  switch (status) {
    case ReadStatus::kOk:
      return WaveStatus::kOk;
    case ReadStatus::kTruncated:
      return WaveStatus::kTruncated;
    case ReadStatus::kIoError:
      break;
  }
  return WaveStatus::kIoError;
}

bool has_id(const std::uint8_t* p, const char (&id)[5]) {
  return std::memcmp(p, id, 4) == 0;
}

// RIFF chunks are padded to an even length; the pad byte is not counted in
// the chunk's size.
std::uint64_t padded(std::uint32_t size) {
  return static_cast<std::uint64_t>(size) + (size & 1u);
}

// The last 14 bytes of the standard sub-format GUIDs
// (xxxxxxxx-0000-0010-8000-00AA00389B71); the first two bytes hold the
// format code.
constexpr std::uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10,
                                        0x00, 0x80, 0x00, 0x00, 0xAA,
                                        0x00, 0x38, 0x9B, 0x71};

// Reads the body of a format chunk of `size` bytes, then passes over the rest
// of the chunk and its pad byte.
WaveStatus read_format_body(ByteSource& source, std::uint32_t size,
                            WaveFormat& format) {
  if (size < 16) return WaveStatus::kFormatChunkTooSmall;
  std::array<std::uint8_t, 40> b{};
  if (auto s = from_read(source.read(std::span(b).first(16)));
      s != WaveStatus::kOk) {
    return s;
  }
  format.format_tag = load_u16le(&b[0]);
  format.channel_count = load_i16le(&b[2]);
  format.sample_rate = load_i32le(&b[4]);
  format.byte_rate = load_i32le(&b[8]);
  format.block_align = load_i16le(&b[12]);
  format.bits_per_sample = load_i16le(&b[14]);
  format.format_code = format.format_tag;
  std::uint32_t consumed = 16;

  if (format.format_tag == kWaveFormatExtensible) {
    // The extension (size field, valid bits, channel mask, sub-format GUID)
    // must be there whole: without it the sample format is unknown.
    if (size < 40) return WaveStatus::kFormatExtensionInvalid;
    if (auto s = from_read(source.read(std::span(b).subspan(16, 24)));
        s != WaveStatus::kOk) {
      return s;
    }
    consumed = 40;
    const std::uint16_t extension_size = load_u16le(&b[16]);
    if (extension_size < 22 || extension_size > size - 18) {
      return WaveStatus::kFormatExtensionInvalid;
    }
    const std::uint8_t* guid = &b[24];
    format.format_code = std::memcmp(guid + 2, kGuidTail, 14) == 0
                             ? load_u16le(guid)
                             : std::uint16_t{0};
  }
  return from_read(source.skip(padded(size) - consumed));
}

}  // namespace

WaveStatus read_wave_format(ByteSource& source, WaveFormat& format) {
  std::array<std::uint8_t, 12> riff;
  if (auto s = from_read(source.read(riff)); s != WaveStatus::kOk) return s;
  if (!has_id(&riff[0], "RIFF")) return WaveStatus::kNotRiff;
  if (!has_id(&riff[8], "WAVE")) return WaveStatus::kNotWave;

  for (;;) {
    std::array<std::uint8_t, 8> chunk;
    if (auto s = from_read(source.read(chunk)); s != WaveStatus::kOk) return s;
    const std::uint32_t size = load_u32le(&chunk[4]);
    if (has_id(&chunk[0], "fmt ")) return read_format_body(source, size, format);
    if (has_id(&chunk[0], "data")) return WaveStatus::kNoFormatChunk;
    if (auto s = from_read(source.skip(padded(size))); s != WaveStatus::kOk) {
      return s;
    }
  }
}

WaveStatus check_wave_format(const WaveFormat& format) {
  if (format.format_code != kWaveFormatPcm) return WaveStatus::kNotPcm;
  if (format.channel_count != 1 && format.channel_count != 2) {
    return WaveStatus::kBadChannelCount;
  }
  if (format.sample_rate <= 0) return WaveStatus::kBadSampleRate;
  if (format.block_align <= 0) return WaveStatus::kBadBlockAlign;
  return WaveStatus::kOk;
}

WaveStatus find_wave_data(ByteSource& source, std::int32_t& data_size) {
  // Each pass consumes at least the 8 bytes of a chunk header, so the walk
  // ends at the end of any file.
  for (;;) {
    std::array<std::uint8_t, 8> chunk;
    if (auto s = from_read(source.read(chunk)); s != WaveStatus::kOk) return s;
    if (has_id(&chunk[0], "data")) {
      data_size = load_i32le(&chunk[4]);
      return data_size < 0 ? WaveStatus::kNegativeDataSize : WaveStatus::kOk;
    }
    if (auto s = from_read(source.skip(padded(load_u32le(&chunk[4]))));
        s != WaveStatus::kOk) {
      return s;
    }
  }
}

std::string_view wave_status_message(WaveStatus status) {
  switch (status) {
    case WaveStatus::kOk:
      return "";
    case WaveStatus::kTruncated:
      return "The input file ends too early!";
    case WaveStatus::kIoError:
      return "The input file could not be read!";
    case WaveStatus::kNotRiff:
      return "The input file is not a RIFF file!";
    case WaveStatus::kNotWave:
      return "The input file is not a WAVE file!";
    case WaveStatus::kNoFormatChunk:
      return "The input file has no format chunk before its data!";
    case WaveStatus::kFormatChunkTooSmall:
      return "The format chunk of the input file is too small!";
    case WaveStatus::kFormatExtensionInvalid:
      return "The format extension of the input file is incomplete!";
    case WaveStatus::kNotPcm:
      return "The input file must be PCM!";
    case WaveStatus::kBadChannelCount:
      return "The input file must have 1 or 2 channels!";
    case WaveStatus::kBadSampleRate:
      return "The sampling rate of the input file must be positive!";
    case WaveStatus::kBadBlockAlign:
      return "The block align of the input file must be positive!";
    case WaveStatus::kNegativeDataSize:
      return "The data chunk of the input file is too large!";
  }
  return "The input file cannot be used!";
}

}  // namespace formats
