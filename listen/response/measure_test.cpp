// Resampling a response to the dry's rate, and the loudness meter.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "analysis/response.h"
#include "listen/convolution/auralise.h"
#include "listen/level/loudness.h"
#include "listen/response/prepare.h"
#include "listen/response/resample.h"
#include "listen/test_signals.h"

namespace listen {
namespace {

// A response defined at every instant: decaying sines well below both
// Nyquist frequencies, sampled at `rate`.
std::vector<float> room_at(double rate, double seconds) {
  const double tones[] = {220.0, 1234.5, 4321.0, 9876.0, 15000.0};
  std::vector<float> v(static_cast<std::size_t>(std::llround(seconds * rate)));
  for (std::size_t i = 0; i < v.size(); ++i) {
    const double t = double(i) / rate;
    double x = 0.0;
    for (double f : tones) x += std::sin(2 * std::numbers::pi * f * t + f) * std::exp(-t / 0.04);
    v[i] = static_cast<float>(0.2 * x * (1.0 - std::exp(-t / 0.002)));
  }
  return v;
}

double correlation(const std::vector<float>& a, const std::vector<double>& b) {
  double ab = 0, aa = 0, bb = 0;
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
    ab += a[i] * b[i];
    aa += double{a[i]} * a[i];
    bb += b[i] * b[i];
  }
  return ab / std::sqrt(aa * bb);
}

TEST(Resample, A44kResponseAuralisesA48kDryAsTheSameRoomAt48k) {
  analysis::ResponseFile file;
  file.sample_rate_hz = 44100;
  file.channels = {room_at(44100, 0.3)};
  const Prepared p = prepare_response({{&file, "room.wav"}}, 48000);
  ASSERT_FALSE(p.problem) << p.problem.message;
  EXPECT_EQ(p.resampled_from_hz, std::vector<double>{44100});
  EXPECT_EQ(p.response.sample_rate_hz, 48000);
  EXPECT_EQ(p.response.frames(), 14400u);  // 0.3 s at 48 kHz

  const std::vector<float> dry = test::noise(48000, 3);
  MemoryFrames source(1, 48000, dry);
  MemoryFrames sink(1, 48000);
  const Auralised a = auralise(source, p.response, sink);
  ASSERT_FALSE(a.problem) << a.problem.message;
  EXPECT_EQ(sink.samples().size(), dry.size() + 14400 - 1);
  const std::vector<float> reference = room_at(48000, 0.3);
  const auto want = test::direct_convolution({dry}, {reference}, {{0, 0}});
  const double r = correlation(sink.samples(), want[0]);
  EXPECT_GE(r, 0.999);
  std::cout << "correlation with the room at 48 kHz: " << r << "\n";
}

TEST(Resample, KeepsLengthAndTimingAcrossRates) {
  const struct {
    double from, to;
  } cases[] = {{44100, 48000}, {48000, 44100}, {96000, 44100}, {22050, 48000}};
  for (const auto& c : cases) {
    const std::vector<float> in = room_at(c.from, 0.2);
    const std::vector<float> out = resample(in, c.from, c.to);
    EXPECT_EQ(out.size(), static_cast<std::size_t>(std::llround(in.size() * c.to / c.from)));
    const std::vector<float> want = room_at(c.to, 0.2);
    // Up to 11 kHz in every case, the part every rate here holds.
    std::vector<double> w(want.begin(), want.end());
    if (c.from >= 44100 && c.to >= 44100) {
      EXPECT_GE(correlation(out, w), 0.999) << c.from << " -> " << c.to;
    }
  }
}

TEST(Loudness, SinesReadAsBs1770Says) {
  // A 997 Hz sine of amplitude A in one channel reads 20 log10(A) - 3.01
  // LUFS; in both channels 3.01 LU more. Silence is below the gates.
  const struct {
    std::size_t channels;
    double amplitude, lufs;
  } cases[] = {{1, 1.0, -3.01}, {1, 0.1, -23.01}, {2, 0.1, -20.0}, {1, 0.0, -INFINITY}};
  for (const auto& c : cases) {
    LoudnessMeter meter(c.channels, 48000);
    std::vector<float> frames(5 * 48000 * c.channels);
    for (std::size_t i = 0; i < frames.size(); ++i) {
      frames[i] = static_cast<float>(
          c.amplitude * std::sin(2 * std::numbers::pi * 997.0 * double(i / c.channels) / 48000));
    }
    meter.add(frames);
    if (std::isinf(c.lufs)) {
      EXPECT_TRUE(std::isinf(meter.integrated_lufs()));
    } else {
      EXPECT_NEAR(meter.integrated_lufs(), c.lufs, 0.05) << c.channels << " x " << c.amplitude;
    }
  }
}

}  // namespace
}  // namespace listen
