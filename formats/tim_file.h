// The .TIM impulse-response file: one channel of single-precision samples.
//
// Layout, all little-endian, nothing aligned:
//   14-byte head     file_tag (i32, always -21555), acquisition_mode (i16),
//                    sample_interval_ms (f32), point_count N (i32)
//   N samples        f32 each, first sample first
//   840-byte trailer title (80), comment (60), parameter block (700)
//
// The writer side is pure encoding into byte arrays; the caller sends the
// pieces to an OutputFile in order (head, samples, trailer). The reader side
// takes the head and the samples from a ByteSource and looks at nothing
// else: the tag, the trailer and the file length are never checked. A
// trailer can be decoded on its own for display (decode_tim_trailer); the
// converters never read one.
#ifndef FORMATS_TIM_FILE_H_
#define FORMATS_TIM_FILE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "formats/byte_source.h"

namespace formats {

inline constexpr std::int32_t kTimFileTag = -21555;  // bytes CD AB FF FF
inline constexpr std::size_t kTimHeadSize = 14;
inline constexpr std::size_t kTimTrailerSize = 840;
inline constexpr std::size_t kTimTitleSize = 80;
inline constexpr std::size_t kTimCommentSize = 60;
inline constexpr std::size_t kTimBlockSize = 700;

// Where the value fields of the parameter block sit, counted from the start
// of the block (the block follows the title and the comment).
inline constexpr std::size_t kTimBlockRateKhz = 6;
inline constexpr std::size_t kTimBlockPointCount = 28;
inline constexpr std::size_t kTimBlockPointOrder = 32;
inline constexpr std::size_t kTimBlockPointCountAgain = 40;
inline constexpr std::size_t kTimBlockAcquisitionMode = 44;
inline constexpr std::size_t kTimBlockTimestamp = 412;
inline constexpr std::size_t kTimBlockSourceName = 440;
inline constexpr std::size_t kTimBlockLevelFactor = 612;

inline constexpr std::size_t kTimTimestampLength = 19;
inline constexpr std::size_t kTimSourceNameLength = 35;

struct TimHead {
  std::int16_t acquisition_mode = 0;  // 1 = MLS, anything else = scope
  float sample_interval_ms = 0.0f;
  std::int32_t point_count = 0;
};

// Values of the trailer that come from the run; everything else in the
// trailer is constant. Every value is accepted: texts may be empty (their
// fields are then blank) and a point count of 0 or less is stored as given.
struct TimTrailerFields {
  std::int32_t sampling_rate_hz = 0;
  std::int32_t point_count = 0;
  std::int16_t acquisition_mode = 0;  // picks the title; stored unchanged
  std::string_view timestamp;    // 19 characters (format_tim_timestamp)
  std::string_view source_name;  // first 35 characters used, blank-padded
  float level_factor = 0.0f;
};

// Size of a whole file with N samples: 14 + 4 N + 840.
constexpr std::uint64_t tim_file_size(std::int32_t point_count) {
  return kTimHeadSize + 4u * static_cast<std::uint64_t>(point_count) +
         kTimTrailerSize;
}

// File offset of the trailer (the title) and of the parameter block.
constexpr std::uint64_t tim_trailer_offset(std::int32_t point_count) {
  return kTimHeadSize + 4u * static_cast<std::uint64_t>(point_count);
}
constexpr std::uint64_t tim_block_offset(std::int32_t point_count) {
  return tim_trailer_offset(point_count) + kTimTitleSize + kTimCommentSize;
}

// ---- writing ----

std::array<std::uint8_t, kTimHeadSize> encode_tim_head(const TimHead& head);

// Encodes samples.size() floats into out, which must hold 4 bytes per sample.
void encode_tim_samples(std::span<const float> samples,
                        std::span<std::uint8_t> out);

// The 840-byte trailer: the title chosen by acquisition_mode (1 gives the
// impulse-response title, any other value the waveform title), the comment,
// and the parameter block with its constants and the given fields.
std::array<std::uint8_t, kTimTrailerSize> encode_tim_trailer(
    const TimTrailerFields& fields);

// point_order of the parameter block: the integer part of
// ln(N) / ln(2) + 0.4 with ln(N) rounded to single precision first
// (11 for 2048 ... 15 for 32768, 16 for 65535). A count of 0 or less has
// no logarithm and gets 0, the order of a single point.
std::int16_t tim_point_order(std::int32_t point_count);

// Local date and time of writing, as the calendar shows it.
struct DateTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// "dd/mm/yyyy hh:mm:ss" with day, month, hour, minute and second each
// right-aligned in two columns with a leading blank instead of a zero
// (" 8/12/2026  0: 7: 5" style), the year in four columns: always 19
// characters. A value that does not fit its columns shows as asterisks.
std::string format_tim_timestamp(const DateTime& when);

// ---- reading ----

// Reads the 14-byte head. kTruncated when the source ends inside it.
ReadStatus read_tim_head(ByteSource& source, TimHead& head);

// Reads exactly samples.size() samples that follow the head. kTruncated when
// the source holds fewer. On a little-endian host the file's bytes already
// are the floats, so they are read straight into `samples` in one request;
// elsewhere this is read_tim_samples_portable.
ReadStatus read_tim_samples(ByteSource& source, std::span<float> samples);

// The same read for any host: blocks of bytes, each sample assembled with
// shifts. The tests hold read_tim_samples to it.
ReadStatus read_tim_samples_portable(ByteSource& source, std::span<float> samples);

// What a trailer holds, read back for display. Texts end at their first NUL
// (or at the end of their field) and lose their trailing blanks; their
// bytes are otherwise kept as stored, control bytes included. Values are
// taken as stored, whatever they are.
struct TimTrailerInfo {
  std::string title;
  std::string comment;
  std::string timestamp;
  std::string source_name;
  float sampling_rate_khz = 0.0f;
  std::int32_t point_count = 0;
  std::int16_t acquisition_mode = 0;
  float level_factor = 0.0f;
};

// Decodes the 840 bytes of a trailer. Pure: any bytes give a value, so a
// damaged trailer shows as odd texts and numbers rather than a failure.
TimTrailerInfo decode_tim_trailer(std::span<const std::uint8_t, kTimTrailerSize> trailer);

}  // namespace formats

#endif  // FORMATS_TIM_FILE_H_
