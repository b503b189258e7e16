// The built irview: its command line without a display, its first paint and
// analysis offscreen, and a start on a private X server.
#include <gtest/gtest.h>

#include "irview/testing/qt_printers.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "irview/testing/test_responses.h"
#include "frontend/testing/x_session.h"

namespace irview {
namespace {

struct ProgramRun {
  int status = -1;
  QString out;
  QString err;
};

ProgramRun runViewer(const QStringList& arguments, const QProcessEnvironment& environment) {
  QProcess program;
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(IRVIEW_PROGRAM), arguments);
  ProgramRun run;
  if (!program.waitForFinished(60000)) {
    program.kill();
    program.waitForFinished();
    run.err = "did not end within a minute";
    return run;
  }
  run.status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
  run.out = QString::fromLocal8Bit(program.readAllStandardOutput());
  run.err = QString::fromLocal8Bit(program.readAllStandardError());
  return run;
}

QProcessEnvironment probeEnvironment(const QString& platform, const QString& home) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", platform);
  environment.insert("IRVIEW_STARTUP_PROBE", "1");
  environment.insert("HOME", home);  // its settings, the recent list, go there
  environment.insert("XDG_CONFIG_HOME", home + "/.config");
  // No sound server (and none started on demand): the Listen panel says so.
  environment.insert("PULSE_SERVER", "unix:" + home + "/no-sound-server");
  return environment;
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"left.tim", "right.tim"}) {
      const QString path = folder.filePath(name);
      ASSERT_TRUE(testing::writeBytes(
          path, testing::timFileBytes(testing::decayingNoise(44100, 0.5, 65535, name[0]), 44100)));
      files.append(path);
    }
  }
  QTemporaryDir folder;
  QStringList files;
};

TEST_F(ProgramTest, HelpAndVersionNeedNoDisplayAndAnUnknownOptionIsRefused) {
  QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
  bare.remove("DISPLAY");
  bare.remove("WAYLAND_DISPLAY");
  bare.remove("QT_QPA_PLATFORM");
  const ProgramRun help = runViewer({"--help"}, bare);
  EXPECT_EQ(help.status, 0) << help.err.toStdString();
  EXPECT_TRUE(help.out.startsWith("Usage: irview [FILE]...")) << help.out.toStdString();
  const ProgramRun version = runViewer({"--version"}, bare);
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(version.out.startsWith("irview ")) << version.out.toStdString();

  QProcessEnvironment offscreen = bare;
  offscreen.insert("QT_QPA_PLATFORM", "offscreen");
  const ProgramRun refused = runViewer({"--bogus", files[0]}, offscreen);
  EXPECT_EQ(refused.status, 2);
  EXPECT_TRUE(refused.err.contains("unknown option --bogus")) << refused.err.toStdString();
}

TEST_F(ProgramTest, OffscreenThePairIsPaintedThenAnalysedAndRemembered) {
  const ProgramRun run = runViewer(files, probeEnvironment("offscreen", folder.path()));
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 4) << run.out.toStdString();
  EXPECT_TRUE(lines[0].startsWith("first-paint-ns "));
  EXPECT_TRUE(lines[1].startsWith("analysed-ns "));
  EXPECT_GE(lines[1].mid(12).toLongLong(), lines[0].mid(15).toLongLong());
  EXPECT_EQ(lines[2], "traces 2");
  EXPECT_EQ(lines[3], "audio none: No audio output: no sound device or sound server was found: "
                      "Listen cannot play");
  // The recent list lands in the program's own settings.
  QFile settings(folder.filePath(".config/irview/irview.conf"));
  ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
  EXPECT_TRUE(settings.readAll().contains("right.tim"));
}

TEST_F(ProgramTest, OnARealXServerTheWindowIsPaintedWithTheFile) {
  const QString xvfb = QStandardPaths::findExecutable("Xvfb");
  if (xvfb.isEmpty()) GTEST_SKIP() << "needs Xvfb (scripts/install-deps.sh installs it)";
  frontend::XServer server;
  if (!server.start(xvfb, "1024x768x24")) GTEST_SKIP() << "Xvfb did not start a display";
  QProcessEnvironment environment = probeEnvironment("xcb", folder.path());
  environment.insert("DISPLAY", server.display());
  const ProgramRun run = runViewer({files[0]}, environment);
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  // A short analysis may be over before the window's first paint.
  EXPECT_TRUE(run.out.contains(
      QRegularExpression("^first-paint-ns \\d+$", QRegularExpression::MultilineOption)))
      << run.out.toStdString();
  EXPECT_TRUE(run.out.contains("\ntraces 1\naudio none: ")) << run.out.toStdString();
}

}  // namespace
}  // namespace irview
