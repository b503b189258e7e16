// WorkDir, the front end's working folder, and the manual that Help opens.
#ifndef FRONTEND_STARTUP_WORK_DIR_H_
#define FRONTEND_STARTUP_WORK_DIR_H_

#include <QString>
#include <functional>

#include "frontend/desktop/platform.h"

namespace frontend {

// True when `folder` is a folder that the user can create files in.
using FolderTest = std::function<bool(const QString& folder)>;

// The file that an install puts beside the program: its folder is then an
// installed copy, not a folder to work in.
inline constexpr char kInstalledMarker[] = "sonabrix.installed";

// The folders that a Linux WorkDir falls back to, read at start-up.
struct WorkDirFallbacks {
  QString currentFolder;  // the current folder when the program started
  QString homeFolder;
  FolderTest isWritable;
  // The program's folder holds kInstalledMarker. It is then never WorkDir,
  // also for a user who may write there (root may write anywhere).
  bool programInstalled = false;
};

// WorkDir from the folder that holds the program file (a full path).
// Windows: the path in upper case, except that a path whose first five
// characters are "C:\US" or "C:\SO" gives the fixed simulation folder
// "c:\veradis2"; `fallbacks` is not used.
// Linux: names without a folder must land where the user can write, and an
// installed program lies in a system folder. So: the program's folder when
// it is writable and not an installed copy (a build tree, an unpacked
// copy), else the current folder at start-up when writable, else the home
// folder. Paths keep their case.
QString workDirFor(const QString& programFolder, Platform platform,
                   const WorkDirFallbacks& fallbacks = {});

// The manual under a folder: folder + "/Manual/MSonabrix.mht" on Linux,
// folder + "\Manual\MSonabrix.mht" on Windows.
QString manualPath(const QString& folder, Platform platform);

// The manual that Help opens. Windows: the one under WorkDir. Linux: the one
// under WorkDir when `exists` finds it, else the one installed beside the
// program in `programFolder`, so that Help works whichever folder WorkDir is.
QString helpManual(const QString& workDir, const QString& programFolder, Platform platform,
                   const std::function<bool(const QString& path)>& exists);

// The Windows Help command line: "Explorer " and the manual path joined
// without quotes.
QString windowsHelpCommandLine(const QString& manual);

}  // namespace frontend

#endif  // FRONTEND_STARTUP_WORK_DIR_H_
