// The two checks of the regional number settings: numbers reach the
// converters as text formatted after the user's locale, and the converters
// read "." as the decimal point, so the front end refuses other settings.
#ifndef FRONTEND_STARTUP_REGIONAL_CHECK_H_
#define FRONTEND_STARTUP_REGIONAL_CHECK_H_

#include <QLocale>

#include "frontend/form/number_patterns.h"

namespace frontend {

// Start-up: 2.2 in the pattern "000.0" must have "." as its fourth
// character. Fails for a decimal comma (de_DE, fr_FR).
bool decimalCheckPasses(const QLocale& locale);
bool decimalCheckPasses(const NumberSymbols& symbols);

// Before every conversion: 10000000 in "###,###,###" must hold a "," and
// 13.456 in "###.#####" a ".". Fails for a group separator other than ","
// (a blank, a no-break space, an apostrophe) or a decimal comma.
bool separatorCheckPasses(const QLocale& locale);
bool separatorCheckPasses(const NumberSymbols& symbols);

// The Windows command that opens the regional settings panel.
inline constexpr char kWindowsRegionalPanelCommand[] =
    "rundll32.exe shell32.dll,Control_RunDLL intl.cpl";

}  // namespace frontend

#endif  // FRONTEND_STARTUP_REGIONAL_CHECK_H_
