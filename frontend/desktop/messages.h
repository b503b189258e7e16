// The fixed texts of the front end's message boxes, as values for the
// desktop interface to show.
#ifndef FRONTEND_DESKTOP_MESSAGES_H_
#define FRONTEND_DESKTOP_MESSAGES_H_

#include <QString>

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

// Help could start no program to open the manual at `manualPath`: exclamation
// icon, OK.
UserMessage manualNotOpenedMessage(const QString& manualPath);

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
