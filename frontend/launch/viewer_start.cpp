#include "frontend/launch/viewer_start.h"

#include <QDir>

#include "frontend/desktop/messages.h"
#include "frontend/launch/command_line.h"
#include "frontend/launch/name_case.h"

namespace frontend {

namespace {

QString fieldText(const FormState& state, FileField field) {
  switch (field) {
    case FileField::Wav:
      return state.Wav;
    case FileField::TimLeft:
      return state.TimLeft;
    case FileField::TimRight:
      return state.TimRight;
  }
  return QString();
}

// The absolute path of a field's name, which lies in WorkDir unless it
// names a folder of its own from the root (or, on Windows, a drive).
QString inWorkDir(const QString& name, const QString& workDir, Platform platform) {
  if (platform != Platform::Windows) return QDir::cleanPath(QDir(workDir).absoluteFilePath(name));
  QString path = name;
  path.replace(u'/', u'\\');
  const bool rooted = path.startsWith(u'\\') || (path.size() > 1 && path[1] == u':');
  if (rooted) return path;
  return workDir.endsWith(u'\\') ? workDir + path : workDir + u'\\' + path;
}

}  // namespace

QString viewerProgramName(Platform platform) {
  return platform == Platform::Windows ? QStringLiteral("irview.exe") : QStringLiteral("irview");
}

ViewerStart prepareViewerStart(const FormState& state, FileField field,
                               const LaunchEnvironment& environment,
                               const ProgramFileTest& isProgramFile) {
  const QString given = fieldText(state, field);
  if (given.trimmed().isEmpty()) return {std::nullopt, noFileToViewMessage()};

  FormState completed = state;
  completeExtensions(completed);
  QString name = fieldText(completed, field);
  if (name != given)
    name = matchFileCase(name, environment.workDir, environment.listFolder, environment.platform);
  const QString path = inWorkDir(name, environment.workDir, environment.platform);

  // Beside sonabrix first, then the PATH.
  const ProgramSearch search{environment.besideDir, environment.besideDir, environment.pathDirs,
                             environment.platform};
  const std::optional<QString> program =
      findProgram(viewerProgramName(environment.platform), search, isProgramFile);
  if (!program) return {std::nullopt, viewerMissingMessage(environment.besideDir)};
  return {StartRequest{*program, {path}}, std::nullopt};
}

}  // namespace frontend
