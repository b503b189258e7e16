// sonabrix: the windowed front end that starts the impulse-response
// converters.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStyleFactory>
#include <cstdio>
#include <optional>

#include "frontend/app/display_choice.h"
#include "frontend/app/startup.h"
#include "frontend/app/startup_probe.h"
#include "frontend/launch/program_lookup.h"
#include "frontend/qt_desktop/qt_desktop.h"
#include "frontend/startup/program_info.h"
#include "frontend/startup/work_dir.h"

int main(int argc, char* argv[]) {
  frontend::StartupInputs inputs;
  inputs.arguments = frontend::commandLineArguments(argc, argv);
  if (const std::optional<QString> text =
          frontend::informationRequest(inputs.arguments, QStringLiteral(SONABRIX_VERSION))) {
    const bool written = std::fputs(text->toLocal8Bit().constData(), stdout) >= 0;
    return written && std::fflush(stdout) == 0 ? 0 : 1;
  }

  frontend::DisplayChoice displayChoice;
  QApplication app(argc, argv);
  displayChoice.applicationStarted();
  frontend::storeNoSettings();
  // Fusion draws the design's caption colours on every desktop.
  app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

  // In the system's own notation: WorkDir on Windows is a backslashed path.
  inputs.programFolder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
  inputs.pathDirs = frontend::pathDirectories(qEnvironmentVariable("PATH"));
  inputs.workDirFallbacks = {QDir::currentPath(), QDir::homePath(), [](const QString& folder) {
                               const QFileInfo info(folder);
                               return info.isDir() && info.isWritable();
                             }};
  inputs.workDirFallbacks.programInstalled =
      QFileInfo::exists(QDir(inputs.programFolder).filePath(frontend::kInstalledMarker));

  frontend::QtDesktop desktop(nullptr, frontend::systemTerminalSettings());
  const std::unique_ptr<frontend::MainWindow> window = frontend::startSonabrix(inputs, desktop);
  if (!window) return 1;
  desktop.setParentWidget(window.get());
  frontend::installStartupProbe(*window);
  return app.exec();
}
