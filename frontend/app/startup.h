// Start-up of sonabrix: the decimal check that may end the program before
// its window is shown, WorkDir, and the first mode chosen by the start-up
// keyword.
#ifndef FRONTEND_APP_STARTUP_H_
#define FRONTEND_APP_STARTUP_H_

#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "frontend/desktop/desktop.h"
#include "frontend/main_window/main_window.h"
#include "frontend/startup/work_dir.h"

namespace frontend {

struct StartupInputs {
  // The regional settings, read at start-up and again at every conversion.
  std::function<QLocale()> locale = [] { return QLocale::system(); };
  QString programFolder;  // the folder that holds the program file
  // Where WorkDir goes when the program's folder is not writable (Linux).
  WorkDirFallbacks workDirFallbacks;
  QStringList arguments;  // the command-line arguments, program excluded
  QStringList pathDirs;   // PATH, for finding the converters
};

// Runs the start-up sequence and returns the main window, shown, in the
// mode named by the arguments. When the decimal check fails it shows the
// "Unrecoverable Error" message and returns null: no window is created and
// the program must end.
std::unique_ptr<MainWindow> startSonabrix(const StartupInputs& inputs, Desktop& desktop);

// The command-line arguments after the program name, exactly as given. Read
// them before QApplication is made: it takes its own options (-platform,
// -style, -reverse, ...) out of argv, and the start-up keyword is the whole
// argument text.
QStringList commandLineArguments(int argc, char* argv[]);

}  // namespace frontend

#endif  // FRONTEND_APP_STARTUP_H_
