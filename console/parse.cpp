#include "console/parse.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace console {

namespace {

std::string without_blanks(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c != ' ') out.push_back(c);
  }
  return out;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Reads [sign] digits [. digits] [exponent] with `decimals` implied decimals
// when there is no point. The text holds no blanks.
std::optional<float> parse_real_text(std::string_view text, int decimals) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::string whole;
  std::string fraction;
  bool point = false;
  while (i < text.size() && is_digit(text[i])) whole.push_back(text[i++]);
  if (i < text.size() && text[i] == '.') {
    point = true;
    ++i;
    while (i < text.size() && is_digit(text[i])) fraction.push_back(text[i++]);
  }
  if (whole.empty() && fraction.empty()) return std::nullopt;
  std::string exponent;
  if (i < text.size()) {
    char e = text[i];
    if (e != 'e' && e != 'E' && e != 'd' && e != 'D') return std::nullopt;
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      exponent.push_back(text[i++]);
    }
    std::size_t first_digit = i;
    while (i < text.size() && is_digit(text[i])) exponent.push_back(text[i++]);
    if (i == first_digit || i != text.size()) return std::nullopt;
  }
  if (!point && decimals > 0) {
    // The last `decimals` digits are the fraction.
    std::size_t d = static_cast<std::size_t>(decimals);
    if (whole.size() < d) whole.insert(0, d - whole.size(), '0');
    fraction = whole.substr(whole.size() - d);
    whole.erase(whole.size() - d);
  }
  std::string number = (whole.empty() ? "0" : whole) + "." + fraction + "0";
  if (!exponent.empty()) number += "e" + exponent;

  float value = 0;
  const char* end = number.data() + number.size();
  auto result = std::from_chars(number.data(), end, value);
  if (result.ec == std::errc::result_out_of_range) {
    // Either too large for a float, or so small that it is zero.
    double wide = 0;
    auto wide_result = std::from_chars(number.data(), end, wide);
    if (wide_result.ec == std::errc() && std::fabs(wide) < 1.0) {
      value = static_cast<float>(wide);
    } else if (wide_result.ec == std::errc::result_out_of_range &&
               !exponent.empty() && exponent.front() == '-') {
      value = 0;
    } else {
      return std::nullopt;
    }
  } else if (result.ec != std::errc() || result.ptr != end) {
    return std::nullopt;
  }
  if (!std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

std::optional<long long> parse_integer_text(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  // Digits are read as a negative number so that the most negative value fits.
  long long value = 0;
  for (char c : text) {
    if (!is_digit(c)) return std::nullopt;
    int digit = c - '0';
    if (value < (std::numeric_limits<long long>::min() + digit) / 10) {
      return std::nullopt;
    }
    value = value * 10 - digit;
  }
  if (!negative) {
    if (value == std::numeric_limits<long long>::min()) return std::nullopt;
    value = -value;
  }
  return value;
}

bool is_separator(char c) { return c == ' ' || c == '\t' || c == ','; }

// The first item of a free-form answer line; nullopt when there is none.
std::optional<std::string_view> first_item(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  if (i == line.size() || line[i] == ',') return std::nullopt;
  std::size_t end = i;
  while (end < line.size() && !is_separator(line[end])) ++end;
  return line.substr(i, end - i);
}

}  // namespace

std::optional<float> parse_fixed(std::string_view field, int decimals) {
  std::string text = without_blanks(field);
  if (text.empty()) return 0.0f;
  return parse_real_text(text, decimals);
}

std::optional<long long> parse_integer(std::string_view field) {
  std::string text = without_blanks(field);
  if (text.empty()) return 0;
  return parse_integer_text(text);
}

std::optional<FreeForm<float>> parse_free_real(std::string_view line) {
  std::optional<std::string_view> item = first_item(line);
  if (!item) return FreeForm<float>{true, 0.0f};
  std::optional<float> value = parse_real_text(*item, 0);
  if (!value) return std::nullopt;
  return FreeForm<float>{false, *value};
}

std::optional<FreeForm<long long>> parse_free_integer(std::string_view line) {
  std::optional<std::string_view> item = first_item(line);
  if (!item) return FreeForm<long long>{true, 0};
  std::optional<long long> value = parse_integer_text(*item);
  if (!value) return std::nullopt;
  return FreeForm<long long>{false, *value};
}

}  // namespace console
