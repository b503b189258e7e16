#include "analysis/read/read_response.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "analysis/read/audio_codec.h"
#include "analysis/testing/synthetic.h"
#include "formats/test_temp_dir.h"

namespace analysis {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes tim_file(const std::vector<float>& samples, float interval_ms, std::int32_t count,
               bool trailer) {
  return testing::tim_bytes(samples, interval_ms, count, trailer);
}

std::vector<float> ramp(std::size_t n, float scale) {
  std::vector<float> x(n);
  for (std::size_t i = 0; i < n; ++i) x[i] = scale * std::sin(0.05f * static_cast<float>(i));
  return x;
}

TEST(ReadTim, ReadsHeadSamplesAndTrailer) {
  const std::vector<float> samples = ramp(2048, 0.7f);
  const ReadResult r =
      decode_response(tim_file(samples, 1000.0f / 44100.0f, 2048, true), "left.tim");
  ASSERT_TRUE(r.file) << r.message;
  EXPECT_EQ(r.problem, ReadProblem::kNone);
  EXPECT_EQ(r.file->format, "TIM (32-bit float)");
  EXPECT_EQ(r.file->sample_rate_hz, 44100.0);  // 1000 / interval, rounded
  ASSERT_EQ(r.file->channels.size(), 1u);
  EXPECT_EQ(r.file->channels[0], samples);
  ASSERT_TRUE(r.file->tim);
  EXPECT_TRUE(r.file->tim->has_trailer);
  EXPECT_EQ(r.file->tim->timestamp, " 8/12/2026 16: 5: 0");
  EXPECT_EQ(r.file->tim->source_name, "take1.wav");
  EXPECT_EQ(r.file->tim->level_factor, 0.125f);
  EXPECT_EQ(r.file->tim->acquisition_mode, 1);
  EXPECT_EQ(r.file->tim->title, "Impulse Response (from gun shot) - Volts");
  const Peak peak = find_peak(*r.file);
  EXPECT_EQ(peak.value, *std::max_element(samples.begin(), samples.end()));

  // Without its trailer; and under a .tim name without the tag.
  Bytes bare = tim_file(samples, 0.02f, 2048, false);
  bare[0] = 'X';
  const ReadResult b = decode_response(bare, "RIGHT.TIM");
  ASSERT_TRUE(b.file) << b.message;
  EXPECT_FALSE(b.file->tim->has_trailer);
  EXPECT_EQ(b.file->sample_rate_hz, 50000.0);
}

#ifdef ANALYSIS_AUDIO_FILES
// Every container and sample encoding irinfo promises to read, through the audio
// reader: the format named, the rate and channels kept, the samples within
// the encoding's quantisation.
TEST(ReadAudio, ReadsEveryContainerAndEncoding) {
  struct Case {
    AudioContainer container;
    AudioEncoding encoding;
    int rate;
    const char* format;
    double tolerance;
  };
  const Case cases[] = {
      {AudioContainer::kWave, AudioEncoding::kPcm16, 44100, "WAVE (16-bit PCM)", 1.0 / 32768},
      {AudioContainer::kWave, AudioEncoding::kPcm24, 48000, "WAVE (24-bit PCM)", 1.0 / 8388608},
      {AudioContainer::kWave, AudioEncoding::kPcm32, 96000, "WAVE (32-bit PCM)", 1e-7},
      {AudioContainer::kWave, AudioEncoding::kFloat32, 48000, "WAVE (32-bit float)", 0},
      {AudioContainer::kWave, AudioEncoding::kFloat64, 44100, "WAVE (64-bit float)", 0},
      {AudioContainer::kWaveExtensible, AudioEncoding::kPcm24, 96000,
       "WAVE extensible (24-bit PCM)", 1.0 / 8388608},
      {AudioContainer::kWaveExtensible, AudioEncoding::kFloat32, 48000,
       "WAVE extensible (32-bit float)", 0},
      {AudioContainer::kRf64, AudioEncoding::kPcm16, 48000, "RF64 (16-bit PCM)", 1.0 / 32768},
      {AudioContainer::kRf64, AudioEncoding::kFloat64, 96000, "RF64 (64-bit float)", 0},
      {AudioContainer::kAiff, AudioEncoding::kPcm16, 44100, "AIFF (16-bit PCM)", 1.0 / 32768},
      {AudioContainer::kAiff, AudioEncoding::kPcm24, 48000, "AIFF (24-bit PCM)", 1.0 / 8388608},
      {AudioContainer::kAiff, AudioEncoding::kFloat32, 48000, "AIFF (32-bit float)", 0},
      {AudioContainer::kFlac, AudioEncoding::kPcm16, 44100, "FLAC (16-bit PCM)", 1.0 / 32768},
      {AudioContainer::kFlac, AudioEncoding::kPcm24, 96000, "FLAC (24-bit PCM)", 1.0 / 8388608},
  };
  const std::vector<std::vector<float>> channels = {ramp(3000, 0.5f), ramp(3000, -0.25f)};
  for (const Case& c : cases) {
    const Bytes bytes = encode_audio(channels, c.rate, c.container, c.encoding);
    ASSERT_FALSE(bytes.empty()) << c.format;
    const ReadResult r = decode_response(bytes, "take.wav");
    ASSERT_TRUE(r.file) << c.format << ": " << r.message;
    EXPECT_EQ(r.file->format, c.format);
    EXPECT_EQ(r.file->sample_rate_hz, c.rate) << c.format;
    EXPECT_FALSE(r.file->tim);
    ASSERT_EQ(r.file->channels.size(), 2u) << c.format;
    for (std::size_t ch = 0; ch < 2; ++ch) {
      ASSERT_EQ(r.file->channels[ch].size(), 3000u) << c.format;
      for (std::size_t i = 0; i < 3000; ++i) {
        ASSERT_NEAR(r.file->channels[ch][i], channels[ch][i], c.tolerance)
            << c.format << ", channel " << ch << ", sample " << i;
      }
    }
  }
  // FLAC holds no float samples.
  EXPECT_TRUE(
      encode_audio(channels, 48000, AudioContainer::kFlac, AudioEncoding::kFloat32).empty());
}

// The WAVE files of an independent project: each is read with values that
// hold together, or refused with a message naming it; never a crash.
TEST(ReadAudio, ExternalWaveFilesAreReadOrRefusedByName) {
  int read = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(WAV_EXTERNAL_DIR)) {
    if (entry.path().extension() != ".wav") continue;
    const std::string name = entry.path().filename().string();
    const ReadResult r = read_response_file(entry.path().string());
    if (r.file) {
      ++read;
      ASSERT_FALSE(r.file->channels.empty()) << name;
      for (const auto& ch : r.file->channels) EXPECT_EQ(ch.size(), r.file->points()) << name;
      EXPECT_GE(r.file->points(), 2u);
    } else {
      EXPECT_EQ(r.message.rfind(entry.path().string() + ": ", 0), 0u) << r.message;
      EXPECT_NE(exit_status(r.problem), 0);
    }
  }
  EXPECT_GT(read, 30);
}
#endif

