#include "frontend/launch/launch.h"

#include <QDir>
#include <QFileInfo>

#include "frontend/desktop/messages.h"
#include "frontend/launch/command_line.h"
#include "frontend/launch/program_lookup.h"
#include "frontend/startup/regional_check.h"

namespace frontend {

namespace {

bool isProgramFile(const QString& path) {
  const QFileInfo info(path);
  return info.isFile() && info.isExecutable();
}

}  // namespace

LaunchOutcome launchConversion(FormState& state, const QString& filterFileName,
                               const LaunchEnvironment& environment, Desktop& desktop,
                               QString* commandLine) {
  const QLocale locale = environment.locale();
  if (!separatorCheckPasses(locale)) {
    if (desktop.showMessage(incompatibleSettingsQuestion()) == MessageAnswer::Yes)
      desktop.openRegionSettings();
    return LaunchOutcome::SettingsRefused;
  }

  const Launch launch =
      prepareLaunch(state, filterFileName, locale, [&](const QString& name) {
        return matchFileCase(name, environment.workDir, environment.listFolder,
                             environment.platform);
      });
  if (launch.refusal) {
    desktop.showMessage(*launch.refusal);
    return LaunchOutcome::Refused;
  }
  if (commandLine) *commandLine = launch.commandLine;

  const ProgramSearch search{environment.workDir, environment.besideDir, environment.pathDirs};
  QString missing;
  const std::optional<StartRequest> request =
      resolveCommandLine(launch.commandLine, search, isProgramFile, &missing);
  if (!request) {
    desktop.showMessage(search.platform == Platform::Windows
                            ? cannotStartMessage(missing, environment.workDir)
                            : programNotFoundMessage(searchedProgramName(missing, search.platform),
                                                     programCandidates(missing, search)));
    return LaunchOutcome::NotStarted;
  }

  // The converter inherits the current folder, and names in the fields
  // without a folder are relative to WorkDir; the folder is also handed to
  // the process explicitly.
  if (!QDir::setCurrent(environment.workDir) ||
      !desktop.startProgram(request->program, request->arguments, environment.workDir)) {
    desktop.showMessage(cannotStartMessage(request->program, environment.workDir));
    return LaunchOutcome::NotStarted;
  }
  return LaunchOutcome::Started;
}

}  // namespace frontend
