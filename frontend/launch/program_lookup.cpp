#include "frontend/launch/program_lookup.h"

#include "frontend/launch/command_words.h"

namespace frontend {

namespace {

QChar folderSeparator(Platform platform) {
  return platform == Platform::Windows ? u'\\' : u'/';
}

bool holdsFolder(const QString& name, Platform platform) {
  return name.contains(u'/') || (platform == Platform::Windows && name.contains(u'\\'));
}

bool isAbsolute(const QString& name, Platform platform) {
  if (platform == Platform::Linux) return name.startsWith(u'/');
  return name.startsWith(u'/') || name.startsWith(u'\\') ||
         (name.size() > 1 && name[1] == u':');
}

QString joinPath(const QString& folder, const QString& name, Platform platform) {
  const QChar separator = folderSeparator(platform);
  if (folder.isEmpty() || folder.endsWith(separator) || folder.endsWith(u'/'))
    return folder + name;
  return folder + separator + name;
}

}  // namespace

QStringList pathDirectories(const QString& pathVariable, Platform platform) {
  return pathVariable.split(platform == Platform::Windows ? u';' : u':', Qt::SkipEmptyParts);
}

QString searchedProgramName(const QString& name, Platform platform) {
  // The command lines name Windows programs ("IRGEN.EXE"); installed on
  // Linux they are lower case and without the suffix.
  if (platform == Platform::Windows || holdsFolder(name, platform)) return name;
  QString plain = name.toLower();
  if (plain.endsWith(u".exe")) plain.chop(4);
  return plain;
}

QStringList programCandidates(const QString& name, const ProgramSearch& search) {
  const Platform platform = search.platform;
  if (name.isEmpty()) return {};
  if (holdsFolder(name, platform))
    return {isAbsolute(name, platform) ? name : joinPath(search.workDir, name, platform)};

  QStringList candidates;
  const auto add = [&](const QString& path) {
    if (!candidates.contains(path)) candidates.append(path);
  };
  if (!search.workDir.isEmpty()) add(joinPath(search.workDir, name, platform));
  const QString plain = searchedProgramName(name, platform);
  if (plain.isEmpty()) return candidates;
  QStringList folders{search.workDir, search.besideDir};
  folders += search.pathDirs;
  for (const QString& folder : folders)
    if (!folder.isEmpty()) add(joinPath(folder, plain, platform));
  return candidates;
}

std::optional<QString> findProgram(const QString& name, const ProgramSearch& search,
                                   const ProgramFileTest& isProgramFile) {
  for (const QString& candidate : programCandidates(name, search))
    if (isProgramFile(candidate)) return candidate;
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
