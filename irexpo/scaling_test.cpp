#include "irexpo/scaling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

namespace irexpo {
namespace {

TEST(RoundHalfAway, HalvesGoAwayFromZero) {
  EXPECT_EQ(round_half_away(2.5), 3.0);
  EXPECT_EQ(round_half_away(-2.5), -3.0);
  EXPECT_EQ(round_half_away(2.4999), 2.0);
  EXPECT_EQ(round_half_away(-0.4), 0.0);
  EXPECT_EQ(round_half_away(16383.5), 16384.0);
}

TEST(ScaleToPcm16, PeakMapsTo32767AndHalfPeakTo16384) {
  EXPECT_EQ(scale_to_pcm16(0.5f, 1.0f), 16384);
  EXPECT_EQ(scale_to_pcm16(-1.0f, 1.0f), -32767);
  EXPECT_EQ(scale_to_pcm16(0.25f, 1.0f), 8192);
  EXPECT_EQ(scale_to_pcm16(1.0f, 1.0f), 32767);
  EXPECT_EQ(scale_to_pcm16(-0.5f, 1.0f), -16384);
  EXPECT_EQ(scale_to_pcm16(3e-5f, 3e-5f), 32767);
  EXPECT_EQ(scale_to_pcm16(-3e-5f, 3e-5f), -32767);
  const float big = std::numeric_limits<float>::max();
  EXPECT_EQ(scale_to_pcm16(-big, big), -32767);
  const float tiny = std::numeric_limits<float>::denorm_min();
  EXPECT_EQ(scale_to_pcm16(tiny, tiny), 32767);
}

TEST(ScaleToPcm16, SilenceNeedsNoDivision) {
  EXPECT_EQ(scale_to_pcm16(0.0f, 0.0f), 0);
  EXPECT_EQ(scale_to_pcm16(-0.0f, 0.0f), 0);
}

// Samples that probe the division and the rounding: the peak itself, half
// the peak, ties, the neighbours of values that land near k + 0.5, signed
// zeros, denormals, then a pseudo-random spread.
std::vector<float> probe_samples(float peak, std::size_t count) {
  std::vector<float> x = {peak, -peak, peak / 2, -peak / 2, 0.0f, -0.0f,
                          std::numeric_limits<float>::denorm_min(),
                          -std::numeric_limits<float>::denorm_min(),
                          std::numeric_limits<float>::min(),
                          -std::numeric_limits<float>::min()};
  // With a peak of 32767 these are exact ties; nearest-even would take
  // 0.5, 2.5, 4.5 and 16382.5 toward zero.
  for (float tie : {0.5f, 1.5f, 2.5f, 4.5f, 16382.5f, 32766.5f}) {
    x.push_back(tie * (peak / 32767.0f));
    x.push_back(-tie * (peak / 32767.0f));
  }
  for (int k : {0, 1, 2, 16383, 32766}) {
    const float half_step = static_cast<float>((k + 0.5) / 32767.0 * peak);
    for (float v : {half_step, std::nextafter(half_step, 0.0f),
                    std::nextafter(half_step, peak)}) {
      x.push_back(v);
      x.push_back(-v);
    }
  }
  std::uint32_t state = 99;
  while (x.size() < count) {
    state = state * 1664525u + 1013904223u;
    x.push_back(peak * (static_cast<float>(state >> 8) / 16777216.0f * 2 - 1));
  }
  x.resize(count);
  for (float& v : x) {
    if (!(std::fabs(v) <= peak)) v = peak;  // the contract: |x| <= peak
  }
  return x;
}

// scale_frames and peak_magnitude may take a faster path on this host; they
// must agree with the portable ones for every peak, length and layout.
TEST(ScaleFrames, MatchesThePortablePathByteForByte) {
  const float peaks[] = {1.0f, 0.5f, 3e-5f, 0.7071f, 1234.5f, 32767.0f,
                         std::numeric_limits<float>::max(),
                         std::numeric_limits<float>::denorm_min(),
                         std::numeric_limits<float>::min()};
  for (const float peak : peaks) {
    for (std::size_t n : {0, 1, 7, 8, 9, 15, 16, 17, 4096, 4099}) {
      const std::vector<float> left = probe_samples(peak, n);
      std::vector<float> right = probe_samples(peak, n + 5);
      right.erase(right.begin(), right.begin() + 5);  // not the left samples
      for (const bool stereo : {false, true}) {
        const std::span<const float> r = stereo ? std::span<const float>(right)
                                                : std::span<const float>();
        const std::size_t bytes = n * (stereo ? 4 : 2);
        std::vector<std::uint8_t> fast(bytes, 0xAA), portable(bytes, 0x55);
        scale_frames(left, r, peak, fast);
        scale_frames_portable(left, r, peak, portable);
        EXPECT_EQ(fast, portable) << "peak " << peak << ", " << n
                                  << (stereo ? " stereo" : " mono") << " frames";
      }
    }
  }
  // Silence: a peak of 0 gives zeros on both paths.
  const std::vector<float> zeros(9, 0.0f);
  std::vector<std::uint8_t> fast(36, 0xAA), portable(36, 0x55);
  scale_frames(zeros, zeros, 0.0f, fast);
  scale_frames_portable(zeros, zeros, 0.0f, portable);
  EXPECT_EQ(fast, std::vector<std::uint8_t>(36, 0));
  EXPECT_EQ(portable, std::vector<std::uint8_t>(36, 0));
}

TEST(PeakMagnitude, MatchesThePortablePathAndRefusesNonFiniteSamples) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (std::size_t n : {0, 1, 3, 4, 5, 8, 11, 4099}) {
    std::vector<float> x = probe_samples(0.75f, n);
    for (float start : {0.0f, 0.5f, 2.0f}) {
      const std::optional<float> fast = peak_magnitude(x, start);
      ASSERT_TRUE(fast) << n << " samples";
      EXPECT_EQ(*fast, *peak_magnitude_portable(x, start)) << n << " samples";
    }
    // One bad sample anywhere, in the vector part or the remainder.
    for (std::size_t at = 0; at < n; at += n > 16 ? 997 : 1) {
      for (float bad : {nan, -nan, inf, -inf}) {
        std::vector<float> y = x;
        y[at] = bad;
        EXPECT_FALSE(peak_magnitude(y, 0.0f)) << bad << " at " << at << " of " << n;
        EXPECT_FALSE(peak_magnitude_portable(y, 0.0f)) << bad << " at " << at;
      }
    }
  }
  EXPECT_EQ(*peak_magnitude(std::vector<float>{-0.0f, -3.0f, 2.0f, 1.0f, -0.5f}, 0.0f),
            3.0f);
}

TEST(SamplingRate, RoundsTheRateOfAFloatInterval) {
  EXPECT_EQ(sampling_rate(1.0f / 48.0f, 2).hz, 48000);
  EXPECT_EQ(sampling_rate(1000.0f / 48000.0f, 2).hz, 48000);
  EXPECT_EQ(sampling_rate(1000.0f / 44100.0f, 4).hz, 44100);
  EXPECT_EQ(sampling_rate(1000.0f / 22050.0f, 2).hz, 22050);
  EXPECT_EQ(sampling_rate(1999.0f, 2).hz, 1);
  EXPECT_FALSE(sampling_rate(1000.0f / 44100.0f, 4).problem);
}

TEST(SamplingRate, RefusesIntervalsWithoutAUsableRate) {
  const float inf = std::numeric_limits<float>::infinity();
  for (float bad : {0.0f, -0.0f, -1.0f, inf, -inf, std::nanf("")}) {
    EXPECT_EQ(sampling_rate(bad, 2).problem, RateProblem::kNotPositive) << bad;
  }
  EXPECT_EQ(sampling_rate(1e-9f, 2).problem, RateProblem::kTooSmall);
  EXPECT_EQ(sampling_rate(2001.0f, 2).problem, RateProblem::kTooLarge);
  // 1000 / 1e-6 ms = 1e9 Hz fits 32 bits, but not as a stereo byte rate.
  EXPECT_FALSE(sampling_rate(1e-6f, 2).problem);
  EXPECT_EQ(sampling_rate(1e-6f, 4).problem, RateProblem::kTooSmall);
}

}  // namespace
}  // namespace irexpo
