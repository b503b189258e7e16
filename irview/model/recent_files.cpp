#include "irview/model/recent_files.h"

#include <QDir>

namespace irview {

QString recentEntry(const QString& path, const QString& currentFolder) {
  return QDir::cleanPath(QDir(currentFolder).absoluteFilePath(path));
}

QStringList withRecent(const QStringList& list, const QString& entry) {
  QStringList result;
  if (!entry.isEmpty()) result.append(entry);
  for (const QString& file : list) {
    if (result.size() >= kMaxRecentFiles) break;
    if (!file.isEmpty() && !result.contains(file)) result.append(file);
  }
  return result;
}

QStringList withoutRecent(const QStringList& list, const QString& entry) {
  QStringList result = withRecent(list, QString());
  result.removeAll(entry);
  return result;
}

}  // namespace irview
