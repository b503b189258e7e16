#include "frontend/work_dir.h"

namespace frontend {

QString workDirFor(const QString& programFolder, Platform platform) {
  if (platform == Platform::Linux) return programFolder;
  const QString upper = programFolder.toUpper();
  if (upper.startsWith(u"C:\\US") || upper.startsWith(u"C:\\SO"))
    return QStringLiteral("c:\\veradis2");
  return upper;
}

QString manualPath(const QString& workDir, Platform platform) {
  return workDir + (platform == Platform::Windows ? QStringLiteral("\\Manual\\MSonabrix.mht")
                                                  : QStringLiteral("/Manual/MSonabrix.mht"));
}

QString windowsHelpCommandLine(const QString& workDir) {
  return QStringLiteral("Explorer ") + manualPath(workDir, Platform::Windows);
}

}  // namespace frontend
