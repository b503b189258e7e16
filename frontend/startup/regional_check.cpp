#include "frontend/startup/regional_check.h"

namespace frontend {

bool decimalCheckPasses(const NumberSymbols& symbols) {
  const QString text = formatNumber(2.2, kDecimalCheckPattern, symbols);
  return text.size() >= 4 && text.at(3) == u'.';
}

bool separatorCheckPasses(const NumberSymbols& symbols) {
  const bool grouped = formatNumber(10000000, kGroupCheckPattern, symbols).contains(u',');
  const bool point = formatNumber(13.456, kPointCheckPattern, symbols).contains(u'.');
  return grouped && point;
}

bool decimalCheckPasses(const QLocale& locale) { return decimalCheckPasses(symbolsOf(locale)); }

bool separatorCheckPasses(const QLocale& locale) {
  return separatorCheckPasses(symbolsOf(locale));
}

}  // namespace frontend
