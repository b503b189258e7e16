#include "frontend/desktop/file_dialog.h"

namespace frontend {

QList<FileFilterEntry> parseFileFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QList<FileFilterEntry> entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) entries.append({parts[i], parts[i + 1]});
  return entries;
}

QStringList qtNameFilters(const QString& filter) {
  QStringList filters;
  for (const FileFilterEntry& entry : parseFileFilter(filter)) {
    const QString suffix = QStringLiteral("(%1)").arg(entry.pattern);
    if (entry.description.endsWith(suffix))
      filters.append(entry.description);
    else
      filters.append(QStringLiteral("%1 %2").arg(entry.description, suffix).trimmed());
  }
  return filters;
}

}  // namespace frontend
