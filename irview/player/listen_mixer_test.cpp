// The Listen panel's mixer on synthetic auralisations: a switch keeps the
// position and is an equal-gain crossfade of 20 to 50 ms; gains bring the
// loudness (BS.1770, measured again here) level or keep the relative
// levels; mono on both channels, gain ramps, the end. And the responses
// made of the viewer's files (pairs of .TIM files).
#include "irview/player/listen_mixer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "irview/player/listen_responses.h"
#include "listen/level/loudness.h"

namespace irview {
namespace {

constexpr double kRate = 48000.0;

// A complete auralisation of the interleaved `samples`.
std::shared_ptr<const AuralisationBuffer> buffer(std::size_t channels,
                                                 const std::vector<float>& samples) {
  auto b = std::make_shared<AuralisationBuffer>(channels, kRate, samples.size() / channels);
  EXPECT_TRUE(b->take(samples));
  listen::Measured measured;
  measured.frames = samples.size() / channels;
  b->complete(measured);
  return b;
}

std::vector<float> noise(std::size_t n, unsigned seed, double amplitude) {
  std::mt19937 g(seed);
  std::uniform_real_distribution<double> u(-amplitude, amplitude);
  std::vector<float> v(n);
  for (float& x : v) x = static_cast<float>(u(g));
  return v;
}

std::vector<float> mixAll(ListenMixer& mixer, std::size_t frames) {
  std::vector<float> out(frames * 2);
  out.resize(mixer.mix(out) * 2);
  return out;
}

TEST(ListenMixerTest, ASwitchKeepsThePositionAndCrossfadesWithEqualGain) {
  // A: a sine on the left and 1 on the right; B: noise on the left and 0 on
  // the right, so that the right channel heard is 1 - w, w the weight of B.
  const std::size_t n = 48000;
  std::vector<float> a(2 * n), b(2 * n);
  const std::vector<float> bl = noise(n, 7, 0.5);
  for (std::size_t i = 0; i < n; ++i) {
    a[2 * i] = static_cast<float>(0.5 * std::sin(2.0 * std::numbers::pi * 440.0 * i / kRate));
    a[2 * i + 1] = 1.0f;
    b[2 * i] = bl[i];
    b[2 * i + 1] = 0.0f;
  }
  ListenMixer mixer(static_cast<std::size_t>(kFadeSeconds * kRate));
  mixer.setSources({buffer(2, a), buffer(2, b)});
  const std::size_t at = 10007;
  std::vector<float> heard = mixAll(mixer, at);
  mixer.choose(1, true);
  const std::vector<float> after = mixAll(mixer, 20000);
  heard.insert(heard.end(), after.begin(), after.end());
  ASSERT_EQ(heard.size(), 2 * (at + 20000));
  EXPECT_EQ(mixer.position(), at + 20000);
  EXPECT_EQ(mixer.fadeStart(), at);

  for (std::size_t i = 0; i < at; ++i) ASSERT_EQ(heard[2 * i], a[2 * i]) << "frame " << i;
  // The weight of B: from 0 to 1, never backwards, in steps no larger than
  // a 20 ms ramp's, over 20 .. 50 ms.
  double previous = 0.0;
  std::size_t end = 0;
  for (std::size_t i = at; i < at + 20000; ++i) {
    const double w = 1.0 - heard[2 * i + 1];
    EXPECT_GE(w, previous - 1e-6) << "frame " << i;
    EXPECT_LE(w - previous, 1.0 / (0.020 * kRate) + 1e-6) << "a jump at frame " << i;
    previous = w;
    if (end == 0 && w >= 1.0 - 1e-6) end = i + 1;
  }
  const double fadeSeconds = static_cast<double>(end - at) / kRate;
  EXPECT_GE(fadeSeconds, 0.020);
  EXPECT_LE(fadeSeconds, 0.050);
  // The left channel: the mix of both at the frames of the same position,
  // within -50 dB of the mix's level.
  double error = 0.0, level = 0.0;
  for (std::size_t i = at; i < at + 20000; ++i) {
    const double w = 1.0 - heard[2 * i + 1];
    const double expected = (1.0 - w) * a[2 * i] + w * b[2 * i];
    error += (heard[2 * i] - expected) * (heard[2 * i] - expected);
    level += expected * expected;
  }
  EXPECT_LT(10.0 * std::log10(error / level), -50.0);
}

TEST(ListenMixerTest, GainsMatchTheLoudnessOrKeepTheRelativeLevels) {
  const double nan = std::nan("");
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    std::vector<double> loudness;
    bool match;
    std::vector<double> gains;
  };
  const Case cases[] = {
      {{-30.0, -20.0}, true, {7.0, -3.0}},
      {{-30.0, -20.0}, false, {-3.0, -3.0}},
      // Not yet measured and below the gates: 0 dB matched; the loudest
      // known sets the common gain.
      {{-30.0, nan, -inf}, true, {7.0, 0.0, 0.0}},
      {{-30.0, nan, -inf}, false, {7.0, 7.0, 7.0}},
      {{nan}, false, {0.0}},
  };
  for (const Case& c : cases) {
    const std::vector<double> gains = listenGainsDb(c.loudness, c.match);
    ASSERT_EQ(gains.size(), c.gains.size());
    for (std::size_t i = 0; i < gains.size(); ++i)
      EXPECT_NEAR(gains[i], c.gains[i], 1e-12) << "match " << c.match << ", source " << i;
  }

