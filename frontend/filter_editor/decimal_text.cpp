#include "frontend/filter_editor/decimal_text.h"

#include <charconv>
#include <limits>
#include <string>
#include <system_error>

namespace frontend {

double decimalValue(const DecimalParts& parts, bool* overflowed) {
  if (overflowed) *overflowed = false;
  std::string text;
  text.reserve(parts.intDigits.size() + parts.fracDigits.size() + 16);
  text.append(parts.intDigits.empty() ? std::string_view("0") : parts.intDigits);
  if (!parts.fracDigits.empty()) text.append(".").append(parts.fracDigits);
  text.append("e").append(std::to_string(parts.exponent));

  double value = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  (void)end;
  if (ec == std::errc::result_out_of_range) {
    // The decimal order of the first significant digit tells overflow from
    // underflow.
    const std::string_view ints = parts.intDigits;
    const size_t firstInt = ints.find_first_not_of('0');
    long order;
    if (firstInt != std::string_view::npos) {
      order = long(ints.size() - firstInt) - 1 + parts.exponent;
    } else {
      const size_t firstFrac = parts.fracDigits.find_first_not_of('0');
      order = firstFrac == std::string_view::npos ? -1000000 : -long(firstFrac) - 1 + parts.exponent;
    }
    value = order > 0 ? std::numeric_limits<double>::max() : 0.0;
    if (overflowed) *overflowed = order > 0;
  } else if (ec != std::errc()) {
    value = 0.0;
  }
  return parts.negative ? -value : value;
}

}  // namespace frontend
