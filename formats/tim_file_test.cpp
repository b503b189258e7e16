#include "formats/tim_file.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "formats/byte_order.h"

namespace formats {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A whole file as the converter writes it: head, samples padded with zeros
// to point_count, trailer.
Bytes whole_file(const TimHead& head, std::vector<float> samples,
                 const TimTrailerFields& fields) {
  samples.resize(static_cast<std::size_t>(head.point_count), 0.0f);
  Bytes file;
  const auto h = encode_tim_head(head);
  file.insert(file.end(), h.begin(), h.end());
  Bytes body(4 * samples.size());
  encode_tim_samples(samples, body);
  file.insert(file.end(), body.begin(), body.end());
  const auto t = encode_tim_trailer(fields);
  file.insert(file.end(), t.begin(), t.end());
  return file;
}

std::string text_at(const Bytes& b, std::size_t offset, std::size_t n) {
  return std::string(b.begin() + static_cast<std::ptrdiff_t>(offset),
                     b.begin() + static_cast<std::ptrdiff_t>(offset + n));
}

TimTrailerFields fields_for(std::int32_t n, std::int16_t mode) {
  TimTrailerFields f;
  f.sampling_rate_hz = 44100;
  f.point_count = n;
  f.acquisition_mode = mode;
  f.timestamp = " 8/12/2026 16: 5: 0";
  f.source_name = "take1.wav";
  f.level_factor = 0.25f;
  return f;
}

TEST(TimWriter, MonoConversionOf1000FramesLaysOutA9046ByteFile) {
  const float interval = 1000.0f / 44100.0f;
  const Bytes file = whole_file({0, interval, 2048},
                                std::vector<float>(1000, 0.5f),
                                fields_for(2048, 0));
  ASSERT_EQ(file.size(), 9046u);
  ASSERT_EQ(tim_file_size(2048), 9046u);
  EXPECT_EQ(text_at(file, 0, 4), "\xCD\xAB\xFF\xFF");
  EXPECT_EQ(load_i16le(&file[4]), 0);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(load_f32le(&file[6])),
            std::bit_cast<std::uint32_t>(interval));
  EXPECT_EQ(load_i32le(&file[10]), 2048);
  EXPECT_EQ(load_f32le(&file[14 + 4 * 999]), 0.5f);
  for (int i = 1000; i < 2048; ++i) {
    ASSERT_EQ(load_u32le(&file[14 + 4 * i]), 0u) << "sample " << i + 1;
  }
  ASSERT_EQ(tim_trailer_offset(2048), 8206u);
  ASSERT_EQ(tim_block_offset(2048), 8346u);
  EXPECT_EQ(text_at(file, 8206, 40), "Waveform (from DAT recording)    - Volts");
  EXPECT_EQ(load_i32le(&file[8346]), 4096);
  EXPECT_EQ(load_i32le(&file[8346 + 28]), 2048);
  EXPECT_EQ(load_i16le(&file[8346 + 32]), 11);
  EXPECT_NEAR(load_f32le(&file[8346 + 6]), 44.1f, 1e-5f);
  EXPECT_NEAR(load_f32le(&file[8346 + 10]), 20.045454f, 1e-5f);
}

