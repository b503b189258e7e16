#include "frontend/run/captured_run.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace frontend {
namespace {

TEST(CapturedRunTest, LastLinesAreTheNonEmptyEndOfTheOutputWithoutControlCharacters) {
  const struct {
    QByteArray tail;
    bool whole;
    int count;
    QStringList lines;
  } cases[] = {
      {"\f** Irgen 2.0 **\n\nOpening x\r\nrun-time error: cannot open x\n", true, 12,
       {"** Irgen 2.0 **", "Opening x", "run-time error: cannot open x"}},
      {"one\ntwo\nthree\nfour\n", true, 2, {"three", "four"}},
      {"ial line\nsecond\nthird", false, 12, {"second", "third"}},  // cut inside a line
      {"only a piece", false, 12, {}},
      {"a\rb\r\n\tc  \x1b[0m\n\n\n", true, 12, {"a", "b", "\tc  [0m"}},
      {"caf\xc3\xa9 \xe2\x80\x94 ok\n", true, 12, {"caf\u00e9 \u2014 ok"}},
      {"", true, 12, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tail.toStdString());
    EXPECT_EQ(lastOutputLines(c.tail, c.whole, c.count), c.lines);
  }
}

TEST(CapturedRunTest, ExitStatusIsOneNumberOfAByteAndALineFeed) {
  const struct {
    QByteArray text;
    std::optional<int> status;
  } cases[] = {{"0\n", 0},           {"1\n", 1},     {"255\n", 255},        {"256\n", std::nullopt},
               {"1", std::nullopt},  {"\n", std::nullopt}, {"-1\n", std::nullopt},
               {"1 \n", std::nullopt}, {"0001\n", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(parseExitStatus(c.text), c.status) << c.text.toStdString();
}

// Runs the script as the front end does and returns its exit code.
int runScript(const QString& statusFile, const QStringList& command, QByteArray* output) {
  const StartRequest start = capturedRunStart({command.first(), command.mid(1)}, statusFile);
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(start.program, start.arguments);
  if (!process.waitForFinished(10000)) return -1;
  *output = process.readAll();
  return process.exitCode();
}

TEST(CapturedRunTest, ScriptLeavesTheStatusCompleteAndEndsQuietlyWithoutItsFolder) {
  QTemporaryDir folder;
  // The converter was found by its path; the script needs no PATH either.
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", "/nonexistent");
  const QString status = folder.filePath("run.status");
  QByteArray output;
  EXPECT_EQ(runScript(status, {"/bin/sh", "-c", "echo \"$1\"; exit 3", "sh", "a \"b\" $c"},
                      &output),
            3);
  EXPECT_EQ(output, "a \"b\" $c\n");
  QFile file(status);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(parseExitStatus(file.readAll()), 3);
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"run.status"});

  // The front end has ended and its folder is gone: the program still runs
  // to its end and nothing is said about the status.
  EXPECT_EQ(runScript(folder.filePath("gone/run.status"), {"/bin/sh", "-c", "echo done"}, &output),
            0);
  EXPECT_EQ(output, "done\n");
  qputenv("PATH", path);
}

}  // namespace
}  // namespace frontend
