#include "frontend/form/field_rules.h"

namespace frontend {

namespace {

QString caseForPlatform(const QString& text, Platform platform) {
  return platform == Platform::Windows ? text.toLower() : text;
}

// Shared frame of the TIM and WAV rules (`keep` and `swap` in lower case):
// a text ending in `keep` stays, one ending in `swap` gets `keep` instead,
// anything else empties the field.
QString normalise(const QString& text, QStringView keep, QStringView swap, Platform platform) {
  if (text.size() < 3) return QString();
  QString out = caseForPlatform(text, platform);
  if (out.endsWith(keep, Qt::CaseInsensitive)) return out;
  if (!out.endsWith(swap, Qt::CaseInsensitive)) return QString();
  const qsizetype at = out.size() - 3;
  for (qsizetype i = 0; i < 3; ++i)
    out[at + i] = out[at + i].isUpper() ? keep[i].toUpper() : keep[i];
  return out;
}

}  // namespace

QString timRule(const QString& text, Platform platform) {
  return normalise(text, u"tim", u"wav", platform);
}

QString wavRule(const QString& text, Platform platform) {
  return normalise(text, u"wav", u"tim", platform);
}

QString resultFileRule(const QString& text, Platform platform) {
  if (text.size() >= 3 && text.at(text.size() - 3) == u'_') return caseForPlatform(text, platform);
  return QString();
}

bool needsExtension(const QString& name) { return name.indexOf(u'.') <= 0; }

QString withExtension(const QString& name, const QString& extension) {
  return needsExtension(name) ? name + extension : name;
}

}  // namespace frontend
