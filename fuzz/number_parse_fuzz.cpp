// The console's number parsers on arbitrary text: the fixed-point field, the
// integer field and the free-form answers. Each value, formatted by the
// console's own formatter and parsed again, gives the same value: exactly
// with every digit written out, and within the format's reach in the fields
// the converters print (a level with 3 decimals, a mode in 10 columns).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "console/format.h"
#include "console/parse.h"
#include "fuzz/property.h"

namespace {

// Wide enough for every digit of every finite float: 39 before the point,
// 149 after it (the smallest subnormal is 2^-149).
constexpr int kExactWidth = 200;
constexpr int kExactDecimals = 149;

bool has_any_of(std::string_view text, std::string_view chars) {
  return text.find_first_of(chars) != std::string_view::npos;
}

void check_real(float value, int decimals) {
  FUZZ_REQUIRE(std::isfinite(value));
  const std::string exact = console::format_real(value, kExactWidth, kExactDecimals);
  FUZZ_REQUIRE(exact.find('*') == std::string::npos);
  const std::optional<float> fixed = console::parse_fixed(exact, decimals);
  FUZZ_REQUIRE(fixed && *fixed == value);
  const std::optional<console::FreeForm<float>> free = console::parse_free_real(exact);
  FUZZ_REQUIRE(free && !free->empty && free->value == value);

  // A level printed with 3 decimals in 20 columns reads back as the nearest
  // float to what was printed, which prints the same: floats below 8192
  // are spaced finely enough for that.
  const std::string shown = console::format_real(value, 20, 3);
  if (shown.find('*') == std::string::npos) {
    const std::optional<float> again = console::parse_fixed(shown, 3);
    FUZZ_REQUIRE(again);
    // Off by the rounding to 3 decimals and half a float spacing at most.
    FUZZ_REQUIRE(std::fabs(double{*again} - double{value}) <=
                 0.0005000001 + (std::fabs(double{value}) + 1) * 0x1p-24);
    // A negative value that rounds to zero shows as "-.000"; the zero read
    // back is shown without the sign.
    if (std::fabs(value) < 8192 && *again != 0) {
      FUZZ_REQUIRE(console::format_real(*again, 20, 3) == shown);
    }
  }
}

void check_integer(long long value) {
  const std::string wide = console::format_integer(value, 25);
  FUZZ_REQUIRE(console::parse_integer(wide) == value);
  const auto free = console::parse_free_integer(wide);
  FUZZ_REQUIRE(free && !free->empty && free->value == value);
  // The 10-column mode field: either the value or asterisks, which are no
  // number.
  const std::string field = console::format_integer(value, 10);
  FUZZ_REQUIRE(field.size() == 10);
  if (field.find('*') == std::string::npos) {
    FUZZ_REQUIRE(console::parse_integer(field) == value);
  } else {
    FUZZ_REQUIRE(!console::parse_integer(field));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the implied decimals; the rest is the text.
  const int decimals = data[0] % 8;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  const std::optional<float> fixed = console::parse_fixed(text, decimals);
  if (fixed) check_real(*fixed, decimals);
  const std::optional<long long> integer = console::parse_integer(text);
  if (integer) {
    check_integer(*integer);
    // Digits alone are also a fixed-point field: the same digits, scaled.
    if (fixed) {
      FUZZ_REQUIRE(std::fabs(double{*fixed} - *integer / std::pow(10.0, decimals)) <=
                   std::fabs(double{*fixed}) * 1e-6 + 1e-30);
    }
  }

  const auto free_real = console::parse_free_real(text);
  if (free_real && !free_real->empty) check_real(free_real->value, decimals);
  const auto free_integer = console::parse_free_integer(text);
  if (free_integer && !free_integer->empty) check_integer(free_integer->value);

  // Without blanks, tabs or commas the text is one item; with a point the
  // implied decimals do not apply, so the field and the answer agree.
  if (!has_any_of(text, " \t,") && text.find('.') != std::string_view::npos) {
    FUZZ_REQUIRE(fixed.has_value() == (free_real.has_value() && !free_real->empty));
    if (fixed) FUZZ_REQUIRE(*fixed == free_real->value);
  }
  if (!has_any_of(text, " \t,") && !text.empty()) {
    FUZZ_REQUIRE(integer.has_value() == free_integer.has_value());
    if (integer) FUZZ_REQUIRE(*integer == free_integer->value);
  }
  return 0;
}
