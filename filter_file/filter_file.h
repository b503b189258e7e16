// The filter file (*.DAT): ten text lines, one per octave band from 31.5 Hz
// to 16 kHz, each holding the band's centre frequency in Hz and its gain in
// dB. Reading and writing work on bytes in memory, standard C++ only; the
// file itself is opened elsewhere (the editor's frontend/filter_editor/
// filter_file_io.h, irconv's listen/). The names keep the front end's
// namespace and camelCase, as the editor was their first user.
#ifndef FILTER_FILE_FILTER_FILE_H_
#define FILTER_FILE_FILTER_FILE_H_

#include <array>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace frontend {

inline constexpr int kBandCount = 10;

// The numbers a filter file holds, band 1 (31.5 Hz) first.
struct FilterBands {
  std::array<double, kBandCount> frequency{};
  std::array<double, kBandCount> gain{};

  friend bool operator==(const FilterBands&, const FilterBands&) = default;
};

// What is wrong with a filter file that cannot be read.
struct FilterFileError {
  enum class Kind {
    NotANumber,     // an item before the twentieth number is not a number
    OutOfRange,     // a frequency beyond double, or a gain beyond single precision
    TooFewNumbers,  // the text ends before the twentieth number
  };
  Kind kind = Kind::TooFewNumbers;
  int line = 0;         // 1-based line of the faulty item; 0 for TooFewNumbers
  int item = 0;         // 1-based place of the item on its line; 0 for TooFewNumbers
  int numbersRead = 0;  // good numbers before the fault
  std::string text;     // the faulty item, cut to its first 40 bytes

  friend bool operator==(const FilterFileError&, const FilterFileError&) = default;
};

// Exactly one of the two is set.
struct FilterFileRead {
  std::optional<FilterBands> bands;
  std::optional<FilterFileError> error;
};

// Reads twenty numbers as ten pairs (frequency, gain) for bands 1..10.
//
// Items are separated by any run of blanks, tabs, commas and line ends (LF,
// CR LF or a lone CR), so leading blanks and empty lines are skipped, and
// "1,,2" holds two items. A UTF-8 byte order mark at the start is skipped.
// An item is a number when the whole of it reads as: an optional sign,
// digits with an optional "." (at least one digit), and an optional exponent
// (E or D in either case, an optional sign, at least one digit). A number too
// small for double reads as 0. What follows the twentieth number is not
// looked at, so any bytes may stand there.
//
// Never reads outside `text`; any bytes are safe to pass.
FilterFileRead readFilterFile(std::string_view text);

// The start of a file read only in part: `text` up to and including its
// last separator, without the item at its end, which may go on beyond it.
std::string_view wholeItems(std::string_view text);

// One number item as the filter file holds it: a blank when the value is
// not negative ("-" when it is), the number in plain decimal notation with
// "." as the decimal point, rounded to 15 significant digits, a 0 before the
// point below 1, no trailing zeros and no point for whole numbers, then one
// blank: 31.5 gives " 31.5 ", -3.5 gives "-3.5 ", 0 and -0 give " 0 ".
// Never in exponent form: 1e20 gives " 100000000000000000000 ".
//
// When those 15 digits would read back as a magnitude beyond `largest`
// (which the value's own magnitude is not), as they do just below the
// largest double, the item holds instead the fewest digits that read back
// as the value exactly (at most 17): the largest double gives
// " 179769313486231570000...0 " (309 digits), not a number beyond it.
// `value` must be finite.
std::string numberItem(double value, double largest = std::numeric_limits<double>::max());

// The ten lines of a filter file, each the frequency's item and the gain's
// item and CR LF; frequencies within double, gains within single precision,
// as readFilterFile reads them, so that the text always reads back. Nullopt
// when a value is not finite or a gain is beyond single precision: no file
// is written that the reader would refuse.
std::optional<std::string> filterFileText(const FilterBands& bands);

}  // namespace frontend

#endif  // FILTER_FILE_FILTER_FILE_H_