// Files that hold no response: a message that names the file and says
// why, and the exit status the converters give (1 for a file that ends
// early, 2 for one refused).
TEST(ReadRefusals, EveryBadFileNamedWithItsReason) {
  const float interval = 1000.0f / 48000.0f;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    const char* name;
    Bytes bytes;
    ReadProblem problem;
    const char* reason;
  };
  std::vector<Case> cases = {
      {"empty.tim", {}, ReadProblem::kRefused, "the file is empty"},
      {"head.tim", Bytes{0xCD, 0xAB, 0xFF, 0xFF, 1, 0}, ReadProblem::kReadFailed,
       "the file ends inside its 14-byte .TIM head"},
      {"short.tim", tim_file(ramp(10, 0.5f), interval, 1000, false), ReadProblem::kReadFailed,
       "the file ends after 10 of the 1000 samples its head promises"},
      {"negative.tim", tim_file({}, interval, -5, true), ReadProblem::kRefused,
       "its point count is -5, not a positive number"},
      {"none.tim", tim_file({}, interval, 0, true), ReadProblem::kRefused,
       "its point count is 0, not a positive number"},
      {"interval.tim", tim_file(ramp(10, 0.5f), 0.0f, 10, true), ReadProblem::kRefused,
       "its sample interval is no positive number of milliseconds"},
      {"nan-interval.tim", tim_file(ramp(10, 0.5f), nan, 10, true), ReadProblem::kRefused,
       "its sample interval is no positive number of milliseconds"},
      {"slow.tim", tim_file(ramp(10, 0.5f), 2.0f, 10, true), ReadProblem::kRefused,
       "its sampling rate 500 Hz is outside 1000 .. 1000000 Hz"},
      {"nan.tim", tim_file({0.5f, 0.25f, nan, 0.1f}, interval, 4, true), ReadProblem::kRefused,
       "sample 3 of channel 1 is not a finite number"},
      {"inf.tim", tim_file({0.5f, -inf}, interval, 2, true), ReadProblem::kRefused,
       "sample 2 of channel 1 is not a finite number"},
      {"one.tim", tim_file({0.5f}, interval, 1, true), ReadProblem::kRefused,
       "it holds 1 point, too few for a response"},
      {"zeros.tim", tim_file(std::vector<float>(2048, 0.0f), interval, 2048, true),
       ReadProblem::kRefused, "every sample is zero"},
      {"text.wav", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'r', 'e', 's', 'p', 'o', 'n', 's', 'e'},
       ReadProblem::kRefused,
#ifdef ANALYSIS_AUDIO_FILES
       "neither a .TIM file nor an audio file of a known format"},
