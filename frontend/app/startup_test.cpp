#include "frontend/app/startup.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <memory>

#include "frontend/desktop/messages.h"
#include "frontend/startup/program_info.h"
#include "frontend/startup/work_dir.h"
#include "frontend/testing/fake_desktop.h"

namespace frontend {
namespace {

StartupInputs inputsWith(const QLocale& locale, const QString& folder,
                         const QStringList& arguments = {}) {
  StartupInputs inputs;
  inputs.locale = [locale] { return locale; };
  inputs.programFolder = folder;
  inputs.arguments = arguments;
  return inputs;
}

bool anyWindowVisible() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->isVisible()) return true;
  return false;
}

TEST(StartupTest, DecimalCommaEndsStartUpBeforeAnyWindowIsCreated) {
  for (const QLocale& locale :
       {QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::French, QLocale::France)}) {
    SCOPED_TRACE(locale.name().toStdString());
    FakeDesktop desktop;
    const auto window = startSonabrix(inputsWith(locale, "/opt/tools"), desktop);
    EXPECT_EQ(window, nullptr);
    ASSERT_EQ(desktop.messages.size(), 1);
    EXPECT_EQ(desktop.messages[0], unrecoverableErrorMessage());
    EXPECT_FALSE(anyWindowVisible());
    for (QWidget* widget : QApplication::topLevelWidgets())
      EXPECT_EQ(qobject_cast<MainWindow*>(widget), nullptr);
  }
}

TEST(StartupTest, DecimalPointOpensTheWindowWithWorkDirAsTheProgramFolder) {
  for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates),
                                QLocale(QLocale::English, QLocale::UnitedKingdom),
                                QLocale(QLocale::German, QLocale::Switzerland)}) {
    SCOPED_TRACE(locale.name().toStdString());
    FakeDesktop desktop;
    const auto window = startSonabrix(inputsWith(locale, "/home/Ann/Sonabrix Tools"), desktop);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(desktop.messages.isEmpty());
    EXPECT_EQ(window->workDir(), "/home/Ann/Sonabrix Tools");  // case kept
  }
}

TEST(StartupTest, TheWholeArgumentTextChoosesTheFirstMode) {
  const struct {
    QStringList arguments;
    Mode mode;
  } cases[] = {
      {{}, Mode::verawav},
      {{"irgen"}, Mode::wavtim},
      {{"IRGEN", "take1.wav"}, Mode::verawav},
      {{"IrExpo"}, Mode::timwav},
      {{"kaldor"}, Mode::bktim},
      {{"VERATOTIM"}, Mode::veratim},
      {{"veratowav"}, Mode::verawav},
      {{"IRGEN.EXE"}, Mode::verawav},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.join(u' ').toStdString());
    FakeDesktop desktop;
    const auto window =
        startSonabrix(inputsWith(QLocale(QLocale::English), "/opt/tools", c.arguments), desktop);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->readForm().CurrentMode, c.mode);
  }
}

TEST(StartupTest, KaldorKeywordEntersTheHiddenBkMode) {
  FakeDesktop desktop;
  const auto window =
      startSonabrix(inputsWith(QLocale(QLocale::English), "/opt", {"KALDOR"}), desktop);
  ASSERT_NE(window, nullptr);
  const FormState state = window->readForm();
  EXPECT_EQ(state.Command3D1, "B&&K ---> .TIM");
  EXPECT_EQ(state.Frame3D2, "B&&K 2133 file name");
  EXPECT_EQ(state.Panel3D2, "Expected SPL Value (dB) =");
  EXPECT_TRUE(window->findChild<QWidget*>("bktim")->isHidden());
}

TEST(StartupTest, TheCloseBoxClosesWithoutAskingAndEndsTheApplication) {
  FakeDesktop desktop;
  const auto window = startSonabrix(inputsWith(QLocale(QLocale::English), "/opt"), desktop);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->testAttribute(Qt::WA_QuitOnClose));
  EXPECT_TRUE(QApplication::quitOnLastWindowClosed());
  EXPECT_TRUE(window->close());
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(desktop.messages.isEmpty());
  EXPECT_EQ(desktop.beeps, 0);
}

// The built program's folder holds the manual as an install does. When that
// folder cannot be written, WorkDir is the current folder, and Help still
// finds the manual beside the program.
TEST(StartupTest, WorkDirIsTheProgramFolderOnlyWhenWritableAndHelpFindsTheManualEitherWay) {
  const QString folder = QFileInfo(QStringLiteral(SONABRIX_PROGRAM)).absolutePath();
  QTemporaryDir current;
  for (const bool programFolderWritable : {true, false}) {
    SCOPED_TRACE(programFolderWritable);
    FakeDesktop desktop;
    StartupInputs inputs = inputsWith(QLocale(QLocale::English), folder);
    inputs.workDirFallbacks = {current.path(), "/nonexistent-home", [&](const QString& f) {
                                 return f == current.path() || programFolderWritable;
                               }};
    const auto window = startSonabrix(inputs, desktop);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->workDir(), programFolderWritable ? folder : current.path());
    window->showHelp();
    ASSERT_EQ(desktop.openedManuals.size(), 1);
    EXPECT_EQ(QFileInfo(desktop.openedManuals[0]).canonicalFilePath(),
              QFileInfo(QStringLiteral(SONABRIX_BUILT_MANUAL)).canonicalFilePath());
  }
}

