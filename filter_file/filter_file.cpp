#include "filter_file/filter_file.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <system_error>

#include "filter_file/decimal_text.h"

namespace frontend {

namespace {

// A gain must fit the display limits, which are single precision.
constexpr double kLargestGain = std::numeric_limits<float>::max();

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n'; }

// The parts of `item` when the whole of it is a number.
std::optional<DecimalParts> numberParts(std::string_view item) {
  size_t length = 0;
  std::optional<DecimalParts> parts = scanDecimal(item, &length);
  if (parts && length != item.size()) return std::nullopt;
  return parts;
}

// A positive finite number as its significant digits (no trailing zeros)
// and the decimal exponent of the first: 31.5 is "315" and 1.
struct ScientificDigits {
  std::string digits;
  int exponent = 0;
};

// Rounded to `significant` digits, or without a count, the fewest digits
// that read back as `magnitude` exactly.
ScientificDigits scientificDigits(double magnitude, std::optional<int> significant) {
  char buf[64];
  const std::to_chars_result written =
      significant ? std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                                  *significant - 1)
                  : std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
  // d.ddde[+-]x, the point missing for a single digit.
  const std::string_view scientific(buf, written.ptr - buf);
  const size_t e = scientific.find('e');
  ScientificDigits number;
  number.digits += scientific[0];
  if (e > 1) number.digits.append(scientific.substr(2, e - 2));
  std::from_chars(scientific.data() + e + (scientific[e + 1] == '+' ? 2 : 1), written.ptr,
                  number.exponent);
  while (number.digits.size() > 1 && number.digits.back() == '0') number.digits.pop_back();
  return number;
}

// True when `number` reads back as more than `largest`, or beyond double.
bool beyond(const ScientificDigits& number, double largest) {
  const std::string text =
      number.digits + "e" + std::to_string(number.exponent - int(number.digits.size()) + 1);
  double value = 0;
  const std::from_chars_result read = std::from_chars(text.data(), text.data() + text.size(), value);
  // Out of range is either side of double; only the large side matters.
  if (read.ec == std::errc::result_out_of_range) return number.exponent > 0;
  return value > largest;
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
    const bool isGain = count % 2 == 1;
    const bool inRange = parts && !overflowed && (!isGain || std::abs(value) <= kLargestGain);
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

std::string numberItem(double value, double largest) {
  std::string item = std::signbit(value) && value != 0 ? "-" : " ";
  const double magnitude = std::abs(value);
  if (magnitude == 0) return item + "0 ";

  ScientificDigits number = scientificDigits(magnitude, 15);
  if (beyond(number, largest) && magnitude <= largest) number = scientificDigits(magnitude, std::nullopt);
  const std::string& digits = number.digits;
  const int exponent = number.exponent;

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
    const double frequency = bands.frequency[band];
    const double gain = bands.gain[band];
    if (!std::isfinite(frequency) || !(std::abs(gain) <= kLargestGain)) return std::nullopt;
    text += numberItem(frequency);
    text += numberItem(gain, kLargestGain);
    text += "\r\n";
  }
  return text;
}

}  // namespace frontend
