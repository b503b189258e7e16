// "OK - Convert!": turns the window's state into one command line and starts
// the converter it names, through the desktop interface, without waiting.
#ifndef FRONTEND_LAUNCH_LAUNCH_H_
#define FRONTEND_LAUNCH_LAUNCH_H_

#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>

#include "frontend/desktop/desktop.h"
#include "frontend/form/form_state.h"
#include "frontend/launch/name_case.h"

namespace frontend {

// Where a launch runs and what it reads besides the window.
struct LaunchEnvironment {
  QString workDir;       // current folder of every converter
  QString besideDir;     // the folder of the sonabrix program file
  QStringList pathDirs;  // PATH, searched last for the program
  // The regional number settings, asked afresh at every conversion.
  std::function<QLocale()> locale = [] { return QLocale::system(); };
  // How completed names are matched to existing files (name_case.h).
  FolderListing listFolder = filesInFolder;
  Platform platform = kHostPlatform;
};

// What a conversion click ended in.
enum class LaunchOutcome {
  SettingsRefused,  // the separator check failed (the user was asked)
  Refused,          // a missing or unusable file name (the user was told)
  NotStarted,       // the program or WorkDir could not be used (the user was told)
  Started,
};

// Runs one conversion click: the separator check (on a fail the Yes/No
// question, and on Yes the region settings), validation, extension
// completion written into `state` (on Linux a completed name that misses
// the one file that matches it ignoring case takes that file's name), the
// command line, the program lookup, WorkDir made the current folder, and
// the start through Desktop::startProgram, without waiting. `state` changes
// only by the completed field texts. `commandLine`, when given, receives the
// text of the command line that was built.
LaunchOutcome launchConversion(FormState& state, const QString& filterFileName,
                               const LaunchEnvironment& environment, Desktop& desktop,
                               QString* commandLine = nullptr);

}  // namespace frontend

#endif  // FRONTEND_LAUNCH_LAUNCH_H_
