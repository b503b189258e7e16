// Finding the program that a command line names, the way the system would
// search for it from WorkDir, and turning the command line into a program
// path and its arguments. The file system is reached only through the
// injected predicate, so the search is pure.
#ifndef FRONTEND_LAUNCH_PROGRAM_LOOKUP_H_
#define FRONTEND_LAUNCH_PROGRAM_LOOKUP_H_

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "frontend/desktop/platform.h"

namespace frontend {

// True when `path` names an executable file.
using ProgramFileTest = std::function<bool(const QString& path)>;

struct ProgramSearch {
  QString workDir;          // searched first
  QString besideDir;        // the folder of the sonabrix program file
  QStringList pathDirs;     // the PATH folders, in order
  Platform platform = kHostPlatform;
};

// The folders of a PATH value, split at the platform's list separator (":"
// on Linux, ";" on Windows, where ":" follows a drive letter); empty entries
// skipped.
QStringList pathDirectories(const QString& pathVariable, Platform platform = kHostPlatform);

// The full path of the program named `name` (word 0 of a command line):
// a file of exactly that name in workDir; else, looked for in workDir, then
// besideDir, then each PATH folder: on Linux the name in lower case with a
// final ".exe" removed (the command lines name Windows programs), on Windows
// the name as given. A name holding a folder separator ("/"; on Windows
// also "\") is taken as a path relative to workDir and not searched for.
// nullopt when nothing is found.
std::optional<QString> findProgram(const QString& name,
                                   const ProgramSearch& search,
                                   const ProgramFileTest& isProgramFile);

// The name findProgram() searches the folders for: on Linux `name` in lower
// case without a final ".exe", unless it holds a folder; else `name`.
QString searchedProgramName(const QString& name, Platform platform);

// The paths findProgram() tries for `name`, in order, each once.
QStringList programCandidates(const QString& name, const ProgramSearch& search);

// A command line resolved for starting: the program's path and the words
// after word 0.
struct StartRequest {
  QString program;
  QStringList arguments;
};

// Splits `commandLine` into words and finds word 0. nullopt when the line
// holds no word or the program is not found; `notFound` then receives
// word 0 (empty for an empty line) for the message.
std::optional<StartRequest> resolveCommandLine(const QString& commandLine,
                                               const ProgramSearch& search,
                                               const ProgramFileTest& isProgramFile,
                                               QString* notFound = nullptr);

}  // namespace frontend

#endif  // FRONTEND_LAUNCH_PROGRAM_LOOKUP_H_
