#include "console/format.h"

#include <charconv>
#include <cmath>

namespace console {

namespace {

std::string right_justify(std::string text, int width) {
  if (width < 0) width = 0;
  std::size_t w = static_cast<std::size_t>(width);
  if (text.size() > w) return std::string(w, '*');
  return std::string(w - text.size(), ' ') + text;
}

// Lays out the decimal digits of a finite value, as to_chars writes them in
// scientific form ("-1.2345e+03"), rounded half away from zero.
std::string fixed_from_scientific(std::string_view sci, int decimals) {
  bool negative = false;
  if (!sci.empty() && sci.front() == '-') {
    negative = true;
    sci.remove_prefix(1);
  }
  std::size_t e = sci.find('e');
  std::string digits;
  for (char c : sci.substr(0, e)) {
    if (c != '.') digits.push_back(c);
  }
  int exponent = 0;
  std::string_view exp_text = sci.substr(e + 1);
  if (!exp_text.empty() && exp_text.front() == '+') exp_text.remove_prefix(1);
  std::from_chars(exp_text.data(), exp_text.data() + exp_text.size(), exponent);

  // value = 0.digits * 10^point
  long point = exponent + 1;
  long keep = point + decimals;  // digits that survive the rounding
  std::string kept;
  if (keep >= 0) {
    std::size_t k = static_cast<std::size_t>(keep);
    bool round_up = k < digits.size() && digits[k] >= '5';
    kept = digits.substr(0, std::min(k, digits.size()));
    kept.append(k - kept.size(), '0');
    if (round_up) {
      std::size_t i = kept.size();
      while (i > 0 && kept[i - 1] == '9') kept[--i] = '0';
      if (i == 0) {
        kept.insert(kept.begin(), '1');
        ++point;
      } else {
        ++kept[i - 1];
      }
    }
  } else {
    point = -decimals;  // everything rounds away: zero with `decimals` places
  }

  std::string whole;
  std::string fraction;
  if (point > 0) {
    whole = kept.substr(0, static_cast<std::size_t>(point));
    fraction = kept.substr(static_cast<std::size_t>(point));
  } else {
    fraction = std::string(static_cast<std::size_t>(-point), '0') + kept;
  }
  std::size_t first = whole.find_first_not_of('0');
  whole = first == std::string::npos ? "" : whole.substr(first);
  if (whole.empty() && decimals == 0) whole.push_back('0');

  std::string text = negative ? "-" : "";
  return text + whole + "." + fraction;
}

template <typename Real>
std::string format_real_impl(Real value, int width, int decimals) {
  if (decimals < 0) decimals = 0;
  if (std::isnan(value)) return right_justify("NaN", width);
  if (std::isinf(value)) return right_justify(value < 0 ? "-Inf" : "Inf", width);
  if (value == 0) value = 0;  // a negative zero shows without its sign
  // Every double has an exact decimal expansion of at most 767 significant
  // digits; rounding that expansion rounds the value the file holds, not a
  // shorter decimal that merely reads back as the same number.
  char buffer[800 + 16];
  auto result = std::to_chars(buffer, buffer + sizeof buffer,
                              static_cast<double>(value),
                              std::chars_format::scientific, 800);
  std::string_view sci(buffer, static_cast<std::size_t>(result.ptr - buffer));
  return right_justify(fixed_from_scientific(sci, decimals), width);
}

}  // namespace

std::string fit_field(std::string_view text, std::size_t width) {
  std::string field(text.substr(0, width));
  field.resize(width, ' ');
  return field;
}

std::string_view trim_blanks(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

int compare_fields(std::string_view a, std::string_view b) {
  std::size_t n = std::max(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char ca = i < a.size() ? static_cast<unsigned char>(a[i]) : ' ';
    unsigned char cb = i < b.size() ? static_cast<unsigned char>(b[i]) : ' ';
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return 0;
}

bool fields_equal(std::string_view a, std::string_view b) {
  return compare_fields(a, b) == 0;
}

std::string format_integer(long long value, int width) {
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return right_justify(std::string(buffer, result.ptr), width);
}

std::string format_real(double value, int width, int decimals) {
  return format_real_impl(value, width, decimals);
}

std::string format_real(float value, int width, int decimals) {
  return format_real_impl(value, width, decimals);
}

}  // namespace console
