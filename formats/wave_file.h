// RIFF WAVE files holding 16-bit PCM samples.
//
// Writing produces exactly one layout: a 44-byte header (RIFF header, a
// 16-byte format chunk, the data chunk header) followed by the frames.
//
// Reading takes three steps so that the caller can refuse a file at the
// right moment:
//   1. read_wave_format  the RIFF header and the format chunk; the bits per
//                        sample are known before any further chunk is looked at
//   2. check_wave_format the refusals of a format the converters cannot use
//                        (the bit depth excepted: the caller refuses that first)
//   3. find_wave_data    the chunk walk to the "data" chunk; the source is then
//                        positioned at the first sample
// Chunks before the format chunk are passed over. The format chunk is read by
// its declared size (16, 18 with an extension size, 40 and more for
// WAVE_FORMAT_EXTENSIBLE), and the pad byte behind an odd-sized chunk is
// skipped. Errors are values: a file that ends early gives kTruncated, a
// read failure kIoError, a damaged or unusable file a refusal status whose
// message wave_status_message() gives.
#ifndef FORMATS_WAVE_FILE_H_
#define FORMATS_WAVE_FILE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "formats/byte_source.h"

namespace formats {

inline constexpr std::size_t kWaveHeaderSize = 44;
inline constexpr std::uint16_t kWaveFormatPcm = 1;
inline constexpr std::uint16_t kWaveFormatExtensible = 0xFFFE;

enum class WaveStatus {
  kOk,
  kTruncated,  // the file ends before the header, a chunk or the data
  kIoError,    // reading failed
  // Refusals: the file was read but cannot be used.
  kNotRiff,                 // does not start with "RIFF"
  kNotWave,                 // the RIFF form is not "WAVE"
  kNoFormatChunk,           // "data" comes before any "fmt " chunk
  kFormatChunkTooSmall,     // the format chunk holds fewer than 16 bytes
  kFormatExtensionInvalid,  // WAVE_FORMAT_EXTENSIBLE without a whole extension
  kNotPcm,                  // format code (or sub-format) is not integer PCM
  kBadChannelCount,         // channel count other than 1 or 2
  kBadSampleRate,           // sample rate of 0 or less
  kBadBlockAlign,           // block align of 0 or less
  kNegativeDataSize,        // data chunk size beyond the signed 32-bit range
};

// The values of the format chunk as stored. For WAVE_FORMAT_EXTENSIBLE,
// format_code is the code of the sub-format (1 for PCM), or 0 when the
// sub-format is not one of the standard ones.
struct WaveFormat {
  std::uint16_t format_tag = 0;   // as stored in the chunk
  std::uint16_t format_code = 0;  // effective code, see above
  std::int16_t channel_count = 0;
  std::int32_t sample_rate = 0;
  std::int32_t byte_rate = 0;
  std::int16_t block_align = 0;
  std::int16_t bits_per_sample = 0;
};

// ---- writing ----

// The 44-byte header for frame_count frames of 16-bit PCM:
// block align = 2 x channels, byte rate = block align x rate,
// data size = block align x frames, RIFF size = data size + 36.
std::array<std::uint8_t, kWaveHeaderSize> encode_wave_header(
    std::int16_t channel_count, std::int32_t sample_rate,
    std::int32_t frame_count);

// Encodes 16-bit samples (already interleaved, left before right) into out,
// which must hold 2 bytes per sample.
void encode_pcm16(std::span<const std::int16_t> samples,
                  std::span<std::uint8_t> out);

// ---- reading ----

// Step 1: reads the RIFF header and the chunks up to and including the
// format chunk (and its pad byte). Possible results: kOk, kTruncated,
// kIoError, kNotRiff, kNotWave, kNoFormatChunk, kFormatChunkTooSmall,
// kFormatExtensionInvalid. On kOk every field of format is set.
WaveStatus read_wave_format(ByteSource& source, WaveFormat& format);

// Step 2: kOk, or the first of kNotPcm, kBadChannelCount, kBadSampleRate,
// kBadBlockAlign that applies. The bits per sample are not checked here.
WaveStatus check_wave_format(const WaveFormat& format);

// Step 3: walks the chunks that follow the format chunk until the "data"
// chunk (identifiers compared byte for byte) and sets data_size to its
// declared size; the source is then at the first sample. Chunks are skipped
// by their declared size plus the pad byte of an odd size. Possible results:
// kOk, kTruncated (no "data" chunk before the end), kIoError,
// kNegativeDataSize.
WaveStatus find_wave_data(ByteSource& source, std::int32_t& data_size);

// Frames declared by the data chunk: data_size / block_align, truncated
// toward zero. block_align must be positive.
constexpr std::int32_t wave_frame_count(std::int32_t data_size,
                                        std::int16_t block_align) {
  return data_size / block_align;
}

// A short sentence naming a refusal, for the converters' "ERROR - " line
// (e.g. "The input file is not a RIFF file!"). Empty for kOk.
std::string_view wave_status_message(WaveStatus status);

}  // namespace formats

#endif  // FORMATS_WAVE_FILE_H_
