// Pure formatting of the console's fixed-width items: text fields, and
// integers and reals right-justified in w columns. Nothing here depends on
// the locale; "." is always the decimal point.
#ifndef CONSOLE_FORMAT_H_
#define CONSOLE_FORMAT_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace console {

// `text` in a field of `width` characters: cut after `width`, blank-padded
// on the right.
std::string fit_field(std::string_view text, std::size_t width);

// `text` without its leading and trailing blanks.
std::string_view trim_blanks(std::string_view text);

// True when the two texts are equal after padding the shorter with blanks
// (byte for byte, case-sensitive).
bool fields_equal(std::string_view a, std::string_view b);

// Compares as above and returns <0, 0 or >0 (bytes compared unsigned).
int compare_fields(std::string_view a, std::string_view b);

// `value` right-justified in `width` columns, minus sign when negative, no
// leading zeros; `width` asterisks when it does not fit.
std::string format_integer(long long value, int width);

// `value` right-justified in `width` columns with `decimals` digits after
// the point. The exact value is rounded half away from zero to `decimals`
// places (the float 0.145f, just below 0.145, shows as .14). A magnitude
// below 1 has no zero before the point (.25); a negative value keeps its
// minus sign even when it rounds to zero. NaN and infinities show as "NaN",
// "Inf", "-Inf". `width` asterisks when the result does not fit.
std::string format_real(double value, int width, int decimals);
std::string format_real(float value, int width, int decimals);

}  // namespace console

#endif  // CONSOLE_FORMAT_H_
