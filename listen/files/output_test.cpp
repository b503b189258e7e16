// The gain, the quantiser and the writer: what goes into the output file.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "analysis/read/read_response.h"
#include "formats/test_temp_dir.h"
#include "listen/level/gain.h"
#include "listen/level/quantise.h"
#include "listen/files/sound_writer.h"
#include "listen/test_signals.h"

namespace listen {
namespace {

TEST(Gain, BringsPeakOrLoudnessToTheLevelAndRefusesToClip) {
  using N = Normalize;
  using S = SampleFormat;
  Measured m;
  m.peak = 0.5;  // -6.02 dBFS
  m.loudness_lufs = -25.0;
  const double peak_db = 20 * std::log10(0.5);
  const struct {
    N mode;
    std::optional<double> level;
    S samples;
    double gain_db;
    const char* refusal;  // start of it, "" for none
  } cases[] = {
      {N::kPeak, std::nullopt, S::kPcm24, -1.0 - peak_db, ""},
      {N::kPeak, -3.0, S::kPcm16, -3.0 - peak_db, ""},
      {N::kPeak, 0.0, S::kPcm24, 0.0, "the output would clip: its peak would be 0.00 dBFS"},
      {N::kPeak, 3.0, S::kFloat, 3.0 - peak_db, ""},
      {N::kLoudness, std::nullopt, S::kPcm24, 2.0, ""},
      {N::kLoudness, -10.0, S::kPcm24, 15.0, "the output would clip: its peak would be 8.98 dBFS"},
      {N::kNone, std::nullopt, S::kPcm16, 0.0, ""},
      {N::kPeak, 1e300, S::kFloat, 0.0, "the gain of "},
      {N::kPeak, 800.0, S::kFloat, 0.0,
       "the gain of 806.02 dB takes the output beyond any float sample"},
  };
  for (const auto& c : cases) {
    const GainChoice g = choose_gain(m, c.mode, c.level, c.samples);
    EXPECT_EQ(g.refusal.rfind(c.refusal, 0), 0u) << g.refusal;
    if (*c.refusal == '\0') {
      EXPECT_EQ(g.refusal, "");
      EXPECT_NEAR(g.gain_db, c.gain_db, 1e-9);
    }
  }
  Measured loud = m;
  loud.peak = 1.5;  // a float sum beyond full scale, kept as it is
  EXPECT_EQ(choose_gain(loud, N::kNone, std::nullopt, S::kFloat).refusal, "");
  EXPECT_EQ(choose_gain(loud, N::kNone, std::nullopt, S::kPcm24)
                .refusal.rfind("the output would clip: its peak would be 3.52 dBFS", 0),
            0u);
  Measured silent;
  EXPECT_NE(choose_gain(silent, N::kPeak, std::nullopt, S::kPcm24).refusal, "");
  silent.peak = 1e-6;
  silent.loudness_lufs = -INFINITY;
  EXPECT_NE(choose_gain(silent, N::kLoudness, std::nullopt, S::kPcm24).refusal, "");
}

TEST(Quantiser, Rounds24BitAndDithers16BitWithTpdf) {
  Quantiser q24(SampleFormat::kPcm24);
  const std::vector<float> in = {0.0f, 0.5f, -0.5f, 1.0f / 8388608.0f, -1.0f, 0.99999994f};
  std::vector<std::int32_t> out(in.size());
  q24.codes(in, 1.0, out);
  const std::int32_t want[] = {0, 4194304 << 8, -4194304 * 256, 1 << 8, INT32_MIN, 8388607 << 8};
  for (std::size_t i = 0; i < in.size(); ++i) EXPECT_EQ(out[i], want[i]) << i;

  // TPDF dither: the error of each 16-bit code is within 1.5 steps, with a
  // mean of 0 and a variance of 1/4 step squared (1/6 from the dither, 1/12
  // from the rounding).
  const std::vector<float> x = test::noise(200000, 7, 0.9);
  std::vector<std::int32_t> codes(x.size());
  Quantiser q16(SampleFormat::kPcm16);
  q16.codes(x, 0.5, codes);
  double sum = 0, squares = 0, worst = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    const double e = codes[i] / 65536.0 - 0.5 * x[i] * 32768.0;
    sum += e;
    squares += e * e;
    worst = std::max(worst, std::fabs(e));
  }
  EXPECT_LE(worst, 1.5);
  EXPECT_NEAR(sum / x.size(), 0.0, 0.01);
  EXPECT_NEAR(squares / x.size(), 0.25, 0.01);
  // The same sequence every time: the same bytes from any writer.
  std::vector<std::int32_t> again(x.size());
  Quantiser(SampleFormat::kPcm16).codes(x, 0.5, again);
  EXPECT_EQ(codes, again);
}

TEST(SoundWriter, WritesEachFormatThatReadsBackAsTheFramesTimesTheGain) {
  formats::TestTempDir dir;
  const std::vector<float> left = test::noise(5000, 1, 0.4), right = test::noise(5000, 2, 0.4);
  const std::vector<float> frames = test::interleave({left, right});
  const struct {
    const char* name;
    SampleFormat samples;
    double tolerance;  // of a sample read back
    const char* format;
  } cases[] = {
      {"a.wav", SampleFormat::kPcm16, 1.6 / 32768, "WAVE (16-bit PCM)"},
      {"b.wav", SampleFormat::kPcm24, 0.6 / 8388608, "WAVE (24-bit PCM)"},
      {"c.wav", SampleFormat::kFloat, 0.0, "WAVE (32-bit float)"},
      {"d.flac", SampleFormat::kPcm16, 1.6 / 32768, "FLAC (16-bit PCM)"},
      {"e.FLAC", SampleFormat::kPcm24, 0.6 / 8388608, "FLAC (24-bit PCM)"},
  };
  for (const auto& c : cases) {
    const FormatChoice f = choose_format(c.name, c.samples);
    ASSERT_EQ(f.problem, "");
    const std::string path = (dir / c.name).string();
    for (int twice = 0; twice < 2; ++twice) {
      MemoryFrames source(2, 44100, frames);
      bool written = false;
      const Problem p = write_sound(source, 2.0, f.format, path, {}, &written);
      ASSERT_FALSE(p) << p.message;
      EXPECT_TRUE(written);
    }
    const analysis::ReadResult read = analysis::read_response_file(path);
    ASSERT_TRUE(read.file) << read.message;
    EXPECT_EQ(read.file->format, c.format);
    EXPECT_EQ(read.file->sample_rate_hz, 44100);
    ASSERT_EQ(read.file->channels.size(), 2u);
    for (std::size_t i = 0; i < left.size(); ++i) {
      ASSERT_NEAR(read.file->channels[0][i], 2.0 * left[i], c.tolerance) << c.name << " " << i;
      ASSERT_NEAR(read.file->channels[1][i], 2.0 * right[i], c.tolerance) << c.name << " " << i;
    }
  }
  // Written twice, the same bytes; and nothing but the outputs left.
  EXPECT_EQ(dir.entries().size(), std::size(cases));
  MemoryFrames once(2, 44100, frames), twice(2, 44100, frames);
  ASSERT_FALSE(
      write_sound(once, 1.0, {Container::kWave, SampleFormat::kPcm16}, (dir / "1.wav").string()));
  ASSERT_FALSE(
      write_sound(twice, 1.0, {Container::kWave, SampleFormat::kPcm16}, (dir / "2.wav").string()));
  EXPECT_EQ(formats::read_bytes(dir / "1.wav"), formats::read_bytes(dir / "2.wav"));
}

TEST(SoundWriter, LeavesAnExistingOutputAsItWasWhenItFails) {
  formats::TestTempDir dir;
  const auto out = dir / "out.wav";
  formats::write_bytes(out, {1, 2, 3});
  // A source that fails half way.
  class Failing : public MemoryFrames {
   public:
    Failing() : MemoryFrames(1, 44100, std::vector<float>(100000, 0.1f)) {}
    std::size_t read(std::span<float> o) override {
      if (++reads_ == 3) {
        failure_ = "scratch: cannot be read back";
        return 0;
      }
      return MemoryFrames::read(o);
    }
    const std::string& error() const override { return failure_; }

   private:
    int reads_ = 0;
    std::string failure_;
  } failing;
  const Problem p = write_sound(failing, 1.0, {}, out.string());
  EXPECT_EQ(p.status, 1);
  EXPECT_EQ(p.message, "scratch: cannot be read back");
  EXPECT_EQ(formats::read_bytes(out), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.wav"});
  MemoryFrames fine(1, 44100, {0.1f});
  EXPECT_EQ(write_sound(fine, 1.0, {}, (dir / "missing" / "x.wav").string()).status, 1);
}

TEST(OutputFormat, FollowsTheExtension) {
  EXPECT_EQ(choose_format("x.Wav", SampleFormat::kFloat).format.container, Container::kWave);
  EXPECT_EQ(choose_format("x.flac", SampleFormat::kPcm16).format.container, Container::kFlac);
  EXPECT_EQ(choose_format("x.flac", SampleFormat::kFloat).problem,
            "FLAC holds no float samples (--bits 16 or 24)");
  EXPECT_EQ(choose_format("x.aiff", SampleFormat::kPcm24).problem,
            "the output's name ends neither in .wav nor in .flac");
}

}  // namespace
}  // namespace listen
