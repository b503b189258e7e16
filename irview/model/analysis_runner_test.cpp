// Files read and analysed off the calling thread: what arrives, in which
// order, and stopping.
#include "irview/model/analysis_runner.h"

#include <gtest/gtest.h>

#include "irview/testing/qt_printers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "irview/testing/test_responses.h"

namespace irview {
namespace {

// Everything a runner reported, as "read 1", "spectra 1", ... in order.
struct Recorder {
  explicit Recorder(AnalysisRunner& runner) {
    QObject::connect(&runner, &AnalysisRunner::read, [this](int job, auto response) {
      events.append(QStringLiteral("read %1").arg(job));
      channels = response->channels.size();
    });
    QObject::connect(&runner, &AnalysisRunner::readFailed, [this](int job, const QString& message) {
      events.append(QStringLiteral("failed %1").arg(job));
      this->message = message;
    });
    QObject::connect(&runner, &AnalysisRunner::spectraReady, [this](int job, auto) {
      events.append(QStringLiteral("spectra %1").arg(job));
    });
    QObject::connect(&runner, &AnalysisRunner::analysed, [this](int job, auto analysis) {
      events.append(QStringLiteral("analysed %1").arg(job));
      this->analysis = analysis;
    });
    QObject::connect(&runner, &AnalysisRunner::stopped,
                     [this](int job) { events.append(QStringLiteral("stopped %1").arg(job)); });
    QObject::connect(&runner, &AnalysisRunner::progressChanged,
                     [this](double done) { progress.append(done); });
  }
  // Runs the event loop until the runner is idle and its signals are in.
  static void settle(AnalysisRunner& runner) {
    QElapsedTimer timer;
    timer.start();
    while ((runner.busy() || timer.elapsed() < 50) && timer.elapsed() < 60000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }

  QStringList events;
  QList<double> progress;
  QString message;
  std::size_t channels = 0;
  std::shared_ptr<const FileAnalysis> analysis;
};

class AnalysisRunnerTest : public ::testing::Test {
 protected:
  QString writeTim(const QString& name, std::size_t points) {
    const QString path = folder.filePath(name);
    EXPECT_TRUE(testing::writeBytes(
        path, testing::timFileBytes(testing::decayingNoise(48000.0, 0.4, points), 48000)));
    return path;
  }
  QTemporaryDir folder;
};

TEST_F(AnalysisRunnerTest, AFileArrivesReadThenSpectraThenAnalysedWithProgressToTheEnd) {
  AnalysisRunner runner;
  Recorder recorder(runner);
  const int job = runner.open(writeTim("left.tim", 48000));
  EXPECT_TRUE(runner.busy());
  Recorder::settle(runner);
  EXPECT_EQ(recorder.events,
            QStringList({QStringLiteral("read %1").arg(job), QStringLiteral("spectra %1").arg(job),
                         QStringLiteral("analysed %1").arg(job)}));
  EXPECT_EQ(recorder.channels, 1u);
  ASSERT_TRUE(recorder.analysis);
  ASSERT_EQ(recorder.analysis->channels.size(), 1u);
  // The curves the plots draw are kept.
  EXPECT_FALSE(recorder.analysis->channels[0].broadband().curves.level_db.empty());
  ASSERT_FALSE(recorder.progress.isEmpty());
  EXPECT_TRUE(std::is_sorted(recorder.progress.begin(), recorder.progress.end()));
  EXPECT_EQ(recorder.progress.last(), 1.0);
  EXPECT_FALSE(runner.busy());
}

TEST_F(AnalysisRunnerTest, AFileThatCannotBeReadIsNamedInTheMessage) {
  AnalysisRunner runner;
  Recorder recorder(runner);
  const QString missing = folder.filePath("missing.tim");
  const QString empty = folder.filePath("empty.wav");
  ASSERT_TRUE(testing::writeBytes(empty, QByteArray()));
  runner.open(missing);
  Recorder::settle(runner);
  EXPECT_EQ(recorder.events, QStringList({"failed 1"}));
  EXPECT_TRUE(recorder.message.contains(missing)) << recorder.message.toStdString();
  runner.open(empty);
  Recorder::settle(runner);
  EXPECT_EQ(recorder.events.last(), "failed 2");
  EXPECT_TRUE(recorder.message.contains(empty)) << recorder.message.toStdString();
}

TEST_F(AnalysisRunnerTest, StopEndsEveryJobWithStoppedAfterItsWaveform) {
  AnalysisRunner runner;
  Recorder recorder(runner);
  runner.open(writeTim("a.tim", 480000));
  runner.open(writeTim("b.tim", 480000));
  runner.stop();
  Recorder::settle(runner);
  EXPECT_TRUE(recorder.events.contains("read 1") && recorder.events.contains("read 2"));
  EXPECT_TRUE(recorder.events.contains("stopped 1") && recorder.events.contains("stopped 2"))
      << recorder.events.join(", ").toStdString();
  EXPECT_FALSE(recorder.analysis);
}

TEST_F(AnalysisRunnerTest, ARunnerDestroyedWhileAnalysingWaitsForItsJobs) {
  auto runner = std::make_unique<AnalysisRunner>();
  Recorder recorder(*runner);
  runner->open(writeTim("long.tim", 960000));
  runner.reset();  // must neither crash nor leave a job posting to it
  QCoreApplication::processEvents();
  EXPECT_FALSE(recorder.events.contains("analysed 1"));
}

}  // namespace
}  // namespace irview
