// "OK - Convert!" from the window runs the built converters: a WAVE file in
// WorkDir becomes .TIM files, and those become a WAVE file again.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cstdint>

#include "frontend/app/startup.h"
#include "frontend/qt_desktop/qt_desktop.h"
#include "frontend/testing/fake_desktop.h"
#include "frontend/testing/scoped_environment.h"
#include "frontend/testing/x_session.h"
#include "frontend/widgets/twips.h"


namespace frontend {
namespace {

void putLittleEndian(QByteArray& bytes, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.append(static_cast<char>((value >> (8 * i)) & 0xff));
}

// A 16-bit stereo PCM WAVE file of `frames` frames at 44100 Hz.
QByteArray stereoWave(int frames) {
  const uint32_t dataSize = static_cast<uint32_t>(frames) * 4;
  QByteArray bytes("RIFF");
  putLittleEndian(bytes, 36 + dataSize, 4);
  bytes.append("WAVEfmt ");
  putLittleEndian(bytes, 16, 4);
  putLittleEndian(bytes, 1, 2);          // PCM
  putLittleEndian(bytes, 2, 2);          // channels
  putLittleEndian(bytes, 44100, 4);      // sampling rate
  putLittleEndian(bytes, 44100 * 4, 4);  // byte rate
  putLittleEndian(bytes, 4, 2);          // block align
  putLittleEndian(bytes, 16, 2);         // bits per sample
  bytes.append("data");
  putLittleEndian(bytes, dataSize, 4);
  for (int i = 0; i < frames; ++i) {
    const int left = (i * 37) % 2000 - 1000;
    putLittleEndian(bytes, static_cast<uint16_t>(static_cast<int16_t>(left)), 2);
    putLittleEndian(bytes, static_cast<uint16_t>(static_cast<int16_t>(-left / 2)), 2);
  }
  return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool copyProgram(const QString& from, const QString& folder) {
  const QString to = QDir(folder).filePath(QFileInfo(from).fileName());
  return QFile::copy(from, to) &&
         QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Waits up to twenty seconds for a file to reach `size` bytes; the converter
// runs detached, so its output is watched rather than its end.
bool waitForFileSize(const QString& path, qint64 size) {
  for (int waited = 0; waited < 20000; waited += 25) {
    if (QFileInfo(path).size() == size) return true;
    QTest::qWait(25);
  }
  return false;
}

class EndToEndTest : public ::testing::Test {
 protected:
  std::unique_ptr<MainWindow> start(const QStringList& arguments) {
    StartupInputs inputs;
    inputs.locale = [] { return QLocale(QLocale::English, QLocale::UnitedStates); };
    inputs.programFolder = workDir.path();
    inputs.arguments = arguments;
    desktop.processStarter = &realStart;
    return startSonabrix(inputs, desktop);
  }
  void TearDown() override { QDir::setCurrent(QDir::tempPath()); }
  // Names `wave`, left and right in wavtim, presses "OK - Convert!" and
  // expects both .TIM files in WorkDir.
  void convertToLeftAndRight(MainWindow& window, const QString& wave);

  QTemporaryDir workDir;
  FakeDesktop desktop;
  QtDesktop realStart;
};

// 1000 frames are padded to 2048 points: a 14-byte head, the samples and
// the 840-byte trailer.
constexpr qint64 kTimSize = 14 + 2048 * 4 + 840;
// irexpo writes the 44-byte header and 2048 stereo frames.
constexpr qint64 kWaveSize = 44 + 2048 * 4;

void setField(MainWindow& window, const char* name, const QString& text) {
  window.findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
}

void pressConvert(MainWindow& window) {
  QTest::mouseClick(window.findChild<QPushButton*>("Command3D2"), Qt::LeftButton);
}

void EndToEndTest::convertToLeftAndRight(MainWindow& window, const QString& wave) {
  setField(window, "Wav", wave);
  setField(window, "TimLeft", "left");
  setField(window, "TimRight", "right");
  pressConvert(window);
  EXPECT_TRUE(desktop.messages.isEmpty());
  EXPECT_TRUE(waitForFileSize(workDir.filePath("left.TIM"), kTimSize));
  EXPECT_TRUE(waitForFileSize(workDir.filePath("right.TIM"), kTimSize));
}

TEST_F(EndToEndTest, WavtimStartsIrgenAndTimwavStartsIrexpoOnItsOutput) {
#if defined(IRGEN_PROGRAM) && defined(IREXPO_PROGRAM)
  ASSERT_TRUE(copyProgram(QStringLiteral(IRGEN_PROGRAM), workDir.path()));
  ASSERT_TRUE(copyProgram(QStringLiteral(IREXPO_PROGRAM), workDir.path()));
  ASSERT_TRUE(writeFile(workDir.filePath("take1.WAV"), stereoWave(1000)));
  const auto window = start({"irgen"});
  ASSERT_NE(window, nullptr);

  // Names relative to WorkDir, completed by the launch: take1.WAV, left.TIM
  // and right.TIM.
  convertToLeftAndRight(*window, "take1");
  QFile left(workDir.filePath("left.TIM"));
  ASSERT_TRUE(left.open(QIODevice::ReadOnly));
  EXPECT_EQ(left.read(2), QByteArray("\xcd\xab"));  // the .TIM file tag -21555

  // Switching to timwav keeps the names of the files just written.
  QTest::mouseClick(window->findChild<QPushButton*>("Command3D1"), Qt::LeftButton);
  ASSERT_EQ(window->readForm().CurrentMode, Mode::timwav);
  setField(*window, "Wav", "back");
  pressConvert(*window);
  EXPECT_TRUE(desktop.messages.isEmpty());
  EXPECT_TRUE(waitForFileSize(workDir.filePath("back.WAV"), kWaveSize));
  QFile back(workDir.filePath("back.WAV"));
  ASSERT_TRUE(back.open(QIODevice::ReadOnly));
  const QByteArray header = back.read(44);
  EXPECT_TRUE(header.startsWith("RIFF"));
  EXPECT_EQ(header.at(22), 2);  // stereo
#else
  GTEST_SKIP() << "irgen and irexpo are not part of this build";
#endif
}

// The window ids of the xterms on the display.
QStringList xtermWindows() {
  return runXdotool({"search", "--class", "xterm"}).split(u'\n', Qt::SkipEmptyParts);
}

bool waitForXterms(bool present, int milliseconds) {
  return waitFor([&] { return xtermWindows().isEmpty() != present; }, milliseconds);
}

// A real xterm on a private X server: "OK - Convert!" runs irgen in it to
// the end, and its window stays readable until Enter is pressed in it,
// after a success as after a failure.
TEST_F(EndToEndTest, InAnXtermEveryConversionStaysReadableUntilEnter) {
#ifdef IRGEN_PROGRAM
  const QString xvfb = QStandardPaths::findExecutable("Xvfb");
  const QString xterm = QStandardPaths::findExecutable("xterm");
  const QString xdotool = QStandardPaths::findExecutable("xdotool");
  if (xvfb.isEmpty() || xterm.isEmpty() || xdotool.isEmpty())
    GTEST_SKIP() << "needs Xvfb, xterm and xdotool (scripts/install-deps.sh installs them)";
  XServer server;
  if (!server.start(xvfb)) GTEST_SKIP() << "Xvfb did not start a display";
  const ScopedEnvironment display("DISPLAY", server.display().toUtf8());

  ASSERT_TRUE(copyProgram(QStringLiteral(IRGEN_PROGRAM), workDir.path()));
  ASSERT_TRUE(writeFile(workDir.filePath("take 1.wav"), stereoWave(1000)));
  const auto window = start({"irgen"});
  ASSERT_NE(window, nullptr);
  QtDesktop inTerminal(nullptr, TerminalSettings{true, xterm});
  desktop.processStarter = &inTerminal;

  const auto staysUntilEnter = [&](const char* run) {
    const QStringList windows = xtermWindows();
    ASSERT_EQ(windows.size(), 1) << "no xterm after a " << run;
    runXdotool({"windowfocus", "--sync", windows.first(), "key", "Return"});
    EXPECT_TRUE(waitForXterms(false, 10000)) << "Enter did not close the xterm of a " << run;
  };

  convertToLeftAndRight(*window, "take 1");  // completed to take 1.wav, the file's case
  // irgen has written both files and ended; its window is still there.
  QTest::qWait(3000);
  staysUntilEnter("success");

  setField(*window, "Wav", "missing");
  pressConvert(*window);
  ASSERT_TRUE(waitForXterms(true, 10000)) << "no xterm opened";
  QTest::qWait(3000);  // irgen has failed by now
  staysUntilEnter("failure");
#else
  GTEST_SKIP() << "irgen is not part of this build";
#endif
}

// The real program on a private X server: the close box of the main window
// works while the filter editor is open (Qt itself drops a close request
// for a window that a modal one blocks), and ends the program.
TEST(ProgramOnXTest, ClosingTheMainWindowWithTheEditorOpenEndsTheProgram) {
#ifdef FRONTEND_HAVE_XCB
  const QString xvfb = QStandardPaths::findExecutable("Xvfb");
  const QString xdotool = QStandardPaths::findExecutable("xdotool");
  if (xvfb.isEmpty() || xdotool.isEmpty())
    GTEST_SKIP() << "needs Xvfb and xdotool (scripts/install-deps.sh installs them)";
  XServer server;
  if (!server.start(xvfb)) GTEST_SKIP() << "Xvfb did not start a display";
  const ScopedEnvironment display("DISPLAY", server.display().toUtf8());

  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "xcb");
  environment.insert("LC_ALL", "en_US.UTF-8");
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(SONABRIX_PROGRAM), {"VERATOTIM"});
  ASSERT_TRUE(program.waitForStarted(10000));
  const QString main = waitForWindow("^Sonabrix");
  ASSERT_FALSE(main.isEmpty()) << "no main window";

  // A click on the "Octave Filter" caption, at window pixels of 96 dpi.
  QProcess click;
  click.start(xdotool, {"mousemove", "--window", main, QString::number(twipsToPixels(5000, 96)),
                        QString::number(twipsToPixels(2076, 96)), "click", "1"});
  ASSERT_TRUE(click.waitForFinished(5000));
  ASSERT_FALSE(waitForWindow("^Octave Band Equalizer$").isEmpty()) << "no editor";

  // A request that arrives while the editor is still being set up is
  // dropped, as Qt drops any for a blocked window; a user would click again.
  // Without the fix every one of them is dropped.
  XConnection x(server.display());
  ASSERT_TRUE(x.ok());
  bool ended = false;
  for (int attempt = 0; attempt < 20 && !ended; ++attempt) {
    x.sendCloseRequest(main.toUInt());
    ended = program.waitForFinished(500);
  }
  EXPECT_TRUE(ended) << "the main window's close box did nothing; the program said:\n"
                     << program.readAllStandardError().toStdString();
  if (program.state() != QProcess::NotRunning) {
    program.kill();
    program.waitForFinished();
  }
#else
  GTEST_SKIP() << "built without the X11 client library";
#endif
}

}  // namespace
}  // namespace frontend