  // Measured again on what is heard: a mono noise and a stereo one, 12.04 dB
  // apart a channel (15.05 dB apart as measured on their own channels, but
  // the mono one is heard on both).
  const std::size_t n = 3 * 48000;
  const auto quiet = buffer(1, noise(n, 1, 0.1));
  const auto loud = buffer(2, noise(2 * n, 2, 0.4));
  for (const bool match : {true, false}) {
    const std::vector<double> gains =
        listenGainsDb({playedLoudnessLufs(*quiet), playedLoudnessLufs(*loud)}, match);
    std::vector<double> heardLufs;
    for (std::size_t s = 0; s < 2; ++s) {
      ListenMixer mixer(1440);
      mixer.setSources({quiet, loud});
      mixer.choose(s, false);
      for (std::size_t i = 0; i < 2; ++i) mixer.setGain(i, std::pow(10.0, gains[i] / 20.0), false);
      const std::vector<float> heard = mixAll(mixer, n);
      listen::LoudnessMeter meter(2, kRate);
      meter.add(heard);
      heardLufs.push_back(meter.integrated_lufs());
    }
    if (match) {
      EXPECT_NEAR(heardLufs[0], kListenLoudnessLufs, 0.05);
      EXPECT_NEAR(heardLufs[1], kListenLoudnessLufs, 0.05);
    } else {
      EXPECT_NEAR(heardLufs[1] - heardLufs[0], 20.0 * std::log10(4.0), 0.1);
      EXPECT_NEAR(heardLufs[1], kListenLoudnessLufs, 0.05) << "the loudest at the level";
    }
  }
}

TEST(ListenMixerTest, MonoPlaysOnBothChannelsGainsRampAndTheChosenEndStops) {
  const std::vector<float> ones(1000, 1.0f);
  ListenMixer mixer(100);
  mixer.setSources({buffer(1, ones), buffer(1, std::vector<float>(3000, 0.5f))});
  mixer.setGain(0, 0.5, true);
  const std::vector<float> heard = mixAll(mixer, 5000);
  ASSERT_EQ(heard.size(), 2000u) << "the chosen auralisation's 1000 frames, not the longest";
  for (std::size_t i = 0; i < 1000; ++i) {
    ASSERT_EQ(heard[2 * i], heard[2 * i + 1]) << "frame " << i;
    // A ramp from 1 to 0.5 over 100 frames.
    const double expected = i < 100 ? 1.0 - 0.5 * static_cast<double>(i + 1) / 100.0 : 0.5;
    ASSERT_NEAR(heard[2 * i], expected, 1e-6) << "frame " << i;
  }
  // A source not yet computed where it is played is silence, not old frames.
  auto partial = std::make_shared<AuralisationBuffer>(1, kRate, 100);
  ASSERT_TRUE(partial->take(std::vector<float>(40, 1.0f)));
  EXPECT_FALSE(partial->take(std::vector<float>(61, 1.0f))) << "more than its length";
  mixer.setSources({partial});
  mixer.seek(0);
  const std::vector<float> early = mixAll(mixer, 100);
  ASSERT_EQ(early.size(), 200u);
  EXPECT_EQ(early[2 * 39], 1.0f);
  EXPECT_EQ(early[2 * 40], 0.0f);
}

TEST(ListenResponsesTest, EachFileIsAResponseAndAdjacentMonoTimFilesOfOneShapeArePaired) {
  const auto file = [](std::size_t channels, double rate, std::size_t points) {
    auto f = std::make_shared<analysis::ResponseFile>();
    f->sample_rate_hz = rate;
    f->channels.assign(channels, std::vector<float>(points, 0.1f));
    return std::shared_ptr<const analysis::ResponseFile>(f);
  };
  const auto viewed = [](const QString& path, std::shared_ptr<const analysis::ResponseFile> r) {
    ViewedFile v;
    v.path = path;
    v.response = std::move(r);
    return v;
  };
  struct Case {
    std::vector<ViewedFile> files;
    QStringList labels;
  };
  const Case cases[] = {
      {{viewed("/a/L.TIM", file(1, 48000, 100)), viewed("/a/R.tim", file(1, 48000, 100))},
       {"L.TIM + R.tim"}},
      {{viewed("a.tim", file(1, 48000, 100)), viewed("b.tim", file(1, 48000, 101))},
       {"a.tim", "b.tim"}},
      {{viewed("a.tim", file(1, 48000, 100)), viewed("b.tim", file(1, 44100, 100))},
       {"a.tim", "b.tim"}},
      {{viewed("a.wav", file(1, 48000, 100)), viewed("b.wav", file(1, 48000, 100))},
       {"a.wav", "b.wav"}},
      {{viewed("s.wav", file(2, 48000, 100)), viewed("a.tim", file(1, 48000, 100)),
        viewed("b.tim", file(1, 48000, 100)), viewed("c.tim", file(1, 48000, 100))},
       {"s.wav", "a.tim + b.tim", "c.tim"}},
      // A file still being read is left out, and does not split a pair.
      {{viewed("a.tim", file(1, 48000, 100)), viewed("x.wav", nullptr),
        viewed("b.tim", file(1, 48000, 100))},
       {"a.tim + b.tim"}},
  };
  for (const Case& c : cases) {
    QStringList labels;
    for (const ListenResponse& r : listenResponses(c.files)) {
      labels.append(r.label);
      EXPECT_EQ(r.files.size(), static_cast<std::size_t>(r.paths.size()));
    }
    EXPECT_EQ(labels, c.labels);
  }
}

}  // namespace
}  // namespace irview
