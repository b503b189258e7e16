// The value of a decimal number written as text, shared by the filter file
// reader and the editor's fields. Standard C++ only, "." as the decimal point
// whatever the locale.
#ifndef FILTER_FILE_DECIMAL_TEXT_H_
#define FILTER_FILE_DECIMAL_TEXT_H_

#include <cstddef>
#include <optional>
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

// The number at the start of `text`: an optional sign, digits with an
// optional "." (at least one digit), and an optional exponent (E or D in
// either case, an optional sign, at least one digit; a letter without digits
// is not part of the number). Nullopt when `text` does not start with one;
// otherwise its parts, viewing `text`, and in `*length` the bytes it takes.
std::optional<DecimalParts> scanDecimal(std::string_view text, size_t* length);

}  // namespace frontend

#endif  // FILTER_FILE_DECIMAL_TEXT_H_
