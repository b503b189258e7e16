// The desktop edge of the front end: every side effect that the windows
// have outside their own widgets (message boxes, the beep, file dialogs,
// starting programs and the viewer, opening documents and the region settings, the filter
// editor, ending the program) goes through this one interface, so that tests can replace it
// with a recording fake.
#ifndef FRONTEND_DESKTOP_DESKTOP_H_
#define FRONTEND_DESKTOP_DESKTOP_H_

#include <QString>
#include <QStringList>
#include <optional>

#include "frontend/desktop/file_dialog.h"
#include "frontend/desktop/user_message.h"

namespace frontend {

enum class MessageAnswer { Ok, Yes, No };

class Desktop {
 public:
  virtual ~Desktop() = default;

  // Shows a modal message box and returns the button pressed: Ok for an
  // OK-only box; a Yes/No box closed without a choice answers No.
  virtual MessageAnswer showMessage(const UserMessage& message) = 0;

  // The short system beep.
  virtual void beep() = 0;

  // Shows a modal file dialog and returns the full path of the file chosen;
  // nullopt when the user cancelled or the dialog failed. Neither asks
  // before overwriting nor checks that the file exists.
  virtual std::optional<QString> chooseFile(const FileDialogRequest& request) = 0;

  // Starts the converter `program` with exactly `arguments` as its words
  // after the program name, in `workingFolder`, in a window of its own where
  // the desktop offers one (on Linux a terminal emulator, terminal.h), with
  // its standard input and output there. Without one it starts with
  // standard input from the null device, so that a converter that would
  // prompt ends with its error stop instead of waiting, and its output
  // captured: when it ends, a failure is shown in a message box that names
  // the program, its exit status and its last lines, a success in a short
  // desktop notification where a notification service runs; neither blocks
  // the window. The caller never waits for it and it may outlive the front
  // end. Returns false when the process could not be started.
  virtual bool startProgram(const QString& program, const QStringList& arguments,
                            const QString& workingFolder) = 0;

  // Starts a program that opens a window of its own (the viewer irview)
  // with exactly `arguments`, in `workingFolder`, detached: never in a
  // terminal, standard input from the null device. The caller never waits
  // for it and it may outlive the front end. Returns false when the process
  // could not be started.
  virtual bool startWindowProgram(const QString& program, const QStringList& arguments,
                                  const QString& workingFolder) = 0;

  // Shows the manual, the web archive at `manual`, in a window of the
  // program's own that offers to open it in the desktop's default viewer;
  // when the file cannot be read as one, tells the user why. Does not wait.
  virtual void openManual(const QString& manual) = 0;

  // Lets the user change the regional number settings: starts the system's
  // region settings panel when one is installed, otherwise tells the user
  // which environment variables to set. Does not wait.
  virtual void openRegionSettings() = 0;

  // Runs the filter editor modally; it may rewrite `filterFileName`, the
  // path of the current octave-band filter file (empty: no filter).
  virtual void runFilterEditor(QString& filterFileName) = 0;

  // Ends the program at once, every window included.
  virtual void endProgram() = 0;
};

}  // namespace frontend

#endif  // FRONTEND_DESKTOP_DESKTOP_H_