TEST(TimWriter, TrailerHoldsEveryTextAndConstant) {
  const auto t = encode_tim_trailer(fields_for(2048, 0));
  const Bytes b(t.begin(), t.end());
  EXPECT_EQ(text_at(b, 0, 80), "Waveform (from DAT recording)    - Volts" +
                                   std::string(1, '\0') + std::string(39, ' '));
  EXPECT_EQ(text_at(b, 80, 60), "File transferred from a .WAV original file" +
                                    std::string(1, '\0') + std::string(17, ' '));
  const std::size_t k = 140;  // parameter block
  struct Text {
    std::size_t offset;
    std::string bytes;
  };
  const std::string nul(1, '\0');
  for (const Text& x : std::vector<Text>{
           {60, "Volts" + nul + "      "},
           {80, "Volts" + nul + "      "},
           {124, "msec" + nul + "       "},
           {140, "Hz" + nul + "         "},
           {156, "Ohm" + nul + "        "},
           {412, " 8/12/2026 16: 5: 0" + nul},
           {440, "take1.wav" + std::string(26, ' ')},
           {562, "Unknown" + nul + "     "},
           {575, "Electret" + nul},
           {584, "00000" + nul + "   "},
           {593, "01/01/1991" + nul},
       }) {
    EXPECT_EQ(text_at(b, k + x.offset, x.bytes.size()), x.bytes)
        << "block offset " << x.offset;
  }
  struct Int {
    std::size_t offset;
    int width;
    std::int32_t value;
  };
  for (const Int& x : std::vector<Int>{{0, 4, 4096},
                                       {4, 2, 0},
                                       {18, 2, 1},
                                       {20, 4, 0},
                                       {24, 2, 0},
                                       {26, 2, 2},
                                       {38, 2, 1},
                                       {44, 2, 0},
                                       {46, 2, 2},
                                       {560, 2, 1}}) {
    const std::int32_t got =
        x.width == 4 ? load_i32le(&b[k + x.offset]) : load_i16le(&b[k + x.offset]);
    EXPECT_EQ(got, x.value) << "block offset " << x.offset;
  }
  for (std::size_t off : {14u, 34u, 56u, 76u, 136u}) {
    EXPECT_EQ(load_f32le(&b[k + off]), 1.0f) << "block offset " << off;
  }
  EXPECT_EQ(load_f32le(&b[k + 152]), 1000.0f);
  EXPECT_EQ(load_f32le(&b[k + 604]), 50.0f);
  EXPECT_EQ(load_f32le(&b[k + 608]), 20.0f);
  EXPECT_EQ(load_f32le(&b[k + 612]), 0.25f);
  // Single-precision products with the single-precision constants.
  EXPECT_EQ(load_f32le(&b[k + 6]), 44100.0f * 0.001f);
  EXPECT_EQ(load_f32le(&b[k + 10]), 44100.0f * 0.00045454546f);

  // The gaps the layout does not name are zero.
  for (auto [from, to] : std::vector<std::pair<std::size_t, std::size_t>>{
           {48, 56}, {72, 76}, {92, 124}, {168, 412}, {432, 440},
           {475, 560}, {616, 700}}) {
    for (std::size_t i = from; i < to; ++i) {
      ASSERT_EQ(b[k + i], 0) << "block offset " << i;
    }
  }
}

TEST(TimWriter, LongestFileCarries65535PointsAndOrder16) {
  const auto t = encode_tim_trailer(fields_for(65535, 0));
  EXPECT_EQ(load_i32le(&t[140 + 28]), 65535);
  EXPECT_EQ(load_i32le(&t[140 + 40]), 65535);
  EXPECT_EQ(load_i16le(&t[140 + 32]), 16);
  EXPECT_EQ(tim_file_size(65535), 262994u);
}

TEST(TimWriter, PointOrderForEveryLength) {
  const std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  const std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const std::pair<std::int32_t, int> cases[] = {
      {2048, 11}, {4096, 12}, {8192, 13}, {16384, 14}, {32768, 15},
      {65535, 16}, {1, 0}, {kMax, 31},
      // No logarithm: the order of a single point.
      {0, 0}, {-1, 0}, {kMin, 0}};
  for (auto [n, order] : cases) {
    EXPECT_EQ(tim_point_order(n), order) << "N = " << n;
  }
}

TEST(TimWriter, EmptyTextsAndNoPointsStillGiveAWholeTrailer) {
  TimTrailerFields f;  // empty timestamp and source name, N = 0
  for (std::int32_t n : {0, -5}) {
    f.point_count = n;
    const auto t = encode_tim_trailer(f);
    const Bytes b(t.begin(), t.end());
    EXPECT_EQ(text_at(b, 140 + 412, 20), std::string(1, '\0') + std::string(19, ' '));
    EXPECT_EQ(text_at(b, 140 + 440, 35), std::string(35, ' '));
    EXPECT_EQ(load_i32le(&b[140 + 28]), n);
    EXPECT_EQ(load_i16le(&b[140 + 32]), 0);
    EXPECT_EQ(load_i32le(&b[140 + 40]), n);
  }
}

