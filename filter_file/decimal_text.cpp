#include "filter_file/decimal_text.h"

#include <charconv>
#include <limits>
#include <string>
#include <system_error>

namespace frontend {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Adds one exponent digit to `exponent`, saturating far beyond any double's
// decimal exponent, so that it cannot overflow an int.
int appendExponentDigit(int exponent, char digit) {
  constexpr int kSaturated = 100000;
  return exponent >= kSaturated ? kSaturated : exponent * 10 + (digit - '0');
}

}  // namespace

std::optional<DecimalParts> scanDecimal(std::string_view text, size_t* length) {
  DecimalParts parts;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) parts.negative = text[i++] == '-';
  const size_t intStart = i;
  while (i < text.size() && isDigit(text[i])) ++i;
  parts.intDigits = text.substr(intStart, i - intStart);
  if (i < text.size() && text[i] == '.') {
    const size_t fracStart = ++i;
    while (i < text.size() && isDigit(text[i])) ++i;
    parts.fracDigits = text.substr(fracStart, i - fracStart);
  }
  if (parts.intDigits.empty() && parts.fracDigits.empty()) return std::nullopt;

  if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    size_t j = i + 1;
    bool negativeExponent = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) negativeExponent = text[j++] == '-';
    const size_t expStart = j;
    int exponent = 0;
    while (j < text.size() && isDigit(text[j])) exponent = appendExponentDigit(exponent, text[j++]);
    if (j > expStart) {
      parts.exponent = negativeExponent ? -exponent : exponent;
      i = j;
    }
  }
  *length = i;
  return parts;
}

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
