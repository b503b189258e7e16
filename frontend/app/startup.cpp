#include "frontend/app/startup.h"

#include "frontend/desktop/messages.h"
#include "frontend/form/mode_setup.h"
#include "frontend/startup/regional_check.h"
#include "frontend/startup/work_dir.h"

namespace frontend {

std::unique_ptr<MainWindow> startSonabrix(const StartupInputs& inputs, Desktop& desktop) {
  if (!decimalCheckPasses(inputs.locale())) {
    desktop.showMessage(unrecoverableErrorMessage());
    return nullptr;
  }

  LaunchEnvironment environment;
  environment.workDir = workDirFor(inputs.programFolder, kHostPlatform, inputs.workDirFallbacks);
  environment.besideDir = inputs.programFolder;
  environment.pathDirs = inputs.pathDirs;
  environment.locale = inputs.locale;

  auto window = std::make_unique<MainWindow>(desktop, std::move(environment));
  window->selectMode(modeForKeyword(argumentText(inputs.arguments)));
  window->show();
  return window;
}

QStringList commandLineArguments(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
  return arguments;
}

}  // namespace frontend