TEST(TimWriter, ModeChoosesTitleAndIsStoredAsGiven) {
  const auto mls = encode_tim_trailer(fields_for(2048, 1));
  EXPECT_EQ(std::string(mls.begin(), mls.begin() + 41),
            std::string("Impulse Response (from gun shot) - Volts") + '\0');
  EXPECT_EQ(load_i16le(&mls[140 + 44]), 1);
  EXPECT_EQ(load_i16le(&encode_tim_head({1, 0.0f, 2048})[4]), 1);

  const auto three = encode_tim_trailer(fields_for(2048, 3));
  EXPECT_EQ(std::string(three.begin(), three.begin() + 40),
            "Waveform (from DAT recording)    - Volts");
  EXPECT_EQ(load_i16le(&three[140 + 44]), 3);
  EXPECT_EQ(load_i16le(&encode_tim_head({3, 0.0f, 2048})[4]), 3);
  EXPECT_EQ(load_i16le(&encode_tim_head({-2, 0.0f, 2048})[4]), -2);
}

TEST(TimWriter, SourceNameIsCutOrPaddedTo35WithoutNul) {
  auto f = fields_for(2048, 0);
  const std::string long_name = "a_rather_long_folder/and_a_long_name.wav";
  f.source_name = long_name;
  const auto cut = encode_tim_trailer(f);
  EXPECT_EQ(std::string(cut.begin() + 140 + 440, cut.begin() + 140 + 475),
            long_name.substr(0, 35));
  EXPECT_EQ(cut[140 + 475], 0);

  f.source_name = "x.wav";
  const auto padded = encode_tim_trailer(f);
  EXPECT_EQ(std::string(padded.begin() + 140 + 440, padded.begin() + 140 + 475),
            "x.wav" + std::string(30, ' '));
}

TEST(TimTimestamp, BlankFilledColumns) {
  EXPECT_EQ(format_tim_timestamp({2026, 12, 8, 16, 5, 0}), " 8/12/2026 16: 5: 0");
  EXPECT_EQ(format_tim_timestamp({1999, 1, 31, 0, 7, 59}), "31/ 1/1999  0: 7:59");
  EXPECT_EQ(format_tim_timestamp({2030, 10, 10, 23, 59, 9}), "10/10/2030 23:59: 9");
  // Out of range values keep the width.
  EXPECT_EQ(format_tim_timestamp({12345, 1, 1, 0, 0, 0}), " 1/ 1/****  0: 0: 0");
  EXPECT_EQ(format_tim_timestamp({2026, 1, 1, 0, 0, 0}).size(), 19u);
}

TEST(TimReader, ReadsBackWhatWasWrittenBitForBit) {
  std::vector<float> samples = {0.5f,
                                -1.0f,
                                0.999969482421875f,
                                -0.0f,
                                std::numeric_limits<float>::denorm_min(),
                                std::numeric_limits<float>::max(),
                                std::bit_cast<float>(0x7FC01234u)};  // NaN payload
  for (int i = 0; i < 3000; ++i) samples.push_back(static_cast<float>(i) / 32768.0f);
  const std::int32_t n = static_cast<std::int32_t>(samples.size());
  const float interval = 1000.0f / 48000.0f;
  const Bytes file = whole_file({1, interval, n}, samples, fields_for(n, 1));

  // The host's own read and the byte-by-byte one.
  for (const auto read : {read_tim_samples, read_tim_samples_portable}) {
    const char* path = read == read_tim_samples ? "host read" : "portable read";
    MemorySource source(file);
    TimHead head;
    ASSERT_EQ(read_tim_head(source, head), ReadStatus::kOk);
    EXPECT_EQ(head.acquisition_mode, 1);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(head.sample_interval_ms),
              std::bit_cast<std::uint32_t>(interval));
    ASSERT_EQ(head.point_count, n);
    std::vector<float> back(static_cast<std::size_t>(n));
    ASSERT_EQ(read(source, back), ReadStatus::kOk) << path;
    for (std::size_t i = 0; i < samples.size(); ++i) {
      ASSERT_EQ(std::bit_cast<std::uint32_t>(back[i]),
                std::bit_cast<std::uint32_t>(samples[i]))
          << path << ", sample " << i;
    }
    // Nothing behind the samples was consumed.
    EXPECT_EQ(source.position(), tim_trailer_offset(n)) << path;
  }
}

