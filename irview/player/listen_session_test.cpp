// The Listen panel's session with a fake sound output: playing starts
// within a second for a 60 s dry signal and a 6 s response; what is played
// is the auralisation at its gain; a switch while playing waits for the
// frames it needs and keeps the position; refusals; and Export writes the
// bytes irconv writes.
#include "irview/player/listen_session.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstdio>
#include <functional>

#include "irview/testing/fake_audio_output.h"
#include "irview/testing/test_responses.h"
#include "irview/testing/wait_for.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define IRVIEW_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define IRVIEW_SANITIZED 1
#endif

namespace irview {
namespace {

using testing::waitFor;

std::shared_ptr<const analysis::ResponseFile> responseFile(std::vector<std::vector<float>> channels,
                                                           double rate) {
  auto file = std::make_shared<analysis::ResponseFile>();
  file->sample_rate_hz = rate;
  file->channels = std::move(channels);
  return file;
}

ListenResponse response(const QString& label, const QStringList& paths,
                        std::vector<std::shared_ptr<const analysis::ResponseFile>> files) {
  return {label, paths, std::move(files)};
}

class ListenSessionTest : public ::testing::Test {
 protected:
  // A dry signal of `seconds` at 44.1 kHz: noise bursts, `channels` of them.
  QString writeDry(const QString& name, double seconds, int channels) {
    const std::size_t n = static_cast<std::size_t>(seconds * 44100);
    std::vector<std::vector<float>> dry;
    for (int c = 0; c < channels; ++c) {
      std::vector<float> samples = testing::decayingNoise(44100, 0.3, n, 11 + c, 0.0);
      for (std::size_t i = 0; i < n; ++i)
        samples[i] = static_cast<float>(0.5 * std::sin(0.0013 * static_cast<double>(i)) +
                                        0.3 * samples[(i * 7) % n]);
      dry.push_back(std::move(samples));
    }
    const QString path = folder.filePath(name);
    EXPECT_TRUE(testing::writeBytes(path, testing::waveFileBytes(dry, 44100)));
    return path;
  }
  QTemporaryDir folder;
  testing::FakeAudioOutput output;
};

TEST_F(ListenSessionTest, PlayStartsWithinASecondAndPlaysTheAuralisationAtItsGain) {
  const QString dry = writeDry("dry.wav", 60.0, 2);
  const auto hall = responseFile({testing::decayingNoise(44100, 2.0, 6 * 44100, 1),
                                  testing::decayingNoise(44100, 2.0, 6 * 44100, 2)},
                                 44100);
  ListenSession session(output);
  QElapsedTimer clock;
  clock.start();
  session.setDrySignal(dry);
  session.setResponses({response("hall.wav", {"hall.wav"}, {hall})});
  session.play();
  ASSERT_TRUE(waitFor([&] { return output.running; }, 30000));
  const qint64 startMs = clock.elapsed();
#ifndef IRVIEW_SANITIZED
  EXPECT_LT(startMs, 1000) << "from the dry signal's choice to sound";
#endif
  std::printf("sound %lld ms after the dry signal was chosen\n", static_cast<long long>(startMs));
  EXPECT_EQ(output.rateHz, 44100);
  EXPECT_EQ(session.state(), ListenSession::State::Playing);

  // The first half second is the auralisation times the gain that brings
  // its loudness to -23 LUFS; the gain known then is the one of the first
  // seconds computed.
  ASSERT_EQ(output.pull(22050), 22050u);
  const AuralisationBuffer* buffer = session.mixer().source(0);
  ASSERT_NE(buffer, nullptr);
  const double gain = session.mixer().gain(0);
  for (std::size_t i = 0; i < 22050 * 2; i += 97)
    ASSERT_NEAR(output.heard[i], gain * buffer->sample(i / 2, i % 2), 1e-6) << "sample " << i;
  ASSERT_TRUE(waitFor([&] { return session.computed(0); }));
  QTest::qWait(50);  // a tick takes the final loudness
  EXPECT_NEAR(20.0 * std::log10(session.mixer().gain(0)),
              kListenLoudnessLufs - buffer->measured().loudness_lufs, 1e-9);
  EXPECT_EQ(buffer->frames(), 60u * 44100 + 6 * 44100 - 1) << "the whole tail";
  session.stop();
  EXPECT_FALSE(output.running);
  EXPECT_EQ(output.stops, 1);
}

TEST_F(ListenSessionTest, ASwitchWhilePlayingKeepsThePositionAndTheEndStops) {
  const QString dry = writeDry("dry.wav", 3.0, 1);
  const auto a = responseFile({testing::decayingNoise(44100, 0.3, 4410, 3)}, 44100);
  const auto b = responseFile({testing::decayingNoise(44100, 0.5, 8820, 4),
                               testing::decayingNoise(44100, 0.5, 8820, 5)},
                              44100);
  ListenSession session(output);
  session.setMatchLoudness(false);
  session.setResponses({response("a", {"a"}, {a}), response("b", {"b"}, {b})});
  session.setDrySignal(dry);
  ASSERT_TRUE(waitFor([&] { return session.computed(0) && session.computed(1); }));
  session.play();
  ASSERT_TRUE(output.running) << "computed already: at once";
  ASSERT_EQ(output.pull(44100), 44100u);
  session.choose(1);
  EXPECT_EQ(session.chosen(), 1);
  ASSERT_EQ(output.pull(4410), 4410u);
  EXPECT_EQ(session.mixer().fadeStart(), 44100u);
  // After the fade: b at the frames of the same position, both at the
  // common gain of "Match loudness" off.
  const AuralisationBuffer& bb = *session.mixer().source(1);
  const double gain = session.mixer().gain(1);
  EXPECT_EQ(gain, session.mixer().gain(0));
  for (std::size_t i = 44100 + 2000; i < 44100 + 4410; ++i) {
    ASSERT_NEAR(output.heard[2 * i], gain * bb.sample(i, 0), 1e-6) << "frame " << i;
    ASSERT_NEAR(output.heard[2 * i + 1], gain * bb.sample(i, 1), 1e-6) << "frame " << i;
  }
  // To the end of b's auralisation (3 s + 0.2 s - 1 frame): then stopped, and
  // from the start again.
  while (output.pull(4096) == 4096) {
  }
  EXPECT_EQ(output.heard.size() / 2, bb.frames());
  // Stopped and played again before the end's stop comes: the new run plays
  // on, from the start.
  session.stop();
  session.play();
  QTest::qWait(600);
  EXPECT_EQ(session.state(), ListenSession::State::Playing);
  EXPECT_EQ(session.positionSeconds(), 0.0);
  while (output.pull(4096) == 4096) {
  }
  ASSERT_TRUE(waitFor([&] { return session.state() == ListenSession::State::Stopped; }, 5000));
  EXPECT_EQ(session.positionSeconds(), 0.0);
}

TEST_F(ListenSessionTest, WithoutSoundOrWithARefusedDryNothingPlaysAndARefusalIsToldOnce) {
  output.unavailableReason = "No audio output: no sound device or sound server was found";
  ListenSession silent(output);
  const auto a = responseFile({testing::decayingNoise(44100, 0.3, 4410, 3)}, 44100);
  silent.setResponses({response("a", {"a"}, {a})});
  silent.setDrySignal(writeDry("dry.wav", 1.0, 1));
  EXPECT_EQ(silent.audioProblem(), output.unavailableReason);
  EXPECT_FALSE(silent.canPlay());
  silent.play();
  EXPECT_EQ(silent.state(), ListenSession::State::Stopped);
  EXPECT_EQ(output.starts, 0);

  output.unavailableReason.clear();
  ListenSession session(output);
  QStringList problems;
  QObject::connect(&session, &ListenSession::problem,
                   [&](const QString& message) { problems.append(message); });
  const auto b = responseFile({testing::decayingNoise(44100, 0.3, 4410, 4)}, 44100);
  session.setResponses({response("a", {"a"}, {a}), response("b", {"b"}, {b})});
  const auto bothFailed = [&] {
    return !session.failure(0).isEmpty() && !session.failure(1).isEmpty();
  };
  // Each dry signal refused: both responses fail, and it is told once.
  const QString tooLong = folder.filePath("long.wav");
  ASSERT_TRUE(testing::writeBytes(
      tooLong, testing::waveFileBytes({std::vector<float>(1000 * (kMaxDrySeconds + 1), 0.1f)},
                                      1000)));
  const std::pair<QString, const char*> refused[] = {
      {writeDry("three.wav", 1.0, 3), "3-channel dry signal"},
      {folder.filePath("missing.wav"), "missing.wav"},
      {tooLong, "longer than 20 minutes"},
  };
  for (const auto& [dry, why] : refused) {
    problems.clear();
    session.setDrySignal(dry);
    ASSERT_TRUE(waitFor(bothFailed)) << why;
    QTest::qWait(20);
    ASSERT_EQ(problems.size(), 1) << why;
    EXPECT_TRUE(problems[0].contains(why)) << problems[0].toStdString();
    EXPECT_FALSE(session.canPlay());
  }
  EXPECT_FALSE(session.exportChosen(folder.filePath("out.wav")).isEmpty());
  EXPECT_FALSE(QFile::exists(folder.filePath("out.wav")));
}

TEST_F(ListenSessionTest, ExportWritesTheBytesIrconvWritesForATimPair) {
  const QString dry = writeDry("dry.wav", 2.0, 1);
  QStringList pair;
  std::vector<std::shared_ptr<const analysis::ResponseFile>> files;
  for (const char* name : {"left.tim", "right.tim"}) {
    const std::vector<float> samples = testing::decayingNoise(44100, 0.4, 17640, name[0]);
    const QString path = folder.filePath(name);
    ASSERT_TRUE(testing::writeBytes(path, testing::timFileBytes(samples, 44100)));
    pair.append(path);
    files.push_back(responseFile({samples}, 44100));
  }
  ListenSession session(output);
  session.setResponses({response("left.tim + right.tim", pair, files)});
  session.setDrySignal(dry);
  // Before the auralisation is complete (it may be by now), refused.
  const QString early = session.exportChosen(folder.filePath("early.wav"));
  if (!early.isEmpty()) {
    EXPECT_TRUE(early.contains("still being computed")) << early.toStdString();
    EXPECT_FALSE(QFile::exists(folder.filePath("early.wav")));
  }
  ASSERT_TRUE(waitFor([&] { return session.computed(0); }));
  for (const char* name : {"viewer.wav", "viewer.flac"}) {
    const QString ours = folder.filePath(name);
    ASSERT_EQ(session.exportChosen(ours), QString());
    const QString theirs = folder.filePath(QStringLiteral("irconv-") + name);
    QProcess irconv;
    irconv.start(QStringLiteral(IRCONV_PROGRAM), {"-o", theirs, dry, pair[0], pair[1]});
    ASSERT_TRUE(irconv.waitForFinished(60000));
    ASSERT_EQ(irconv.exitCode(), 0) << irconv.readAllStandardError().toStdString();
    QFile a(ours), b(theirs);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    const QByteArray ab = a.readAll();
    EXPECT_GT(ab.size(), 100000) << name;
    EXPECT_TRUE(ab == b.readAll()) << name << ": not irconv's bytes";
  }
  EXPECT_TRUE(session.exportChosen(folder.filePath("out.mp3")).contains("neither in .wav"));
  const QByteArray dryBytes = [&] {
    QFile f(dry);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }();
  EXPECT_TRUE(session.exportChosen(dry).contains("would replace the input"));
  QFile kept(dry);
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_TRUE(kept.readAll() == dryBytes) << "the dry signal was overwritten";
}

}  // namespace
}  // namespace irview
