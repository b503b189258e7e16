// Conversions started in a terminal: a stand-in terminal records what it
// receives and runs the command, so that the words reaching the converter
// through the terminal and its shell wrapper can be checked without X.
#include <QDir>
#include <QTemporaryDir>

#include "frontend/qt_desktop/qt_desktop.h"
#include "frontend/testing/recorded_start.h"
#include "frontend/testing/window_fixture.h"

namespace frontend {
namespace {

class TerminalStartTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    desktop.processStarter = &realStart;
  }
  void TearDown() override { QDir::setCurrent(QDir::tempPath()); }

  QtDesktop realStart{nullptr, TerminalSettings{true, QStringLiteral(TERMINAL_STANDIN)}};
};

TEST_F(TerminalStartTest, ConverterReceivesItsWordsIntactThroughTheTerminal) {
  ASSERT_TRUE(installRecorder(workDir.path(), "irgen"));
  window->selectMode(Mode::wavtim);
  field("Wav")->setText("it's $HOME (take 1)");
  field("TimLeft")->setText("left `date` & \"x\\\"");  // refused: holds a double quote
  field("TimRight")->setText("r;ight *");
  QTest::mouseClick(button("Command3D2"), Qt::LeftButton);
  ASSERT_EQ(desktop.messages.size(), 1);
  field("TimLeft")->setText("left `date` & ; | ~");
  desktop.messages.clear();
  QTest::mouseClick(button("Command3D2"), Qt::LeftButton);
  EXPECT_TRUE(desktop.messages.isEmpty());

  const QList<RecordedStart> records = waitForRecords(workDir.path(), 2);
  ASSERT_EQ(records.size(), 2);
  const auto record = [&](const QString& program) {
    for (const RecordedStart& r : records)
      if (r.program == program) return r;
    return RecordedStart{};
  };
  const RecordedStart terminal = record("terminal_standin");
  EXPECT_EQ(terminal.arguments.mid(0, 3), QStringList({"-e", "sh", "-c"}));
  const RecordedStart converter = record("irgen");
  EXPECT_EQ(converter.cwd, workDir.path());
  EXPECT_EQ(converter.arguments,
            QStringList({"it's $HOME (take 1).WAV", "left `date` & ; | ~.TIM", "r;ight *.TIM",
                         "100.0", "1"}));
  // The run succeeded, and the terminal says so and waits for Enter.
  const QString expected = "\nirgen ended successfully. Press Enter to close this window.\n";
  QString screen;
  for (int waited = 0; waited < 10000 && screen != expected; waited += 50) {
    QTest::qWait(50);
    const QStringList names = QDir(workDir.path()).entryList({"*.screen"});
    QFile file(workDir.filePath(names.value(0)));
    if (!names.isEmpty() && file.open(QIODevice::ReadOnly)) screen = QString::fromUtf8(file.readAll());
  }
  EXPECT_EQ(screen.toStdString(), expected.toStdString());
}

TEST_F(TerminalStartTest, AFailingConverterSaysSoInOneLineAndWaitsForEnter) {
#ifdef IRGEN_PROGRAM
  const QString irgen = workDir.filePath("irgen");
  ASSERT_TRUE(QFile::copy(QStringLiteral(IRGEN_PROGRAM), irgen));
  window->selectMode(Mode::wavtim);
  option("MonoOpt")->click();
  field("Wav")->setText("missing");
  field("TimLeft")->setText("left");
  QTest::mouseClick(button("Command3D2"), Qt::LeftButton);

  // The stand-in's input is the null device, so the wait for Enter ends at
  // once and the screen is complete when the wrapper ends.
  const QString expected = "irgen ended with exit status 1. Press Enter to close this window.\n";
  QString screen;
  for (int waited = 0; waited < 10000 && !screen.endsWith(expected); waited += 50) {
    QTest::qWait(50);
    const QStringList names = QDir(workDir.path()).entryList({"*.screen"});
    if (names.isEmpty()) continue;
    QFile file(workDir.filePath(names[0]));
    if (file.open(QIODevice::ReadOnly)) screen = QString::fromUtf8(file.readAll());
  }
  EXPECT_TRUE(screen.contains("missing.WAV")) << screen.toStdString();
  EXPECT_TRUE(screen.endsWith("\n\n" + expected)) << screen.toStdString();
  EXPECT_FALSE(QFile::exists(workDir.filePath("left.TIM")));
#else
  GTEST_SKIP() << "irgen is not part of this build";
#endif
}

TEST(TerminalStartWithoutDisplayTest, ConverterRunsCapturedWithInputFromTheNullDevice) {
  QTemporaryDir folder;
  ASSERT_TRUE(installRecorder(folder.path(), "irgen"));
  // Every terminal "installed", but no display.
  QtDesktop desktop(nullptr, TerminalSettings{false, QStringLiteral(TERMINAL_STANDIN)});
  ASSERT_TRUE(desktop.startProgram(folder.filePath("irgen"), {"a b"}, folder.path()));
  const QList<RecordedStart> records = waitForRecords(folder.path(), 1);
  ASSERT_EQ(records.size(), 1);
  EXPECT_EQ(records[0].program, "irgen");
  EXPECT_EQ(records[0].input, "eof");
  EXPECT_EQ(records[0].arguments, QStringList{"a b"});
  EXPECT_TRUE(recordsAfterAPause(folder.path()).size() == 1);
}

}  // namespace
}  // namespace frontend