TEST(TimReader, TellsTruncatedHeadAndSamples) {
  const Bytes file = whole_file({0, 0.02f, 2048}, {}, fields_for(2048, 0));
  for (std::size_t len : {0u, 6u, 13u}) {
    MemorySource source{std::span(file).first(len)};
    TimHead head;
    EXPECT_EQ(read_tim_head(source, head), ReadStatus::kTruncated) << len;
  }
  // Head complete, one byte of the last sample missing.
  for (const auto read : {read_tim_samples, read_tim_samples_portable}) {
    MemorySource source{std::span(file).first(14 + 4 * 2048 - 1)};
    TimHead head;
    ASSERT_EQ(read_tim_head(source, head), ReadStatus::kOk);
    std::vector<float> samples(2048);
    EXPECT_EQ(read(source, samples), ReadStatus::kTruncated)
        << (read == read_tim_samples ? "host read" : "portable read");
  }
}

TEST(TimReader, IgnoresTagAndTrailer) {
  Bytes file = whole_file({0, 0.5f, 2}, {0.25f, -0.75f}, fields_for(2, 0));
  file[0] = 'X';
  file.resize(14 + 8);  // trailer gone
  MemorySource source(file);
  TimHead head;
  ASSERT_EQ(read_tim_head(source, head), ReadStatus::kOk);
  std::vector<float> samples(2);
  ASSERT_EQ(read_tim_samples(source, samples), ReadStatus::kOk);
  EXPECT_EQ(samples[1], -0.75f);
}


// The decoder gives back what the writer was given: texts without their
// padding (the source name cut to its 35 columns, trailing blanks dropped),
// values as stored.
TEST(TimTrailerDecoder, ReadsBackTheWritersFields) {
  struct Case {
    std::string_view timestamp;
    std::string_view source_name;
    std::int16_t mode;
    std::string_view expected_name;
  };
  const Case cases[] = {
      {" 8/12/2026 16: 5: 0", "take1.wav", 1, "take1.wav"},
      {"", "", 0, ""},
      {"01/02/2003 04:05:06", "a name of forty characters, cut at 35.wav", 7,
       "a name of forty characters, cut at"},
      {"x", "  blanks kept in front  ", 1, "  blanks kept in front"},
  };
  for (const Case& c : cases) {
    TimTrailerFields f = fields_for(4096, c.mode);
    f.timestamp = c.timestamp;
    f.source_name = c.source_name;
    f.level_factor = -1.5e-3f;
    const TimTrailerInfo info = decode_tim_trailer(encode_tim_trailer(f));
    EXPECT_EQ(info.timestamp, c.timestamp);
    EXPECT_EQ(info.source_name, c.expected_name);
    EXPECT_EQ(info.title, c.mode == 1 ? "Impulse Response (from gun shot) - Volts"
                                      : "Waveform (from DAT recording)    - Volts");
    EXPECT_EQ(info.comment, "File transferred from a .WAV original file");
    EXPECT_EQ(info.acquisition_mode, c.mode);
    EXPECT_EQ(info.point_count, 4096);
    EXPECT_EQ(info.level_factor, -1.5e-3f);
    EXPECT_EQ(info.sampling_rate_khz, 44100.0f * 0.001f);  // as the writer stores it
  }
}

TEST(TimTrailerDecoder, AnyBytesGiveAValue) {
  std::array<std::uint8_t, kTimTrailerSize> bytes;
  bytes.fill(0xFF);
  const TimTrailerInfo info = decode_tim_trailer(bytes);
  EXPECT_EQ(info.title, std::string(kTimTitleSize, '\xFF'));
  EXPECT_EQ(info.source_name.size(), kTimSourceNameLength);
  EXPECT_EQ(info.point_count, -1);
  EXPECT_TRUE(std::isnan(info.level_factor));
}

}  // namespace
}  // namespace formats
