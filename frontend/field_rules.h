// The normalisation rules that the mode setups apply to the file fields, and
// the extension test shared by the launch and the browse buttons.
#ifndef FRONTEND_FIELD_RULES_H_
#define FRONTEND_FIELD_RULES_H_

#include <QString>

namespace frontend {

// Each rule leaves an empty text empty; otherwise it first turns the whole
// text to lower case and then looks at its last three characters. A text of
// fewer than three characters matches nothing and is emptied.

// "...wav" becomes "...tim", "...tim" stays, anything else is emptied.
QString timRule(const QString& text);
// "...tim" becomes "...wav", "...wav" stays, anything else is emptied.
QString wavRule(const QString& text);
// Kept when the first of the last three characters is "_" (as in
// "hall._03"), emptied otherwise.
QString resultFileRule(const QString& text);

// A name needs an extension when it holds no "." or its first "." is its
// first character (".wav" needs one, "dir.x/left" does not).
bool needsExtension(const QString& name);

// `name` with `extension` (".WAV", ".tim", ...) appended when it needs one.
QString withExtension(const QString& name, const QString& extension);

}  // namespace frontend

#endif  // FRONTEND_FIELD_RULES_H_
