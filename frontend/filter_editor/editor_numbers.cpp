#include "frontend/filter_editor/editor_numbers.h"

#include <string>

#include "frontend/filter_editor/decimal_text.h"
#include "frontend/number_patterns.h"

namespace frontend {

QString formatEditorNumber(double value, QStringView pattern) {
  // The patterns hold no "," placeholder, so no group separator is shown.
  return formatNumber(value, pattern, NumberSymbols{QStringLiteral("."), QStringLiteral(",")});
}

double readFieldNumber(QStringView text) {
  // The text without what is ignored, as Latin-1 up to the first character
  // that cannot belong to a number.
  std::string kept;
  for (QChar c : text) {
    if (c == u' ' || c == u'\t' || c == u'\n') continue;
    const char16_t u = c.unicode();
    const bool possible = (u >= u'0' && u <= u'9') || u == u'+' || u == u'-' || u == u'.' ||
                          u == u'e' || u == u'E' || u == u'd' || u == u'D';
    if (!possible) break;
    kept += static_cast<char>(u);
  }

  DecimalParts parts;
  const std::string_view s = kept;
  size_t i = 0;
  auto isDigit = [&](size_t at) { return at < s.size() && s[at] >= '0' && s[at] <= '9'; };
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) parts.negative = s[i++] == '-';
  const size_t intStart = i;
  while (isDigit(i)) ++i;
  parts.intDigits = s.substr(intStart, i - intStart);
  if (i < s.size() && s[i] == '.') {
    const size_t fracStart = ++i;
    while (isDigit(i)) ++i;
    parts.fracDigits = s.substr(fracStart, i - fracStart);
  }
  if (parts.intDigits.empty() && parts.fracDigits.empty()) return 0.0;

  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    size_t j = i + 1;
    bool negativeExponent = false;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) negativeExponent = s[j++] == '-';
    int exponent = 0;
    const size_t expStart = j;
    while (isDigit(j)) exponent = appendExponentDigit(exponent, s[j++]);
    if (j > expStart) parts.exponent = negativeExponent ? -exponent : exponent;
  }
  return decimalValue(parts);
}

}  // namespace frontend
