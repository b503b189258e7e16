#include "frontend/startup/work_dir.h"

namespace frontend {

QString workDirFor(const QString& programFolder, Platform platform,
                   const WorkDirFallbacks& fallbacks) {
  if (platform == Platform::Linux) {
    if (!fallbacks.isWritable) return programFolder;
    if (!fallbacks.programInstalled && fallbacks.isWritable(programFolder)) return programFolder;
    if (!fallbacks.currentFolder.isEmpty() && fallbacks.isWritable(fallbacks.currentFolder))
      return fallbacks.currentFolder;
    return fallbacks.homeFolder;
  }
  const QString upper = programFolder.toUpper();
  if (upper.startsWith(u"C:\\US") || upper.startsWith(u"C:\\SO"))
    return QStringLiteral("c:\\veradis2");
  return upper;
}

QString manualPath(const QString& folder, Platform platform) {
  return folder + (platform == Platform::Windows ? QStringLiteral("\\Manual\\MSonabrix.mht")
                                                 : QStringLiteral("/Manual/MSonabrix.mht"));
}

QString helpManual(const QString& workDir, const QString& programFolder, Platform platform,
                   const std::function<bool(const QString& path)>& exists) {
  const QString underWorkDir = manualPath(workDir, platform);
  if (platform == Platform::Windows || exists(underWorkDir)) return underWorkDir;
  return manualPath(programFolder, platform);
}

QString windowsHelpCommandLine(const QString& manual) {
  return QStringLiteral("Explorer ") + manual;
}

}  // namespace frontend
