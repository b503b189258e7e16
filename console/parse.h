// Pure parsing of answer fields and answer lines into numbers. Nothing here
// depends on the locale; "." is always the decimal point. A nullopt result
// means the text is not a number of the expected form; the caller turns it
// into an error stop for the read.
#ifndef CONSOLE_PARSE_H_
#define CONSOLE_PARSE_H_

#include <optional>
#include <string_view>

namespace console {

// A fixed-point field with `decimals` implied decimals. Blanks anywhere are
// ignored; an optional sign, digits, an optional point and an optional
// exponent (E or D, either case, optional sign) are accepted. With a point
// the value is taken as written; without one the last `decimals` digits are
// the fraction ("94" with 3 decimals is 0.094). An all-blank field is 0.
// The result is the single-precision value nearest to the decimal value;
// a value beyond the single-precision range is refused.
std::optional<float> parse_fixed(std::string_view field, int decimals);

// An integer field: blanks ignored, an optional sign and digits. An
// all-blank field is 0. Values beyond the range of long long are refused.
std::optional<long long> parse_integer(std::string_view field);

// A free-form answer line: the first item, items being separated by blanks
// or a comma. `empty` is set when the line holds no item (only blanks, or an
// empty first item before a comma); the caller then keeps its default.
template <typename T>
struct FreeForm {
  bool empty = false;
  T value{};
};

// A real item: sign, digits, optional point, optional exponent.
std::optional<FreeForm<float>> parse_free_real(std::string_view line);
// An integer item: sign and digits only.
std::optional<FreeForm<long long>> parse_free_integer(std::string_view line);

}  // namespace console

#endif  // CONSOLE_PARSE_H_
