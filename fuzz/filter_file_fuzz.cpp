// The filter-file reader and writer on arbitrary bytes. Every text gives
// either ten bands or an error that says where and why; the bands, written
// by the writer and read again, give a text the writer makes again byte for
// byte, whatever follows the twentieth number. The first 160 bytes, taken as
// twenty doubles, are bands for the writer: it writes every set of finite
// frequencies and gains within single precision, and what it writes reads
// back as those values to 15 digits; it writes nothing for any other set.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "filter_file/filter_file.h"
#include "fuzz/property.h"

namespace {

using frontend::FilterBands;
using frontend::FilterFileError;

void check_error(const FilterFileError& e) {
  FUZZ_REQUIRE(e.numbersRead >= 0 && e.numbersRead < 2 * frontend::kBandCount);
  FUZZ_REQUIRE(e.text.size() <= 40);
  if (e.kind == FilterFileError::Kind::TooFewNumbers) {
    FUZZ_REQUIRE(e.line == 0 && e.item == 0);
  } else {
    FUZZ_REQUIRE(e.line >= 1 && e.item >= 1);
    FUZZ_REQUIRE(!e.text.empty());
  }
}

void check_bands(const FilterBands& bands, std::string_view tail) {
  for (int i = 0; i < frontend::kBandCount; ++i) {
    FUZZ_REQUIRE(std::isfinite(bands.frequency[i]));
    FUZZ_REQUIRE(std::fabs(bands.gain[i]) <= std::numeric_limits<float>::max());
  }
  const std::optional<std::string> text = frontend::filterFileText(bands);
  FUZZ_REQUIRE(text.has_value());
  // Anything behind the ten lines is never looked at.
  const frontend::FilterFileRead again =
      frontend::readFilterFile(*text + std::string(tail));
  FUZZ_REQUIRE(again.bands && !again.error);
  // Subnormal values carry fewer than 15 significant digits: their text
  // need not come back the same.
  for (int i = 0; i < frontend::kBandCount; ++i) {
    for (double v : {bands.frequency[i], bands.gain[i]}) {
      if (v != 0 && std::fabs(v) < std::numeric_limits<double>::min()) return;
    }
  }
  const std::optional<std::string> text_again = frontend::filterFileText(*again.bands);
  FUZZ_REQUIRE(text_again == text);
  for (int i = 0; i < frontend::kBandCount; ++i) {
    // 15 significant digits kept.
    FUZZ_REQUIRE(std::fabs(again.bands->frequency[i] - bands.frequency[i]) <=
                 std::fabs(bands.frequency[i]) * 1e-14);
    FUZZ_REQUIRE(std::fabs(again.bands->gain[i] - bands.gain[i]) <=
                 std::fabs(bands.gain[i]) * 1e-14);
  }
}

// Little-endian doubles: frequency and gain of band 1, then of band 2, ...
FilterBands bands_from_bytes(const std::uint8_t* data) {
  FilterBands bands;
  for (int i = 0; i < 2 * frontend::kBandCount; ++i) {
    std::uint64_t bits = 0;
    for (int b = 7; b >= 0; --b) bits = bits << 8 | data[8 * i + b];
    (i % 2 == 0 ? bands.frequency : bands.gain)[i / 2] = std::bit_cast<double>(bits);
  }
  return bands;
}

// Within the rounding to 15 significant digits, or to the nearest subnormal
// for values below the normal range.
bool close_to(double read, double written) {
  return std::fabs(read - written) <=
         std::fmax(std::fabs(written) * 1e-14, std::numeric_limits<double>::denorm_min());
}

void check_writer(const FilterBands& bands) {
  bool writable = true;
  for (int i = 0; i < frontend::kBandCount; ++i) {
    writable = writable && std::isfinite(bands.frequency[i]) &&
               std::fabs(bands.gain[i]) <= std::numeric_limits<float>::max();
  }
  const std::optional<std::string> text = frontend::filterFileText(bands);
  FUZZ_REQUIRE(text.has_value() == writable);
  if (!text) return;
  const frontend::FilterFileRead read = frontend::readFilterFile(*text);
  FUZZ_REQUIRE(read.bands && !read.error);
  for (int i = 0; i < frontend::kBandCount; ++i) {
    FUZZ_REQUIRE(close_to(read.bands->frequency[i], bands.frequency[i]));
    FUZZ_REQUIRE(close_to(read.bands->gain[i], bands.gain[i]));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const frontend::FilterFileRead read = frontend::readFilterFile(text);
  FUZZ_REQUIRE(read.bands.has_value() != read.error.has_value());
  if (read.error) {
    check_error(*read.error);
  } else {
    check_bands(*read.bands, text);
  }
  if (size >= 8 * 2 * frontend::kBandCount) check_writer(bands_from_bytes(data));
  return 0;
}
