#include "frontend/filter_editor/filter_file.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "frontend/filter_editor/decimal_text.h"

namespace frontend {

namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n'; }

// The parts of `item` when the whole of it is a number.
std::optional<DecimalParts> numberParts(std::string_view item) {
  size_t length = 0;
  std::optional<DecimalParts> parts = scanDecimal(item, &length);
  if (parts && length != item.size()) return std::nullopt;
  return parts;
}

}  // namespace

FilterFileRead readFilterFile(std::string_view text) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());

  std::array<double, 2 * kBandCount> numbers{};
  int count = 0;
  int line = 1;
  int itemOnLine = 0;
  size_t i = 0;
  while (count < 2 * kBandCount) {
    while (i < text.size() && isSeparator(text[i])) {
      // CR LF, a lone CR and a lone LF each end one line.
      if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
        ++line;
        itemOnLine = 0;
      }
      ++i;
    }
    if (i >= text.size()) {
      FilterFileError error;
      error.kind = FilterFileError::Kind::TooFewNumbers;
      error.numbersRead = count;
      return {std::nullopt, error};
    }
    const size_t start = i;
    while (i < text.size() && !isSeparator(text[i])) ++i;
    const std::string_view item = text.substr(start, i - start);
    ++itemOnLine;

    const std::optional<DecimalParts> parts = numberParts(item);
    bool overflowed = false;
    const double value = parts ? decimalValue(*parts, &overflowed) : 0.0;
    // A gain must fit the display limits, which are single precision.
    const bool isGain = count % 2 == 1;
    const bool inRange = parts && !overflowed &&
                         (!isGain || std::abs(value) <= std::numeric_limits<float>::max());
    if (!parts || !inRange) {
      FilterFileError error;
      error.kind = parts ? FilterFileError::Kind::OutOfRange : FilterFileError::Kind::NotANumber;
      error.line = line;
      error.item = itemOnLine;
      error.numbersRead = count;
      error.text = std::string(item.substr(0, 40));
      return {std::nullopt, error};
    }
    numbers[count++] = value;
  }

  FilterBands bands;
  for (int band = 0; band < kBandCount; ++band) {
    bands.frequency[band] = numbers[2 * band];
    bands.gain[band] = numbers[2 * band + 1];
  }
  return {bands, std::nullopt};
}

std::string_view wholeItems(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && !isSeparator(text[end - 1])) --end;
  return text.substr(0, end);
}

std::string numberItem(double value) {
  std::string item = std::signbit(value) && value != 0 ? "-" : " ";
  const double magnitude = std::abs(value);
  if (magnitude == 0) return item + "0 ";

  // Fifteen significant digits as d.dddddddddddddde[+-]x, then laid out
  // plainly around the point.
  char buf[64];
  const auto [end, ec] =
      std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
  (void)ec;
  const std::string_view scientific(buf, end - buf);
  const size_t e = scientific.find('e');
  std::string digits;
  digits += scientific[0];
  digits.append(scientific.substr(2, e - 2));
  int exponent = 0;
  std::from_chars(scientific.data() + e + (scientific[e + 1] == '+' ? 2 : 1), end, exponent);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  const int count = static_cast<int>(digits.size());
  if (exponent >= count - 1) {
    item += digits;
    item.append(exponent - (count - 1), '0');
  } else if (exponent >= 0) {
    item += digits.substr(0, exponent + 1);
    item += '.';
    item += digits.substr(exponent + 1);
  } else {
    item += "0.";
    item.append(-exponent - 1, '0');
    item += digits;
  }
  return item + ' ';
}

std::optional<std::string> filterFileText(const FilterBands& bands) {
  std::string text;
  for (int band = 0; band < kBandCount; ++band) {
    if (!std::isfinite(bands.frequency[band]) || !std::isfinite(bands.gain[band])) return std::nullopt;
    text += numberItem(bands.frequency[band]);
    text += numberItem(bands.gain[band]);
    text += "\r\n";
  }
  return text;
}

}  // namespace frontend
