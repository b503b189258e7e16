// The normalisation rules that the mode setups apply to the file fields, and
// the extension test shared by the launch and the browse buttons.
#ifndef FRONTEND_FORM_FIELD_RULES_H_
#define FRONTEND_FORM_FIELD_RULES_H_

#include <QString>

#include "frontend/desktop/platform.h"

namespace frontend {

// Each rule leaves an empty text empty and looks at the last three
// characters of the text, in any case. A text of fewer than three characters
// matches nothing and is emptied.
//
// Windows: the kept text is first turned wholly to lower case, as the file
// system there ignores case. Linux: the case of the text is kept, since
// lower-casing a path names another file on a case-sensitive file system
// (a left.TIM written by the converter would become left.tim); a swapped
// extension takes the case of the one it replaces, letter by letter
// ("Take1.WAV" -> "Take1.TIM").

// "...wav" becomes "...tim", "...tim" stays, anything else is emptied.
QString timRule(const QString& text, Platform platform = kHostPlatform);
// "...tim" becomes "...wav", "...wav" stays, anything else is emptied.
QString wavRule(const QString& text, Platform platform = kHostPlatform);
// Kept when the first of the last three characters is "_" (as in
// "hall._03"), emptied otherwise.
QString resultFileRule(const QString& text, Platform platform = kHostPlatform);

// A name needs an extension when it holds no "." or its first "." is its
// first character (".wav" needs one, "dir.x/left" does not).
bool needsExtension(const QString& name);

// `name` with `extension` (".WAV", ".tim", ...) appended when it needs one.
QString withExtension(const QString& name, const QString& extension);

}  // namespace frontend

#endif  // FRONTEND_FORM_FIELD_RULES_H_
