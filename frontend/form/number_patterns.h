// Number patterns of the front end and the reading of a number typed into a
// field. A pattern is literal text around one number section made of "#"
// (a digit shown only when significant), "0" (a digit always shown), ","
// between integer placeholders (group the integer digits by three) and "."
// (the decimal point). A second section after ";" formats negative values.
// Values are rounded to the pattern's decimals, halves away from zero, on
// their shortest decimal form (2.675 gives 2.68 with two decimals).
#ifndef FRONTEND_FORM_NUMBER_PATTERNS_H_
#define FRONTEND_FORM_NUMBER_PATTERNS_H_

#include <QLocale>
#include <QString>
#include <QStringView>

namespace frontend {

// The two symbols of the regional settings that the patterns use.
struct NumberSymbols {
  QString decimalPoint;
  QString groupSeparator;
};

// The symbols of `locale` (QLocale::c() gives "." and ",").
NumberSymbols symbolsOf(const QLocale& locale);

// Formats `value` with `pattern`, taking the decimal point and the group
// separator from `symbols`. An integer part
// of 0 shown only by "#" placeholders is left out (0.5 in "###.##" gives
// ".5", 0 in " ####" gives " "). The decimal point is shown whenever the
// pattern holds one.
//
// Negative values under a one-section pattern: "-" is placed directly before
// the first digit or decimal point, after any leading literal text, so that
// " ####" gives " -3" and the value stays one command-line word. A value
// that rounds to zero is shown without a sign.
QString formatNumber(double value, QStringView pattern, const NumberSymbols& symbols);
// The same with the symbols of `locale`.
QString formatNumber(double value, QStringView pattern, const QLocale& locale);

// The patterns of the command lines, written out for the callers.
inline constexpr char16_t kExpectedSplPattern[] = u" ####.0#";
inline constexpr char16_t kMicrophonePattern[] = u" ####";
inline constexpr char16_t kMicrophoneFenwix4Pattern[] = u" #### ";
inline constexpr char16_t kRatePattern[] = u" ###### ";
// The patterns of the regional checks.
inline constexpr char16_t kDecimalCheckPattern[] = u"000.0";
inline constexpr char16_t kGroupCheckPattern[] = u"###,###,###";
inline constexpr char16_t kPointCheckPattern[] = u"###.#####";

// The number at the start of a field text, "." being the decimal point
// whatever the locale: blanks and tabs are skipped wherever they stand, then
// an optional sign, digits, an optional "." and digits are read; reading
// stops at the first other character. A text without a number reads as 0
// ("94,5" reads 94, "abc" reads 0, "- 2.5" reads -2.5). No exponent is
// read. A value beyond the range of double reads as the largest double of
// its sign.
double readLeadingNumber(QStringView text);

}  // namespace frontend

#endif  // FRONTEND_FORM_NUMBER_PATTERNS_H_
