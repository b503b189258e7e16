// The value of a decimal number written as text, shared by the filter file
// reader and the editor's fields. Standard C++ only, "." as the decimal point
// whatever the locale.
#ifndef FRONTEND_FILTER_EDITOR_DECIMAL_TEXT_H_
#define FRONTEND_FILTER_EDITOR_DECIMAL_TEXT_H_

#include <string_view>

namespace frontend {

// The parts of a number as its scanner found them: the digits before and
// after the point (either may be empty, not both) and the exponent, already
// saturated to a few thousand so that it cannot overflow an int.
struct DecimalParts {
  bool negative = false;
  std::string_view intDigits;
  std::string_view fracDigits;
  int exponent = 0;
};

// The nearest double. A value beyond the range of double gives the largest
// finite double of its sign and sets `*overflowed` when given; a value too
// small for double gives zero of its sign.
double decimalValue(const DecimalParts& parts, bool* overflowed = nullptr);

// Adds one exponent digit to `exponent`, saturating far beyond any double's
// decimal exponent.
inline int appendExponentDigit(int exponent, char digit) {
  constexpr int kSaturated = 100000;
  return exponent >= kSaturated ? kSaturated : exponent * 10 + (digit - '0');
}

}  // namespace frontend

#endif  // FRONTEND_FILTER_EDITOR_DECIMAL_TEXT_H_
