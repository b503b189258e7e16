// WorkDir, the front end's working folder, and the manual beneath it.
#ifndef FRONTEND_WORK_DIR_H_
#define FRONTEND_WORK_DIR_H_

#include <QString>

#include "frontend/platform.h"

namespace frontend {

// WorkDir from the folder that holds the program file (a full path).
// Linux: the path as given, case kept, since the file system is
// case-sensitive. Windows: the path in upper case, except that a path whose
// first five characters are "C:\US" or "C:\SO" gives the fixed simulation
// folder "c:\veradis2".
QString workDirFor(const QString& programFolder, Platform platform);

// The manual under WorkDir: WorkDir + "/Manual/MSonabrix.mht" on Linux,
// WorkDir + "\Manual\MSonabrix.mht" on Windows.
QString manualPath(const QString& workDir, Platform platform);

// The Windows Help command line: "Explorer " and the manual path joined
// without quotes.
QString windowsHelpCommandLine(const QString& workDir);

}  // namespace frontend

#endif  // FRONTEND_WORK_DIR_H_
