#include "irgen/conversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "irgen/date_stamp.h"

namespace irgen {
namespace {

TEST(OutputPoints, PowersOfTwoThen65535) {
  struct Case {
    std::int32_t input;
    std::int32_t output;
  };
  const Case cases[] = {
      {0, 2048},      {1, 2048},      {1000, 2048},   {2048, 2048},
      {2049, 4096},   {4096, 4096},   {8192, 8192},   {8193, 16384},
      {16384, 16384}, {32767, 32768}, {32768, 32768}, {32769, 65535},
      {65535, 65535}, {65536, 65535}, {1 << 30, 65535},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(output_points(c.input), c.output) << "input " << c.input;
  }
  EXPECT_EQ(points_read(32769, 65535), 32769);
  EXPECT_EQ(points_read(70000, 65535), 65535);
}

TEST(SampleValue, ScalesByOneOver32768) {
  EXPECT_EQ(sample_value(-32768), -1.0f);
  EXPECT_EQ(sample_value(32767), 0.999969482421875f);
  EXPECT_EQ(sample_value(16384), 0.5f);
  EXPECT_EQ(sample_value(1), 3.0517578125e-05f);
  EXPECT_EQ(sample_value(0), 0.0f);
}

TEST(ConvertRun, PicksTheChannelAndSumsExactSquares) {
  // Frames of left, right: (-32768, 1), (16384, -2), (32767, 3).
  const std::vector<std::uint8_t> frames = {0x00, 0x80, 0x01, 0x00, 0x00, 0x40,
                                            0xFE, 0xFF, 0xFF, 0x7F, 0x03, 0x00};
  std::vector<std::uint8_t> out(12);
  EXPECT_EQ(convert_run(frames, 4, 0, out),
            32768ull * 32768 + 16384ull * 16384 + 32767ull * 32767);
  EXPECT_EQ(out, (std::vector<std::uint8_t>{0x00, 0x00, 0x80, 0xBF,    // -1.0
                                            0x00, 0x00, 0x00, 0x3F,    // 0.5
                                            0x00, 0xFE, 0x7F, 0x3F}));  // 32767/32768
  EXPECT_EQ(convert_run(frames, 4, 1, out), 1u + 4 + 9);
  // Read as mono, the same bytes are six frames.
  std::vector<std::uint8_t> mono(24);
  EXPECT_EQ(convert_run(frames, 2, 0, mono),
            32768ull * 32768 + 1 + 16384ull * 16384 + 4 + 32767ull * 32767 + 9);
}

// convert_run may take a faster path on this host; it must give the bytes
// and the sums of the portable one for every layout, length and alignment.
TEST(ConvertRun, MatchesThePortablePathByteForByte) {
  // Extremes in every lane position first, then a pseudo-random walk over
  // the whole 16-bit range.
  std::vector<std::uint8_t> bytes;
  const std::int16_t edges[] = {-32768, 32767, -32768, -32768, 0,     -1,
                                1,      32767, -32768, -32768, -32768, -32768,
                                -32768, -32768, -32768, -32768, 16384, -16384};
  for (std::int16_t s : edges) {
    bytes.push_back(static_cast<std::uint8_t>(s));
    bytes.push_back(static_cast<std::uint8_t>(s >> 8));
  }
  std::uint32_t state = 12345;
  while (bytes.size() < 4 * 4100 + 1) {
    state = state * 1103515245u + 12345u;
    bytes.push_back(static_cast<std::uint8_t>(state >> 16));
  }
  struct Layout {
    std::size_t frame_bytes;
    std::size_t channel;
  };
  for (const Layout layout : {Layout{2, 0}, Layout{4, 0}, Layout{4, 1}}) {
    for (std::size_t frames : {0, 1, 7, 8, 9, 15, 16, 17, 4096, 4099}) {
      for (std::size_t offset : {0, 1}) {  // also from an odd address
        const std::span<const std::uint8_t> in(bytes.data() + offset,
                                               frames * layout.frame_bytes);
        std::vector<std::uint8_t> fast(4 * frames), portable(4 * frames);
        const std::uint64_t fast_sum =
            convert_run(in, layout.frame_bytes, layout.channel, fast);
        const std::uint64_t portable_sum =
            convert_run_portable(in, layout.frame_bytes, layout.channel, portable);
        const std::string where = "frame bytes " + std::to_string(layout.frame_bytes) +
                                  ", channel " + std::to_string(layout.channel) +
                                  ", " + std::to_string(frames) + " frames, offset " +
                                  std::to_string(offset);
        EXPECT_EQ(fast_sum, portable_sum) << where;
        EXPECT_EQ(fast, portable) << where;
      }
    }
  }
}

TEST(ChannelEnergy, EqualsTheDoubleSumOfTheSquaredReals) {
  double sum = 0;
  std::uint64_t squares = 0;
  for (int i = 0; i < 65535; ++i) {
    const auto s = static_cast<std::int16_t>((i * 7919) % 65536 - 32768);
    const double v = sample_value(s);
    sum += v * v;
    squares += static_cast<std::uint64_t>(static_cast<std::int64_t>(s) * s);
  }
  EXPECT_EQ(channel_energy(squares), static_cast<float>(sum));
}

TEST(ChannelLevel, MlsWorkedValues) {
  Level at94 = channel_level(1.0f, 1, 94.0f, 2048);
  EXPECT_NEAR(at94.level_db, 93.979401f, 2e-5f);
  EXPECT_NEAR(at94.level_factor, 9.9763e-06f, 1e-9f);
  Level at0 = channel_level(1.0f, 1, 0.0f, 2048);
  EXPECT_NEAR(at0.level_factor, 0.5f, 1e-6f);
  // The closed form: 0.5 sqrt(E) 10^(-spl/20).
  Level e4 = channel_level(4.0f, 1, 20.0f, 65535);
  EXPECT_NEAR(e4.level_factor, 0.5 * 2.0 * 0.1, 1e-7);
}

TEST(ChannelLevel, ScopeUsesTheMeanOverThePaddedLength) {
  for (std::int16_t mode : {0, 2, -1}) {
    Level level = channel_level(1.0f, mode, 94.0f, 2048);
    EXPECT_NEAR(level.level_db, 60.866096f, 2e-5f) << "mode " << mode;
    EXPECT_NEAR(level.level_factor, 4.4089e-07f, 1e-10f) << "mode " << mode;
  }
  // sqrt(E/N) 10^(-spl/20).
  Level level = channel_level(8192.0f, 0, 0.0f, 8192);
  EXPECT_NEAR(level.level_factor, 1.0f, 1e-6f);
}

TEST(ChannelLevel, SilentChannelHasFactorZero) {
  EXPECT_EQ(channel_level(0.0f, 1, 94.0f, 2048).level_factor, 0.0f);
  EXPECT_EQ(channel_level(0.0f, 0, 0.0f, 2048).level_factor, 0.0f);
}

TEST(ChannelLevel, FactorBeyondSingleRangeIsInfiniteNotWrapped) {
  Level level = channel_level(1.0f, 1, -1000.0f, 2048);
  EXPECT_TRUE(std::isinf(level.level_factor));
  Level tiny = channel_level(1e-9f, 0, 1000.0f, 65535);
  EXPECT_TRUE(std::isfinite(tiny.level_factor));
}

TEST(SourceDateEpoch, OnlyPlainSecondsAreTaken) {
  EXPECT_EQ(parse_source_date_epoch("0"), 0);
  EXPECT_EQ(parse_source_date_epoch("1700000000"), 1700000000);
  EXPECT_FALSE(parse_source_date_epoch(""));
  EXPECT_FALSE(parse_source_date_epoch("-5"));
  EXPECT_FALSE(parse_source_date_epoch("12x"));
  EXPECT_FALSE(parse_source_date_epoch("99999999999999999999999"));
}

TEST(LocalDateTime, FollowsTheTimeZone) {
  // 2026-12-08 07:05:09 UTC, seen from UTC.
  const char* old = std::getenv("TZ");
  std::string saved = old != nullptr ? old : "";
  setenv("TZ", "UTC", 1);
  tzset();
  formats::DateTime t = local_date_time(1796713509);
  EXPECT_EQ(t.year, 2026);
  EXPECT_EQ(t.month, 12);
  EXPECT_EQ(t.day, 8);
  EXPECT_EQ(t.hour, 7);
  EXPECT_EQ(t.minute, 5);
  EXPECT_EQ(t.second, 9);
  if (old != nullptr) {
    setenv("TZ", saved.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

}  // namespace
}  // namespace irgen
