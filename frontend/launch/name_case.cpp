#include "frontend/launch/name_case.h"

#include <QDir>

namespace frontend {

QString matchFileCase(const QString& name, const QString& workDir, const FolderListing& list,
                      Platform platform) {
  if (platform == Platform::Windows || name.isEmpty()) return name;
  const qsizetype slash = name.lastIndexOf(u'/');
  const QString folderPart = slash < 0 ? QString() : name.left(slash + 1);
  const QString fileName = name.mid(slash + 1);
  QString folder = folderPart.startsWith(u'/') ? folderPart : workDir + u'/' + folderPart;

  QString match;
  int matches = 0;
  for (const QString& file : list(folder)) {
    if (file == fileName) return name;
    if (file.compare(fileName, Qt::CaseInsensitive) == 0) {
      match = file;
      ++matches;
    }
  }
  return matches == 1 ? folderPart + match : name;
}

QStringList filesInFolder(const QString& folder) {
  return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

}  // namespace frontend
