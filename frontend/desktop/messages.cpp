#include "frontend/desktop/messages.h"

namespace frontend {

UserMessage unrecoverableErrorMessage() {
  return {QStringLiteral("Unrecoverable Error"),
          QStringLiteral("Your Regional Settings are not properly set !!! Veradis requires US "
                         "English or UK English locale settings, please change them in Your "
                         "Windows Control Panel."),
          MessageIcon::Critical, MessageButtons::Ok};
}

UserMessage incompatibleSettingsQuestion() {
  return {QStringLiteral("Warning - incompatible settings!"),
          QStringLiteral("Your regional settings are not compatible with Veradis. Do You want "
                         "to change them now?"),
          MessageIcon::Critical, MessageButtons::YesNo};
}

UserMessage regionalSettingsHint() {
  return {QStringLiteral("Regional Settings"),
          QStringLiteral("No regional settings panel was found on this system.\n"
                         "Set LC_NUMERIC (or LANG) to a locale that uses \".\" as the decimal "
                         "point and \",\" to group thousands, such as en_US.UTF-8 or "
                         "en_GB.UTF-8, and start Sonabrix again. LC_ALL, when set, overrides "
                         "both: unset it or set it to such a locale too."),
          MessageIcon::Exclamation, MessageButtons::Ok};
}

UserMessage fileSpecificationError() {
  return {QStringLiteral("File Specification Error"),
          QStringLiteral("CAUTION! - You Must Specify the name of all the files!"),
          MessageIcon::Exclamation, MessageButtons::Ok};
}

UserMessage unquotableNameError(const QString& name) {
  return {QStringLiteral("File Specification Error"),
          QStringLiteral("The file name\n%1\ncannot be passed to the converter: a file name "
                         "may not hold a double quote (\") nor end with a backslash (\\).")
              .arg(name),
          MessageIcon::Exclamation, MessageButtons::Ok};
}

UserMessage cannotStartMessage(const QString& program, const QString& workDir) {
  return {QStringLiteral("Program Start Error"),
          QStringLiteral("The program %1 could not be started in the folder\n%2\n"
                         "Check that the folder exists and that the program is installed "
                         "there, beside Sonabrix or on the PATH.")
              .arg(program, workDir),
          MessageIcon::Exclamation, MessageButtons::Ok};
}

UserMessage programNotFoundMessage(const QString& name, const QStringList& candidates) {
  return {QStringLiteral("Program Start Error"),
          QStringLiteral("The program %1 was not found. Sonabrix looked for it as\n%2\n"
                         "Install it in one of these folders, or link it there.")
              .arg(name, candidates.join(u'\n')),
          MessageIcon::Exclamation, MessageButtons::Ok};
}

namespace {

QString fileNameOf(const QString& program) {
  return program.mid(program.lastIndexOf(u'/') + 1);
}

}  // namespace

UserMessage conversionFailedMessage(const QString& program, int exitStatus,
                                    const QStringList& lastLines) {
  const QString name = fileNameOf(program);
  QString text =
      exitStatus > 128
          ? QStringLiteral("%1 was ended by signal %2 (exit status %3).")
                .arg(name)
                .arg(exitStatus - 128)
                .arg(exitStatus)
          : QStringLiteral("%1 ended with exit status %2.").arg(name).arg(exitStatus);
  if (lastLines.isEmpty())
    text += QStringLiteral(" It printed nothing.");
  else
    text += QStringLiteral(" The last lines it printed:\n\n") + lastLines.join(u'\n');
  return {QStringLiteral("Conversion Error"), text, MessageIcon::Critical, MessageButtons::Ok};
}

DesktopNotice conversionFinishedNotice(const QString& program, const QString& folder) {
  return {QStringLiteral("%1 ended successfully").arg(fileNameOf(program)),
          QStringLiteral("The conversion ran in %1").arg(folder)};
}

UserMessage manualUnreadableMessage(const QString& manualPath, const QString& reason) {
  return {QStringLiteral("Help"),
          QStringLiteral("The manual\n%1\ncannot be shown: %2.").arg(manualPath, reason),
          MessageIcon::Exclamation, MessageButtons::Ok};
}

UserMessage manualNotOpenedMessage(const QString& manualPath) {
  return {QStringLiteral("Help"),
          QStringLiteral("The manual could not be opened: no program to show it was found.\n"
                         "Open this file with a web browser that reads web archives (.mht):\n%1")
              .arg(manualPath),
          MessageIcon::Exclamation, MessageButtons::Ok};
}

UserMessage exitQuestion() {
  return {QStringLiteral("Warning!"), QStringLiteral("Really do You want to exit ?"),
          MessageIcon::Exclamation, MessageButtons::YesNo};
}

UserMessage forcePinkInformation() {
  return {QStringLiteral("Force Pink Information"),
          QStringLiteral("Click <Force Pink> Only when Your Veradis simulation was conducted\r"
                         "using a sound source file already describing a loudspeaker\r"
                         "fed with white noise\r"
                         "or when You are Octave-Filtering to emulate a gun shot\r"
                         "or an MLS measurements"),
          MessageIcon::None, MessageButtons::Ok};
}

UserMessage noFileToViewMessage() {
  return {QStringLiteral("View Impulse Response"),
          QStringLiteral("This field names no file. Type or browse for the .TIM or WAVE file to "
                         "view first."),
          MessageIcon::Exclamation, MessageButtons::Ok};
}

UserMessage viewerMissingMessage(const QString& besideDir) {
  return {QStringLiteral("View Impulse Response"),
          QStringLiteral("The impulse-response viewer irview was found neither beside Sonabrix "
                         "in\n%1\nnor on the PATH. It is installed with Sonabrix's package.")
              .arg(besideDir),
          MessageIcon::Exclamation, MessageButtons::Ok};
}

}  // namespace frontend
