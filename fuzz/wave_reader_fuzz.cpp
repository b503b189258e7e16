// The WAVE reader on arbitrary bytes, in the steps irgen takes: the format,
// its checks, the chunk walk and the frames. Every file ends in a refusal
// with a message, or in values that hold together; a file the reader
// accepts, written again by the writer, reads back the same.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "formats/byte_source.h"
#include "formats/wave_file.h"
#include "fuzz/property.h"

namespace {

using formats::MemorySource;
using formats::ReadStatus;
using formats::WaveFormat;
using formats::WaveStatus;

// irgen reads at most this many frames.
constexpr std::int64_t kMaxFrames = 65535;

bool is_refusal(WaveStatus status) {
  return status != WaveStatus::kOk && status != WaveStatus::kTruncated &&
         status != WaveStatus::kIoError;
}

// The writer's file for these frames reads back as written.
void check_round_trip(const WaveFormat& format, std::int32_t frames,
                      std::span<const std::uint8_t> frame_bytes) {
  const auto header =
      formats::encode_wave_header(format.channel_count, format.sample_rate, frames);
  std::vector<std::uint8_t> file(header.begin(), header.end());
  file.insert(file.end(), frame_bytes.begin(), frame_bytes.end());

  MemorySource source(file);
  WaveFormat again;
  FUZZ_REQUIRE(formats::read_wave_format(source, again) == WaveStatus::kOk);
  FUZZ_REQUIRE(formats::check_wave_format(again) == WaveStatus::kOk);
  FUZZ_REQUIRE(again.format_tag == formats::kWaveFormatPcm);
  FUZZ_REQUIRE(again.channel_count == format.channel_count);
  FUZZ_REQUIRE(again.sample_rate == format.sample_rate);
  FUZZ_REQUIRE(again.block_align == 2 * format.channel_count);
  FUZZ_REQUIRE(again.bits_per_sample == 16);
  std::int32_t data_size = -1;
  FUZZ_REQUIRE(formats::find_wave_data(source, data_size) == WaveStatus::kOk);
  FUZZ_REQUIRE(source.position() == formats::kWaveHeaderSize);
  FUZZ_REQUIRE(formats::wave_frame_count(data_size, again.block_align) == frames);
  std::vector<std::uint8_t> read_back(frame_bytes.size());
  FUZZ_REQUIRE(source.read(read_back) == ReadStatus::kOk);
  FUZZ_REQUIRE(std::equal(read_back.begin(), read_back.end(), frame_bytes.begin()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  MemorySource source(bytes);
  WaveFormat format;
  WaveStatus status = formats::read_wave_format(source, format);
  FUZZ_REQUIRE(source.position() <= size);
  FUZZ_REQUIRE(status != WaveStatus::kIoError);  // memory never fails
  if (status != WaveStatus::kOk) {
    FUZZ_REQUIRE(!formats::wave_status_message(status).empty());
    return 0;
  }
  if (format.format_tag != formats::kWaveFormatExtensible) {
    FUZZ_REQUIRE(format.format_code == format.format_tag);
  }

  status = formats::check_wave_format(format);
  if (status != WaveStatus::kOk) {
    FUZZ_REQUIRE(is_refusal(status));
    FUZZ_REQUIRE(!formats::wave_status_message(status).empty());
    return 0;
  }
  FUZZ_REQUIRE(format.format_code == formats::kWaveFormatPcm);
  FUZZ_REQUIRE(format.channel_count == 1 || format.channel_count == 2);
  FUZZ_REQUIRE(format.sample_rate > 0);
  FUZZ_REQUIRE(format.block_align > 0);

  std::int32_t data_size = -1;
  status = formats::find_wave_data(source, data_size);
  FUZZ_REQUIRE(source.position() <= size);
  if (status != WaveStatus::kOk) {
    FUZZ_REQUIRE(status == WaveStatus::kTruncated ||
                 status == WaveStatus::kNegativeDataSize);
    FUZZ_REQUIRE(!formats::wave_status_message(status).empty());
    return 0;
  }
  // The frames fill the data chunk, but for less than one block.
  FUZZ_REQUIRE(data_size >= 0);
  const std::int32_t frames = formats::wave_frame_count(data_size, format.block_align);
  FUZZ_REQUIRE(frames >= 0);
  const std::int64_t frame_size = std::int64_t{frames} * format.block_align;
  FUZZ_REQUIRE(frame_size <= data_size);
  FUZZ_REQUIRE(data_size - frame_size < format.block_align);

  // The frames irgen reads: one or two 16-bit samples each, whatever the
  // block align. The read succeeds exactly when the bytes are there.
  const std::size_t start = source.position();
  const std::size_t step = format.channel_count == 1 ? 2 : 4;
  const std::size_t wanted =
      static_cast<std::size_t>(std::min<std::int64_t>(frames, kMaxFrames)) * step;
  std::vector<std::uint8_t> frame_bytes(wanted);
  const ReadStatus read = source.read(frame_bytes);
  FUZZ_REQUIRE((read == ReadStatus::kOk) == (start + wanted <= size));
  if (read != ReadStatus::kOk) return 0;
  FUZZ_REQUIRE(std::equal(frame_bytes.begin(), frame_bytes.end(), data + start));

  if (format.bits_per_sample == 16) {
    check_round_trip(format, static_cast<std::int32_t>(wanted / step), frame_bytes);
  }
  return 0;
}
