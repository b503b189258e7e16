// Sound through the real output: a private PulseAudio daemon with a null
// sink (its own runtime folder and socket), the Listen session playing
// through QtAudioOutput, and parec recording the sink's monitor. What was
// heard must be the auralisation (correlation >= 0.99 after alignment),
// and the switch a crossfade of the two auralisations (within -50 dB of
// the mix made here from them, after alignment and gain). Skipped, with
// the reason, where PulseAudio is not installed. The daemon and parec run
// under timeout(1), so that they end even when this program is killed.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cmath>
#include <functional>
#include <vector>

#include "irview/player/listen_session.h"
#include "irview/testing/test_responses.h"
#include "irview/window/qt_audio_output.h"
#include "irview/testing/wait_for.h"

namespace irview {
namespace {

constexpr int kRate = 44100;

void spin(int milliseconds) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

using testing::waitFor;

// A program under timeout(1) when there is one: it ends by itself.
void startBounded(QProcess& process, const QString& program, const QStringList& arguments) {
  const QString timeout = QStandardPaths::findExecutable("timeout");
  if (timeout.isEmpty())
    process.start(program, arguments);
  else
    process.start(timeout, QStringList{"--kill-after=5", "180", program} + arguments);
}

void end(QProcess& process) {
  if (process.state() == QProcess::NotRunning) return;
  process.terminate();
  if (!process.waitForFinished(5000)) {
    process.kill();
    process.waitForFinished(5000);
  }
}

double correlation(const std::vector<double>& a, const std::vector<double>& b) {
  double ab = 0, aa = 0, bb = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    ab += a[i] * b[i];
    aa += a[i] * a[i];
    bb += b[i] * b[i];
  }
  return ab / std::sqrt(aa * bb);
}

TEST(PlaybackTest, WhatIsHeardIsTheAuralisationAndASwitchIsACrossfade) {
  const QString pulseaudio = QStandardPaths::findExecutable("pulseaudio");
  const QString parec = QStandardPaths::findExecutable("parec");
  if (pulseaudio.isEmpty() || parec.isEmpty())
    GTEST_SKIP() << "needs pulseaudio and parec (packages pulseaudio, pulseaudio-utils; "
                    "scripts/install-deps.sh installs them)";
  QTemporaryDir runtime;
  ASSERT_TRUE(runtime.isValid());
  const QString socket = runtime.filePath("native");
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("PULSE_RUNTIME_PATH", runtime.path());
  environment.insert("PULSE_STATE_PATH", runtime.filePath("state"));
  environment.insert("HOME", runtime.path());
  environment.insert("XDG_CONFIG_HOME", runtime.filePath("config"));
  environment.insert("PULSE_SERVER", "unix:" + socket);
  QProcess daemon;
  daemon.setProcessEnvironment(environment);
  daemon.setProcessChannelMode(QProcess::MergedChannels);
  startBounded(daemon, pulseaudio,
               {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                "-L",
                QStringLiteral("module-null-sink sink_name=test rate=%1 format=float32le norewinds=1 "
                               "channels=2")
                    .arg(kRate),
                "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket});
  struct Ender {
    QProcess& process;
    ~Ender() { end(process); }
  } endDaemon{daemon};
  if (!waitFor([&] { return QFileInfo::exists(socket) || daemon.state() == QProcess::NotRunning; },
               20000) ||
      !QFileInfo::exists(socket))
    GTEST_SKIP() << "the private PulseAudio daemon did not start: "
                 << daemon.readAll().toStdString();
  // Before Qt Multimedia connects: this process's sound goes there too.
  for (const char* name : {"PULSE_RUNTIME_PATH", "PULSE_SERVER", "HOME", "XDG_CONFIG_HOME"})
    qputenv(name, environment.value(name).toLocal8Bit());

  // A dry signal with a clear onset and two stereo responses of other
  // lengths and levels.
  const std::size_t dryFrames = 3 * kRate;
  std::vector<float> drySamples = testing::decayingNoise(kRate, 0.4, dryFrames, 21, 0.0);
  for (std::size_t i = 0; i < dryFrames; ++i)
    drySamples[i] = static_cast<float>(0.4 * drySamples[(i * 13) % 4410] *
                                           (1.0 + std::sin(0.0007 * static_cast<double>(i))) +
                                       0.2 * std::sin(0.05 * static_cast<double>(i)));
  QTemporaryDir folder;
  const QString dry = folder.filePath("dry.wav");
  ASSERT_TRUE(testing::writeBytes(dry, testing::waveFileBytes({drySamples}, kRate)));
  const auto file = [](std::uint64_t seed, std::size_t points, float scale) {
    auto f = std::make_shared<analysis::ResponseFile>();
    f->sample_rate_hz = kRate;
    for (std::uint64_t c = 0; c < 2; ++c) {
      std::vector<float> h = testing::decayingNoise(kRate, 0.3, points, seed + c);
      for (float& x : h) x *= scale;
      f->channels.push_back(std::move(h));
    }
    return std::shared_ptr<const analysis::ResponseFile>(f);
  };
  const auto a = file(1, 8820, 0.3f);
  const auto b = file(5, 13230, 1.0f);

  QtAudioOutput output;
  ASSERT_EQ(output.unavailable(), QString()) << daemon.readAll().toStdString();
  ListenSession session(output);
  session.setResponses({{"a", {"a"}, {a}}, {"b", {"b"}, {b}}});
  session.setDrySignal(dry);
  ASSERT_TRUE(waitFor([&] { return session.computed(0) && session.computed(1); }, 60000));
  spin(100);  // the session takes the final gains

  const QString recording = folder.filePath("heard.raw");
  QProcess recorder;
  recorder.setProcessEnvironment(environment);
  recorder.setStandardOutputFile(recording);
  startBounded(recorder, parec,
               {"-d", "test.monitor", "--format=float32le", QStringLiteral("--rate=%1").arg(kRate),
                "--channels=2", "--raw", "--latency-msec=20"});
  struct Ender endRecorder{recorder};
  ASSERT_TRUE(recorder.waitForStarted(10000));
  // Recording (silence) before playing starts.
  ASSERT_TRUE(waitFor([&] { return QFileInfo(recording).size() > 0; }, 20000))
      << "parec recorded nothing";
  spin(300);

  session.play();
  ASSERT_TRUE(waitFor([&] { return session.state() == ListenSession::State::Playing; }, 10000));
  // The stream may take a while to run (a null sink starts late): the
  // switch comes after a second pulled, the stop 0.7 s after it.
  ASSERT_TRUE(waitFor([&] { return session.mixer().position() >= kRate; }, 20000));
  session.choose(1);
  ASSERT_TRUE(waitFor(
      [&] { return session.mixer().position() >= session.mixer().fadeStart() + 7 * kRate / 10; },
      20000));
  spin(300);  // what is buffered is played
  session.stop();
  spin(600);
  end(recorder);
  const std::size_t fadeStart = session.mixer().fadeStart();
  const double gainA = session.mixer().gain(0);
  const double gainB = session.mixer().gain(1);
  ASSERT_GT(fadeStart, static_cast<std::size_t>(kRate / 2)) << "the switch came too early";

  QFile heardFile(recording);
  ASSERT_TRUE(heardFile.open(QIODevice::ReadOnly));
  const QByteArray bytes = heardFile.readAll();
  std::vector<float> heard(static_cast<std::size_t>(bytes.size()) / sizeof(float));
  std::memcpy(heard.data(), bytes.constData(), heard.size() * sizeof(float));
  ASSERT_GT(heard.size(), 2u * kRate) << "parec recorded less than a second";

  // The mix expected: a, then the equal-gain fade over kFadeSeconds, then b.
  const AuralisationBuffer& ba = *session.mixer().source(0);
  const AuralisationBuffer& bb = *session.mixer().source(1);
  const std::size_t fade = static_cast<std::size_t>(std::lround(kFadeSeconds * kRate));
  const std::size_t span = fadeStart + kRate / 2;
  std::vector<double> expected(span * 2);
  for (std::size_t n = 0; n < span; ++n) {
    const double w =
        n < fadeStart ? 0.0
                      : std::min(1.0, static_cast<double>(n - fadeStart + 1) / static_cast<double>(fade));
    for (std::size_t c = 0; c < 2; ++c)
      expected[2 * n + c] = (1.0 - w) * gainA * ba.sample(n, c) + w * gainB * bb.sample(n, c);
  }

  // Alignment: the first loud sample of each, then the best lag nearby.
  const auto onset = [](const auto& v) {
    double peak = 0;
    for (const auto x : v) peak = std::max(peak, std::fabs(static_cast<double>(x)));
    for (std::size_t i = 0; i < v.size(); ++i)
      if (std::fabs(static_cast<double>(v[i])) > 0.2 * peak) return i / 2;
    return std::size_t{0};
  };
  const std::size_t expectedOnset = onset(expected);
  const std::ptrdiff_t coarse =
      static_cast<std::ptrdiff_t>(onset(heard)) - static_cast<std::ptrdiff_t>(expectedOnset);
  const std::size_t window = kRate / 4;
  std::ptrdiff_t lag = coarse;
  double best = -2.0;
  for (std::ptrdiff_t d = coarse - 1000; d <= coarse + 1000; ++d) {
    double ab = 0;
    for (std::size_t n = expectedOnset; n < expectedOnset + window; ++n) {
      const std::ptrdiff_t h = static_cast<std::ptrdiff_t>(n) + d;
      if (h < 0 || 2 * static_cast<std::size_t>(h) + 1 >= heard.size()) continue;
      ab += expected[2 * n] * heard[2 * static_cast<std::size_t>(h)];
    }
    if (ab > best) {
      best = ab;
      lag = d;
    }
  }
  ASSERT_GE(static_cast<std::ptrdiff_t>(expectedOnset) + lag, 0);
  ASSERT_LE(2 * (static_cast<std::ptrdiff_t>(span) + lag), static_cast<std::ptrdiff_t>(heard.size()))
      << "the recording ends before the switch's half second after";
  const auto segment = [&](const auto& v, std::ptrdiff_t offset, std::size_t from, std::size_t to) {
    std::vector<double> s;
    for (std::size_t n = from; n < to; ++n)
      for (std::size_t c = 0; c < 2; ++c)
        s.push_back(static_cast<double>(v[2 * static_cast<std::size_t>(static_cast<std::ptrdiff_t>(n) + offset) + c]));
    return s;
  };
  // Heard before the switch: the auralisation with a.
  const std::vector<double> heardA = segment(heard, lag, expectedOnset, fadeStart - fade);
  const std::vector<double> expectedA = segment(expected, 0, expectedOnset, fadeStart - fade);
  const double heardCorrelation = correlation(heardA, expectedA);
  EXPECT_GE(heardCorrelation, 0.99) << "lag " << lag;

  // Around the switch: the crossfade of the two, after the gain.
  const std::size_t from = fadeStart - kRate / 10;
  const std::vector<double> heardSwitch = segment(heard, lag, from, span);
  const std::vector<double> expectedSwitch = segment(expected, 0, from, span);
  double he = 0, ee = 0;
  for (std::size_t i = 0; i < heardSwitch.size(); ++i) {
    he += heardSwitch[i] * expectedSwitch[i];
    ee += expectedSwitch[i] * expectedSwitch[i];
  }
  const double g = he / ee;
  double error = 0;
  for (std::size_t i = 0; i < heardSwitch.size(); ++i)
    error += (heardSwitch[i] - g * expectedSwitch[i]) * (heardSwitch[i] - g * expectedSwitch[i]);
  EXPECT_NEAR(g, 1.0, 0.05) << "the level heard";
  const double residualDb = 10.0 * std::log10(error / (g * g * ee));
  EXPECT_LT(residualDb, -50.0) << "lag " << lag << ", gain " << g;
  std::printf("heard %zu frames, lag %td: correlation %.6f before the switch; the switch "
              "within %.1f dB of the crossfade, gain %.4f\n",
              heard.size() / 2, lag, heardCorrelation, residualDb, g);
}

}  // namespace
}  // namespace irview
