// The built program on a private X server, driven as a user would with
// xdotool, with no terminal emulator and no browser on its PATH: a failed
// conversion is told in a message box, Help shows the manual in a window of
// its own, and the file dialog leaves no settings behind. What the windows
// show is read from the X server (the clipboard that Ctrl+C fills), not
// from Qt; the program picks its X11 display plugin itself.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "frontend/testing/scoped_environment.h"
#include "frontend/testing/x_session.h"
#include "frontend/widgets/twips.h"

namespace frontend {
namespace {

class ProgramOnXServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    if (xvfb.isEmpty() || QStandardPaths::findExecutable("xdotool").isEmpty())
      GTEST_SKIP() << "needs Xvfb and xdotool (scripts/install-deps.sh installs them)";
    if (!server.start(xvfb, "1024x768x24")) GTEST_SKIP() << "Xvfb did not start a display";
    display.emplace("DISPLAY", server.display().toUtf8());
  }
  void TearDown() override {
    if (program.state() != QProcess::NotRunning) {
      program.kill();
      program.waitForFinished(10000);
    }
  }

  // Starts sonabrix in `mode` with nothing on its PATH and a home of its
  // own, and returns its main window; empty when it did not come.
  QString startProgram(const QString& mode) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    environment.insert("PATH", home.filePath("bin"));
    environment.insert("HOME", home.path());
    environment.insert("XDG_CONFIG_HOME", home.filePath(".config"));
    environment.insert("LC_ALL", "en_US.UTF-8");
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(SONABRIX_PROGRAM), {mode});
    if (!program.waitForStarted(10000)) return {};
    main = waitForWindow("^Sonabrix");
    return main;
  }
  // A click on the main window at a point given in twips, at 96 dpi.
  void click(int xTwips, int yTwips) {
    runXdotool({"mousemove", "--sync", "--window", main, QString::number(twipsToPixels(xTwips, 96)),
                QString::number(twipsToPixels(yTwips, 96)), "click", "1"});
  }
  void type(const QString& text) { runXdotool({"type", "--delay", "20", text}); }
  // Ctrl+C in `window`, then the clipboard's text. The keys are sent again
  // until text comes: a window just mapped may not have taken the focus yet
  // when the first keys arrive, and then they go nowhere.
  QString copyFrom(const QString& window, const QStringList& keys = {"ctrl+c"}) {
    const QStringList arguments = QStringList{"windowfocus", "--sync", window, "key"} + keys;
    QString text;
    waitFor([&] {
      runXdotool(arguments);
      XConnection x(server.display());
      if (x.ok()) text = x.clipboardText(1000);
      return !text.isEmpty();
    });
    return text;
  }

  XServer server;
  std::optional<ScopedEnvironment> display;
  QTemporaryDir home;
  QProcess program;
  QString main;
};

TEST_F(ProgramOnXServerTest, WithoutATerminalAFailedConversionShowsItsStatusAndLastLines) {
#ifdef IRGEN_PROGRAM
  ASSERT_FALSE(startProgram("IRGEN").isEmpty()) << "no main window";
  // WAV->TIM: a WAVE file that is not there, two outputs.
  click(2100, 3006);
  type("missing");
  click(2100, 4206);
  type("left");
  click(2100, 4626);
  type("right");
  click(996, 5286);  // OK - Convert!

  const QString box = waitForWindow("^Conversion Error$");
  ASSERT_FALSE(box.isEmpty()) << "no message box";
  // The text is selectable: a click on it, then select all and copy.
  runXdotool({"mousemove", "--sync", "--window", box, "120", "20", "click", "1"});
  const QString text = copyFrom(box, {"ctrl+a", "ctrl+c"});
  EXPECT_TRUE(text.contains("irgen ended with exit status 1.")) << text.toStdString();
  EXPECT_TRUE(text.contains("run-time error F6101: OPEN(missing.WAV)\n- file not found"))
      << text.toStdString();
  // It blocks nothing: the main window takes a click and another box comes.
  runXdotool({"windowmove", "--sync", box, "600", "0"});
  click(996, 5286);
  EXPECT_TRUE(waitFor([] { return visibleWindows("^Conversion Error$").size() == 2; }));
#else
  GTEST_SKIP() << "irgen is not part of this build";
#endif
}

TEST_F(ProgramOnXServerTest, HelpShowsTheManualInAWindowOfItsOwnWithoutABrowser) {
  ASSERT_FALSE(startProgram("IRGEN").isEmpty()) << "no main window";
  click(4656, 5286);  // Help
  const QString manual = waitForWindow("^Sonabrix 2.5 - User Manual$");
  ASSERT_FALSE(manual.isEmpty()) << "no manual window";
  const QString text = copyFrom(manual, {"ctrl+a", "ctrl+c"});
  EXPECT_TRUE(text.startsWith("Sonabrix 2.5 \u2014 User Manual")) << text.left(200).toStdString();
  EXPECT_TRUE(text.contains("Octave Band Equalizer"));
  EXPECT_TRUE(visibleWindows("^Help$").isEmpty()) << "a message instead of the manual";
}

TEST_F(ProgramOnXServerTest, TheFileDialogLeavesNoSettingsBehind) {
  ASSERT_FALSE(startProgram("IRGEN").isEmpty()) << "no main window";
  const QStringList before = visibleWindows(".");
  click(4627, 3006);  // the WAVE file's Browse...
  QString dialog;
  ASSERT_TRUE(waitFor([&] {
    for (const QString& window : visibleWindows("."))
      if (!before.contains(window)) dialog = window;
    return !dialog.isEmpty();
  })) << "no file dialog";
  runXdotool({"windowfocus", "--sync", dialog, "key", "Escape"});
  ASSERT_TRUE(waitFor([&] { return !visibleWindows(".").contains(dialog); }));

  XConnection x(server.display());
  ASSERT_TRUE(x.ok());
  x.sendCloseRequest(main.toUInt());
  ASSERT_TRUE(program.waitForFinished(20000)) << "the close box did not end the program";
  // Settings would go under the configuration folder (caches such as
  // fontconfig's may come elsewhere).
  QStringList written;
  for (QDirIterator it(home.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
       it.hasNext();) {
    const QString file = it.next();
    if (file.startsWith(home.filePath(".config")) || file.contains("QtProject")) written << file;
  }
  EXPECT_TRUE(written.isEmpty()) << written.join(' ').toStdString();
}

}  // namespace
}  // namespace frontend
