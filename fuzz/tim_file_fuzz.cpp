// The .TIM reader on arbitrary bytes, as irexpo uses it: the head, then the
// point count the head promises, at most one channel's capacity. A file
// either reads back bit for bit what the writer makes of the same values, or
// ends with kTruncated exactly when it is too short. The trailer writer gets
// the head's values and texts from the same bytes, any values it accepts.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/byte_source.h"
#include "formats/tim_file.h"
#include "fuzz/property.h"

namespace {

using formats::ReadStatus;
using formats::TimHead;

// Samples one channel of irexpo holds.
constexpr std::int32_t kCapacity = 65536;

std::uint32_t bits_at(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::string_view text_at(std::span<const std::uint8_t> b, std::size_t at,
                         std::size_t n) {
  return {reinterpret_cast<const char*>(b.data() + at), n};
}

// A text field as the writer lays it out: the text cut to the width, a NUL
// when asked for and room is left, blanks to the end.
std::string field(std::string_view text, std::size_t width, bool nul) {
  std::string f(text.substr(0, width));
  if (nul && f.size() < width) f.push_back('\0');
  f.resize(width, ' ');
  return f;
}

void check_trailer(const TimHead& head, std::string_view timestamp,
                   std::string_view source_name) {
  formats::TimTrailerFields fields;
  fields.sampling_rate_hz = std::bit_cast<std::int32_t>(head.sample_interval_ms);
  fields.point_count = head.point_count;
  fields.acquisition_mode = head.acquisition_mode;
  fields.timestamp = timestamp;
  fields.source_name = source_name;
  fields.level_factor = head.sample_interval_ms;
  const auto t = formats::encode_tim_trailer(fields);
  const std::span<const std::uint8_t> b(t);
  const std::size_t k = formats::kTimTitleSize + formats::kTimCommentSize;

  FUZZ_REQUIRE(text_at(b, 0, 16) ==
               (head.acquisition_mode == 1 ? "Impulse Response" : "Waveform (from D"));
  FUZZ_REQUIRE(static_cast<std::int32_t>(bits_at(&b[k + formats::kTimBlockPointCount])) ==
               head.point_count);
  FUZZ_REQUIRE(static_cast<std::int32_t>(bits_at(&b[k + formats::kTimBlockPointCountAgain])) ==
               head.point_count);
  const std::int16_t order = formats::tim_point_order(head.point_count);
  FUZZ_REQUIRE(order >= 0 && order <= 31);
  FUZZ_REQUIRE((b[k + formats::kTimBlockPointOrder] | b[k + formats::kTimBlockPointOrder + 1] << 8) ==
               order);
  if (head.point_count >= 1) {
    // order = floor(log2 N + 0.4): 2^order <= N 2^0.4 < 2^(order + 1), give
    // or take the single-precision rounding of the logarithm.
    const double scaled = head.point_count * std::exp2(0.4);
    FUZZ_REQUIRE(std::ldexp(1.0, order) <= scaled * (1 + 1e-4));
    FUZZ_REQUIRE(std::ldexp(1.0, order + 1) >= scaled * (1 - 1e-4));
  }
  FUZZ_REQUIRE(text_at(b, k + formats::kTimBlockTimestamp, formats::kTimTimestampLength + 1) ==
               field(timestamp, formats::kTimTimestampLength + 1, true));
  FUZZ_REQUIRE(text_at(b, k + formats::kTimBlockSourceName, formats::kTimSourceNameLength) ==
               field(source_name, formats::kTimSourceNameLength, false));
  FUZZ_REQUIRE(bits_at(&b[k + formats::kTimBlockLevelFactor]) ==
               std::bit_cast<std::uint32_t>(head.sample_interval_ms));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  formats::MemorySource source(bytes);
  TimHead head;
  const ReadStatus head_status = formats::read_tim_head(source, head);
  FUZZ_REQUIRE((head_status == ReadStatus::kOk) == (size >= formats::kTimHeadSize));
  if (head_status != ReadStatus::kOk) return 0;

  // The writer makes the same 10 bytes of the same values (the tag is the
  // writer's own and the reader ignores it).
  const auto head_bytes = formats::encode_tim_head(head);
  FUZZ_REQUIRE(std::equal(head_bytes.begin() + 4, head_bytes.end(), data + 4));

  // Texts for the trailer from the bytes behind the head: any length,
  // including none.
  const std::size_t rest = size - formats::kTimHeadSize;
  const std::size_t cut = rest == 0 ? 0 : data[formats::kTimHeadSize] % (rest + 1);
  const std::string_view texts = text_at(bytes, formats::kTimHeadSize, rest);
  check_trailer(head, texts.substr(0, cut), texts.substr(cut));

  if (head.point_count < 0 || head.point_count > kCapacity) return 0;  // refused
  std::vector<float> samples(static_cast<std::size_t>(head.point_count));
  const ReadStatus status = formats::read_tim_samples(source, samples);
  const std::size_t needed = formats::tim_trailer_offset(head.point_count);
  FUZZ_REQUIRE((status == ReadStatus::kOk) == (size >= needed));
  if (status != ReadStatus::kOk) return 0;
  FUZZ_REQUIRE(source.position() == needed);  // nothing behind the samples
  for (std::size_t i = 0; i < samples.size(); ++i) {
    FUZZ_REQUIRE(std::bit_cast<std::uint32_t>(samples[i]) ==
                 bits_at(data + formats::kTimHeadSize + 4 * i));
  }
  std::vector<std::uint8_t> encoded(4 * samples.size());
  formats::encode_tim_samples(samples, encoded);
  FUZZ_REQUIRE(std::equal(encoded.begin(), encoded.end(), data + formats::kTimHeadSize));
  return 0;
}
