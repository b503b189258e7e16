// The fixed texts of the front end's message boxes, as values for the
// desktop interface to show.
#ifndef FRONTEND_DESKTOP_MESSAGES_H_
#define FRONTEND_DESKTOP_MESSAGES_H_

#include <QString>
#include <QStringList>

#include "frontend/desktop/user_message.h"

namespace frontend {

// Start-up decimal check failed: stop icon, OK; the program ends after it.
UserMessage unrecoverableErrorMessage();

// Separator check failed before a conversion: stop icon, Yes/No. Yes offers
// the regional settings.
UserMessage incompatibleSettingsQuestion();

// Shown after Yes to incompatibleSettingsQuestion() when no region settings
// panel can be started: which environment variables to set.
UserMessage regionalSettingsHint();

// A needed file name is empty: exclamation icon, OK.
UserMessage fileSpecificationError();

// A file name that cannot travel inside double quotes on the command line
// (it holds a double quote, or ends with a backslash that would escape the
// closing quote): exclamation icon, OK, the name quoted in the text.
UserMessage unquotableNameError(const QString& name);

// The program of a command line could not be found or started.
UserMessage cannotStartMessage(const QString& program, const QString& workDir);

// Linux: the program `name` (as searched for: "fenwix", not "fenwix.exe")
// is none of `candidates`, the paths tried in order: exclamation icon, OK,
// each path on a line of its own.
UserMessage programNotFoundMessage(const QString& name, const QStringList& candidates);

// A converter run without a terminal ended with a non-zero `exitStatus` (a
// shell's status: above 128 it was ended by signal status - 128): stop
// icon, OK, naming the program (its file name) and the status, then
// `lastLines`, the last lines it printed.
UserMessage conversionFailedMessage(const QString& program, int exitStatus,
                                    const QStringList& lastLines);

// A short desktop notification: its summary and body.
struct DesktopNotice {
  QString summary;
  QString body;
  friend bool operator==(const DesktopNotice&, const DesktopNotice&) = default;
};

// A converter run without a terminal ended successfully in `folder`.
DesktopNotice conversionFinishedNotice(const QString& program, const QString& folder);

// The manual at `manualPath` did not open in the default viewer: none was
// found, or it failed. Exclamation icon, OK.
UserMessage manualNotOpenedMessage(const QString& manualPath);

// Help: the manual at `manualPath` cannot be shown, for `reason` (a
// sentence without its full stop): exclamation icon, OK.
UserMessage manualUnreadableMessage(const QString& manualPath, const QString& reason);

// Exit button: exclamation icon, Yes/No.
UserMessage exitQuestion();

// Force Pink turned on: no icon, OK; five lines joined by a lone CR.
UserMessage forcePinkInformation();

// "View impulse response" on a file field that names no file: exclamation
// icon, OK.
UserMessage noFileToViewMessage();

// "View impulse response" finds no viewer beside sonabrix (`besideDir`) or
// on the PATH: exclamation icon, OK.
UserMessage viewerMissingMessage(const QString& besideDir);

}  // namespace frontend

#endif  // FRONTEND_DESKTOP_MESSAGES_H_
