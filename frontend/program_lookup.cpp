#include "frontend/program_lookup.h"

#include "frontend/command_words.h"

namespace frontend {

namespace {

QString joinPath(const QString& folder, const QString& name) {
  if (folder.isEmpty() || folder.endsWith(u'/')) return folder + name;
  return folder + u'/' + name;
}

}  // namespace

QStringList pathDirectories(const QString& pathVariable) {
  return pathVariable.split(u':', Qt::SkipEmptyParts);
}

std::optional<QString> findProgram(const QString& name, const ProgramSearch& search,
                                   const ProgramFileTest& isProgramFile) {
  if (name.isEmpty()) return std::nullopt;
  if (name.contains(u'/')) {
    const QString path = name.startsWith(u'/') ? name : joinPath(search.workDir, name);
    if (isProgramFile(path)) return path;
    return std::nullopt;
  }

  if (!search.workDir.isEmpty()) {
    const QString exact = joinPath(search.workDir, name);
    if (isProgramFile(exact)) return exact;
  }

  // The command lines name Windows programs ("IRGEN.EXE"); installed here
  // they are lower case and without the suffix.
  QString plain = name.toLower();
  if (plain.endsWith(u".exe")) plain.chop(4);
  if (plain.isEmpty()) return std::nullopt;

  QStringList folders{search.workDir, search.besideDir};
  folders += search.pathDirs;
  for (const QString& folder : folders) {
    if (folder.isEmpty()) continue;
    const QString candidate = joinPath(folder, plain);
    if (isProgramFile(candidate)) return candidate;
  }
  return std::nullopt;
}

std::optional<StartRequest> resolveCommandLine(const QString& commandLine,
                                               const ProgramSearch& search,
                                               const ProgramFileTest& isProgramFile,
                                               QString* notFound) {
  QStringList words = splitCommandWords(commandLine);
  const QString name = words.isEmpty() ? QString() : words.takeFirst();
  const std::optional<QString> program = findProgram(name, search, isProgramFile);
  if (!program) {
    if (notFound) *notFound = name;
    return std::nullopt;
  }
  return StartRequest{*program, words};
}

}  // namespace frontend
