// The number texts of the filter editor's fields: the three patterns the
// fields show values in, and the reading of a number typed into a field.
// "." is the decimal point whatever the locale, and nothing is grouped.
#ifndef FRONTEND_FILTER_EDITOR_EDITOR_NUMBERS_H_
#define FRONTEND_FILTER_EDITOR_EDITOR_NUMBERS_H_

#include <QString>
#include <QStringView>

namespace frontend {

// The limit fields Topp and Bottom: 50 gives "+50.0", -100 gives "-100.0".
inline constexpr char16_t kLimitPattern[] = u"+##0.0;-##0.0";
// A band field after its slider moved: 3.5 gives "+3.5", -12 gives "-12.0".
inline constexpr char16_t kBandPattern[] = u"+#0.0;-#0.0";
// A band field right after a file is loaded: at most one decimal, the point
// kept after a whole number: 3 gives "+3.", 3.46 gives "+3.5".
inline constexpr char16_t kLoadedBandPattern[] = u"+##0.#;-##0.#";
// What a band field shows when the editor opens without a filter file.
inline constexpr char16_t kUntouchedBandText[] = u" 0.0";

// `value` in one of the patterns above, rounded halves away from zero; a
// value that rounds to zero shows the "+" section.
QString formatEditorNumber(double value, QStringView pattern);

// The number at the start of a field text: blanks, tabs and line feeds are
// ignored wherever they stand; then an optional sign, digits with "." as
// the decimal point, and an optional exponent (E or D in either case, an
// optional sign, digits) are read, and reading stops at the first other
// character. A text without a leading number gives 0: "+50.0" gives 50,
// "1,5" gives 1, "abc" gives 0, "1 e 2" gives 100. An exponent letter
// without digits is not read ("2E" gives 2). A value beyond the range of
// double gives the largest double of its sign, one too small gives 0.
double readFieldNumber(QStringView text);

}  // namespace frontend

#endif  // FRONTEND_FILTER_EDITOR_EDITOR_NUMBERS_H_