TEST(ManualTest, IsAWebArchiveWithOneHtmlPart) {
  QFile file(QStringLiteral(SONABRIX_BUILT_MANUAL));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  const qsizetype at = text.indexOf("boundary=\"");
  ASSERT_GE(at, 0);
  const qsizetype end = text.indexOf('"', at + 10);
  const QByteArray boundary = "--" + text.mid(at + 10, end - at - 10);
  EXPECT_TRUE(text.startsWith("From: "));
  EXPECT_TRUE(text.contains("Content-Type: multipart/related;"));
  EXPECT_EQ(text.count(boundary + "\r\nContent-Type: text/html"), 1);
  EXPECT_TRUE(text.trimmed().endsWith(boundary + "--"));
  EXPECT_TRUE(text.contains("</html>"));
  EXPECT_EQ(std::count_if(text.begin(), text.end(),
                          [](char c) { return static_cast<unsigned char>(c) >= 128; }),
            0)
      << "the archive is 7-bit text";
}

// The built program itself: with a decimal point it paints its window (the
// start-up probe reports the first paint and ends it); with a decimal comma
// in LC_ALL it stops at the error message and never paints.
QProcess* startProgram(const QString& localeName, const QStringList& arguments = {}) {
  auto* process = new QProcess;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("SONABRIX_STARTUP_PROBE", "1");
  environment.insert("LC_ALL", localeName);
  process->setProcessEnvironment(environment);
  process->start(QStringLiteral(SONABRIX_PROGRAM), arguments);
  return process;
}

TEST(ProgramTest, PaintsItsWindowUnderUsEnglishSettings) {
  std::unique_ptr<QProcess> process(startProgram("en_US.UTF-8"));
  ASSERT_TRUE(process->waitForFinished(20000));
  EXPECT_EQ(process->exitCode(), 0);
  EXPECT_TRUE(process->readAllStandardOutput().startsWith("first-paint-ns "));
}

TEST(ProgramTest, StartsInTheModeOfItsWholeArgumentTextQtOptionsIncluded) {
  const struct {
    QStringList arguments;
    const char* mode;
  } cases[] = {
      {{"irgen"}, "wavtim"},
      // Words that Qt takes as its own options are still part of the text.
      {{"IRGEN", "-reverse"}, "verawav"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.join(u' ').toStdString());
    std::unique_ptr<QProcess> process(startProgram("en_US.UTF-8", c.arguments));
    ASSERT_TRUE(process->waitForFinished(20000));
    EXPECT_TRUE(process->readAllStandardOutput().contains(QByteArray("\nstart-mode ") + c.mode + "\n"));
  }
}

TEST(ProgramTest, ALoneHelpOrVersionIsAnsweredBeforeAnyWindowOrLocaleCheck) {
  const struct {
    QStringList arguments;
    QString output;  // empty: the window opens in Veradis->WAV
  } cases[] = {
      {{"--help"}, usageText()},
      {{"--version"}, versionText(QStringLiteral(SONABRIX_VERSION_TEXT))},
      {{"--help", "IRGEN"}, QString()},
      {{"./--version"}, QString()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.join(u' ').toStdString());
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("SONABRIX_STARTUP_PROBE", "1");
    if (c.output.isEmpty()) {
      environment.insert("QT_QPA_PLATFORM", "offscreen");
      environment.insert("LC_ALL", "en_US.UTF-8");
    } else {
      // A window or the locale check would fail here: X11 without a display,
      // and a decimal comma.
      environment.insert("QT_QPA_PLATFORM", "xcb");
      environment.remove("DISPLAY");
      environment.remove("WAYLAND_DISPLAY");
      environment.insert("LC_ALL", "de_DE.UTF-8");
    }
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(SONABRIX_PROGRAM), c.arguments);
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 0);
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
    if (c.output.isEmpty()) {
      EXPECT_TRUE(output.contains("\nstart-mode verawav\n")) << output.toStdString();
    } else {
      EXPECT_EQ(output.toStdString(), c.output.toStdString());
      EXPECT_TRUE(process.readAllStandardError().isEmpty());
    }
  }
}

TEST(ProgramTest, NeverPaintsItsWindowUnderGermanSettings) {
  std::unique_ptr<QProcess> process(startProgram("de_DE.UTF-8"));
  // The error message waits for its OK; the window must not appear meanwhile.
  EXPECT_FALSE(process->waitForFinished(2000));
  EXPECT_FALSE(process->readAllStandardOutput().contains("first-paint-ns"));
  process->kill();
  process->waitForFinished();
}

}  // namespace
}  // namespace frontend
