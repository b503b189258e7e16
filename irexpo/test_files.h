// For tests: .TIM files to feed the converter and a plain reading of the
// WAVE files it writes, built on the formats library.
#ifndef IREXPO_TEST_FILES_H_
#define IREXPO_TEST_FILES_H_

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "formats/byte_order.h"
#include "formats/byte_source.h"
#include "formats/test_temp_dir.h"
#include "formats/tim_file.h"
#include "formats/wave_file.h"

namespace irexpo {

// A .TIM file with the given samples; `point_count` defaults to their number
// (another value makes a file whose head promises more or fewer samples).
inline void write_tim(const std::filesystem::path& path,
                      const std::vector<float>& samples, float interval_ms,
                      std::optional<std::int32_t> point_count = std::nullopt) {
  const std::int32_t n =
      point_count.value_or(static_cast<std::int32_t>(samples.size()));
  std::vector<std::uint8_t> bytes;
  const auto head = formats::encode_tim_head({0, interval_ms, n});
  bytes.insert(bytes.end(), head.begin(), head.end());
  std::vector<std::uint8_t> body(4 * samples.size());
  formats::encode_tim_samples(samples, body);
  bytes.insert(bytes.end(), body.begin(), body.end());
  formats::TimTrailerFields fields;
  fields.point_count = n;
  const auto trailer = formats::encode_tim_trailer(fields);
  bytes.insert(bytes.end(), trailer.begin(), trailer.end());
  formats::write_bytes(path, bytes);
}

struct WaveContents {
  bool ok = false;
  std::int16_t channels = 0;
  std::int32_t rate = 0;
  std::int32_t byte_rate = 0;
  std::int16_t block_align = 0;
  std::int32_t data_size = 0;
  std::uint64_t file_size = 0;
  std::vector<std::int16_t> samples;  // interleaved
};

inline WaveContents read_wave(const std::filesystem::path& path) {
  WaveContents w;
  const std::vector<std::uint8_t> bytes = formats::read_bytes(path);
  w.file_size = bytes.size();
  formats::MemorySource source(bytes);
  formats::WaveFormat format;
  if (formats::read_wave_format(source, format) != formats::WaveStatus::kOk ||
      formats::find_wave_data(source, w.data_size) != formats::WaveStatus::kOk) {
    return w;
  }
  w.channels = format.channel_count;
  w.rate = format.sample_rate;
  w.byte_rate = format.byte_rate;
  w.block_align = format.block_align;
  std::vector<std::uint8_t> data(static_cast<std::size_t>(w.data_size));
  if (source.read(data) != formats::ReadStatus::kOk) return w;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    w.samples.push_back(formats::load_i16le(&data[i]));
  }
  w.ok = format.bits_per_sample == 16 && format.format_tag == 1;
  return w;
}

// Makes a folder the current one for as long as the object lives, so that
// the runs see short relative names (names are cut at 40 characters).
class InFolder {
 public:
  explicit InFolder(const std::filesystem::path& folder)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~InFolder() { std::filesystem::current_path(previous_); }
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace irexpo

#endif  // IREXPO_TEST_FILES_H_