#else
       "not a .TIM file, and this build reads no other audio files"},
#endif
  };
#ifdef ANALYSIS_AUDIO_FILES
  const auto wave = [](const std::vector<float>& x, int rate) {
    return encode_audio({x}, rate, AudioContainer::kWave, AudioEncoding::kFloat32);
  };
  Bytes cut = wave(ramp(100, 0.5f), 48000);
  cut.resize(30);
  Bytes damaged = wave(ramp(100, 0.5f), 48000);
  damaged[8] = 'X';  // "WAVE" spoilt
  cases.push_back({"zeros.wav", wave(std::vector<float>(500, 0.0f), 48000), ReadProblem::kRefused,
                   "every sample is zero"});
  cases.push_back({"one.wav", wave({0.5f}, 48000), ReadProblem::kRefused,
                   "it holds 1 point, too few for a response"});
  cases.push_back({"nan.wav", wave({0.5f, nan}, 48000), ReadProblem::kRefused,
                   "sample 2 of channel 1 is not a finite number"});
  cases.push_back({"inf.wav", wave({inf, 0.5f}, 48000), ReadProblem::kRefused,
                   "sample 1 of channel 1 is not a finite number"});
  cases.push_back({"slow.wav", wave(ramp(100, 0.5f), 800), ReadProblem::kRefused,
                   "its sampling rate 800 Hz is outside 1000 .. 1000000 Hz"});
  cases.push_back({"cut.wav", cut, ReadProblem::kRefused, "neither a .TIM file nor an audio file"});
  cases.push_back({"damaged.wav", damaged, ReadProblem::kRefused,
                   "neither a .TIM file nor an audio file"});
#endif
  for (const Case& c : cases) {
    const ReadResult r = decode_response(c.bytes, c.name);
    EXPECT_FALSE(r.file) << c.name;
    EXPECT_EQ(r.problem, c.problem) << c.name << ": " << r.message;
    EXPECT_EQ(r.message.rfind(std::string(c.name) + ": " + c.reason, 0), 0u) << r.message;
  }
  EXPECT_EQ(exit_status(ReadProblem::kNone), 0);
  EXPECT_EQ(exit_status(ReadProblem::kCannotOpen), 1);
  EXPECT_EQ(exit_status(ReadProblem::kReadFailed), 1);
  EXPECT_EQ(exit_status(ReadProblem::kRefused), 2);

  ReadLimits small;
  small.points = 100;
  const ReadResult big =
      decode_response(tim_file(ramp(200, 0.5f), interval, 200, true), "big.tim", small);
  EXPECT_EQ(big.message, "big.tim: its point count 200 is above 100");
}

TEST(ReadFile, OpensByNameAndTellsWhatFailed) {
  formats::TestTempDir dir;
  const std::string good = (dir / "good.tim").string();
  formats::write_bytes(good, tim_file(ramp(300, 0.5f), 0.02f, 300, true));
  const ReadResult r = read_response_file(good);
  ASSERT_TRUE(r.file) << r.message;
  EXPECT_EQ(r.file->points(), 300u);

  const std::string missing = (dir / "missing.wav").string();
  const ReadResult m = read_response_file(missing);
  EXPECT_EQ(m.problem, ReadProblem::kCannotOpen);
  EXPECT_EQ(m.message, missing + ": cannot be opened (No such file or directory)");
  const ReadResult folder = read_response_file(dir.path().string());
  EXPECT_EQ(folder.problem, ReadProblem::kCannotOpen);
  EXPECT_EQ(folder.message, dir.path().string() + ": cannot be opened: it is a folder");
}

}  // namespace
}  // namespace analysis
