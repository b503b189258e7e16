// Starting a converter in a terminal window of its own on Linux, so that its
// dialogue shows and its prompts can be answered: which terminal emulator,
// and the words that make it run the converter. Pure: the environment and
// the program search are handed in.
#ifndef FRONTEND_RUN_TERMINAL_H_
#define FRONTEND_RUN_TERMINAL_H_

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "frontend/launch/program_lookup.h"

namespace frontend {

struct TerminalSettings {
  // A terminal is used only on a display (DISPLAY or WAYLAND_DISPLAY set);
  // without one, converters start detached as before.
  bool displayAvailable = false;
  // $TERMINAL: the terminal emulator the user prefers, a program name or a
  // path, taken whole (not split into words). Empty when unset.
  QString preferred;
};

// A terminal emulator and the words that put a command, given as separate
// words after them, into its window.
struct TerminalKind {
  QString program;
  QStringList runCommand;
};

// The terminals tried after $TERMINAL and x-terminal-emulator, in order.
const QList<TerminalKind>& commonTerminals();

// The words before the command for a terminal program (its file name
// decides): those of commonTerminals() for a known one, "-e" otherwise, the
// option that Debian's x-terminal-emulator and most others take.
QStringList terminalRunCommand(const QString& program);

// Returns the full path of a program, or an empty text when not found.
using ExecutableSearch = std::function<QString(const QString& name)>;

// The start of `converter` in a terminal, running in `workingFolder`: the
// first found of $TERMINAL, x-terminal-emulator and commonTerminals(), with
// its run words, then "sh", "-c", terminalScript(), "sonabrix", the folder,
// the converter's path and its arguments, each a word of its own, so that
// no name passes through a shell's parsing. nullopt without a display or
// when no terminal is found.
std::optional<StartRequest> terminalStart(const StartRequest& converter,
                                          const QString& workingFolder,
                                          const TerminalSettings& settings,
                                          const ExecutableSearch& findExecutable);

// The shell script run inside the terminal, with the folder, the program and
// its arguments as $1, $2, ...: it enters the folder and runs the program,
// then prints one line on how it ended,
//   "<program> ended successfully. Press Enter to close this window."
//   "<program> ended with exit status <n>. Press Enter to close this window."
// and waits for Enter, so that what the program printed stays readable
// whatever the outcome. It exits with the program's status.
QString terminalScript();

}  // namespace frontend

#endif  // FRONTEND_RUN_TERMINAL_H_
