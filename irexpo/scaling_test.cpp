#include "irexpo/scaling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
