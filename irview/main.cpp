// irview: the impulse-response viewer.
#include <QApplication>
#include <cstdio>

#include "irview/model/command_line.h"
#include "irview/window/qt_audio_output.h"
#include "irview/window/qt_viewer_edge.h"
#include "irview/window/startup_probe.h"
#include "irview/window/viewer_window.h"

int main(int argc, char* argv[]) {
  // --help and --version need no display: answered before Qt starts.
  QStringList words;
  for (int i = 1; i < argc; ++i) words.append(QString::fromLocal8Bit(argv[i]));
  const irview::ViewerCommand given = irview::parseCommandLine(words);
  if (given.action == irview::ViewerCommand::Action::Help) {
    std::fputs(irview::helpText().toLocal8Bit().constData(), stdout);
    return 0;
  }
  if (given.action == irview::ViewerCommand::Action::Version) {
    std::fputs(irview::versionText().toLocal8Bit().constData(), stdout);
    return 0;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("irview"));
  // Qt has taken its own options out of the arguments by now.
  const irview::ViewerCommand command = irview::parseCommandLine(app.arguments().mid(1));
  if (command.action == irview::ViewerCommand::Action::Refuse) {
    std::fprintf(stderr, "%s\n", command.message.toLocal8Bit().constData());
    return 2;
  }

  irview::QtViewerEdge edge;
  // Without a sound server the window says so and does all else.
  irview::QtAudioOutput audio;
  irview::ViewerWindow window(edge, audio);
  edge.setParentWidget(&window);
  irview::installStartupProbe(window);
  // The files are read while the window is shown.
  window.openFiles(command.files);
  window.show();
  return app.exec();
}
