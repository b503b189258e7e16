#include "frontend/field_rules.h"

namespace frontend {

namespace {

// Shared frame of the TIM and WAV rules: `keep` stays, `swap` becomes `keep`,
// anything else empties the field.
QString normalise(const QString& text, QStringView keep, QStringView swap) {
  if (text.isEmpty()) return text;
  QString lower = text.toLower();
  if (lower.size() < 3) return QString();
  if (lower.endsWith(keep)) return lower;
  if (lower.endsWith(swap)) {
    lower.chop(3);
    return lower.append(keep);
  }
  return QString();
}

}  // namespace

QString timRule(const QString& text) { return normalise(text, u"tim", u"wav"); }

QString wavRule(const QString& text) { return normalise(text, u"wav", u"tim"); }

QString resultFileRule(const QString& text) {
  if (text.isEmpty()) return text;
  const QString lower = text.toLower();
  if (lower.size() >= 3 && lower.at(lower.size() - 3) == u'_') return lower;
  return QString();
}

bool needsExtension(const QString& name) { return name.indexOf(u'.') <= 0; }

QString withExtension(const QString& name, const QString& extension) {
  return needsExtension(name) ? name + extension : name;
}

}  // namespace frontend
