#include "frontend/filter_editor/editor_numbers.h"

#include <string>

#include "filter_file/decimal_text.h"
#include "frontend/form/number_patterns.h"

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

  size_t length = 0;
  const std::optional<DecimalParts> parts = scanDecimal(kept, &length);
  return parts ? decimalValue(*parts) : 0.0;
}

}  // namespace frontend
