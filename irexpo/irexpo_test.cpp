#include "irexpo/irexpo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "console/fake_terminal.h"
#include "irexpo/test_files.h"

namespace irexpo {
namespace {

using formats::read_bytes;
using formats::write_bytes;

const float k48k = 1.0f / 48.0f;  // the float nearest 1/48 ms
const std::string kBannerBytes =
    "\r\n\f\r \r*** Irexpo - Converts 1 or 2 .TIM Impulse Responses into a .WAV file ***"
    "\r\n"
    "\r\n    Acoustic IR tools - free software, provided without any warranty"
    "\r\n";

std::string pad40(const std::string& s) { return s + std::string(40 - s.size(), ' '); }

class IrexpoRun : public ::testing::Test {
 protected:
  // Runs irexpo with the words after the program name and the answers.
  int run_with(std::vector<std::string> args, std::vector<std::string> answers = {}) {
    args.insert(args.begin(), "irexpo");
    terminal_ = console::FakeTerminal(std::move(answers));
    return run(args, terminal_);
  }
  const std::string& out() const { return terminal_.out(); }
  const std::string& err() const { return terminal_.err(); }

  formats::TestTempDir dir_;
  InFolder in_folder_{dir_.path()};
  console::FakeTerminal terminal_;
};

TEST_F(IrexpoRun, MonoRunTranscriptByteForByte) {
  std::vector<float> samples(4096, 0.125f);
  samples[100] = -0.5f;
  write_tim("left.tim", samples, k48k);
  ASSERT_EQ(run_with({"out.wav", "left.tim"}), 0) << err();
  EXPECT_EQ(out(), kBannerBytes +
                       "\r\nFile Name of the .TIM LEFT   file = " + pad40("left.tim") +
                       "\r\nFile Name of the .WAV output file = " + pad40("out.wav") +
                       "\r\nNumber of Impulse Response points =     4096"
                       "\r\nReading   4096 pts from " + pad40("left.tim") +
                       "\r\nConverting Floats to Int & Scaling to Xmax=       .50"
                       "\r\nFsampling =   48000 Hz"
                       "\r\n"
                       "\r\nSaving data to output file (s)..."
                       "\r\n");
  EXPECT_EQ(err(), "");
  const WaveContents w = read_wave("out.wav");
  ASSERT_TRUE(w.ok);
  EXPECT_EQ(w.channels, 1);
  EXPECT_EQ(w.rate, 48000);
  EXPECT_EQ(w.byte_rate, 96000);
  EXPECT_EQ(w.block_align, 2);
  ASSERT_EQ(w.samples.size(), 4096u);  // one full run, then an empty one
  EXPECT_EQ(w.file_size, 44u + 2 * 4096);
  EXPECT_EQ(w.samples[0], 8192);
  EXPECT_EQ(w.samples[100], -32767);
  EXPECT_EQ(w.samples[4095], 8192);
}

TEST_F(IrexpoRun, WorkedExampleScalesByThePeak) {
  write_tim("left.tim", {0.5f, -1.0f, 0.25f}, 1000.0f / 44100.0f);
  ASSERT_EQ(run_with({"out.wav", "left.tim"}), 0) << err();
  const WaveContents w = read_wave("out.wav");
  EXPECT_EQ(w.samples, (std::vector<std::int16_t>{16384, -32767, 8192}));
  EXPECT_EQ(w.rate, 44100);
  EXPECT_EQ(w.file_size, 50u);

  write_tim("slow.tim", {1.0f}, 1000.0f / 22050.0f);
  ASSERT_EQ(run_with({"slow.wav", "slow.tim"}), 0) << err();
  EXPECT_EQ(read_wave("slow.wav").rate, 22050);
}

TEST_F(IrexpoRun, StereoTakesLengthAndRateFromTheRightFile) {
  // Left longer than right: the left channel is cut, but its dropped sample
  // still set the peak.
  write_tim("long.tim", {0.5f, 0.25f, 0.0f, 2.0f}, 1000.0f / 44100.0f);
  write_tim("short.tim", {-1.0f, 1.0f}, k48k);
  ASSERT_EQ(run_with({"cut.wav", "long.tim", "short.tim"}), 0) << err();
  EXPECT_NE(out().find("\r\nFile Name of the .TIM RIGHT  file = " + pad40("short.tim")),
            std::string::npos);
  EXPECT_EQ(out().find("Number of Impulse Response points =        2"), std::string::npos);
  EXPECT_NE(out().find("Reading      2 pts from " + pad40("short.tim")), std::string::npos);
  WaveContents w = read_wave("cut.wav");
  EXPECT_EQ(w.channels, 2);
  EXPECT_EQ(w.block_align, 4);
  EXPECT_EQ(w.rate, 48000);
  EXPECT_EQ(w.byte_rate, 192000);
  EXPECT_EQ(w.samples, (std::vector<std::int16_t>{8192, -16384, 4096, 16384}));

  // Right longer than left: the left channel ends in zeros.
  ASSERT_EQ(run_with({"pad.wav", "short.tim", "long.tim"}), 0) << err();
  w = read_wave("pad.wav");
  EXPECT_EQ(w.rate, 44100);
  EXPECT_EQ(w.samples, (std::vector<std::int16_t>{-16384, 8192, 16384, 4096, 0, 0, 0, 32767}));
}

TEST_F(IrexpoRun, NoPointsGiveTheBareHeader) {
  write_tim("empty.tim", {}, k48k);
  ASSERT_EQ(run_with({"out.wav", "empty.tim", "empty.tim"}), 0) << err();
  EXPECT_NE(out().find("Number of Impulse Response points =        0"), std::string::npos);
  EXPECT_NE(out().find("Reading      0 pts from"), std::string::npos);
  EXPECT_NE(out().find("Xmax=       .00"), std::string::npos);
  const auto bytes = read_bytes("out.wav");
  ASSERT_EQ(bytes.size(), 44u);
  EXPECT_EQ(formats::load_u32le(&bytes[4]), 36u);
  EXPECT_EQ(formats::load_u32le(&bytes[40]), 0u);
}

TEST_F(IrexpoRun, SilenceIsWrittenWithoutDividingByZero) {
  write_tim("zero.tim", std::vector<float>(5000, 0.0f), k48k);
  ASSERT_EQ(run_with({"out.wav", "zero.tim"}), 0) << err();
  const WaveContents w = read_wave("out.wav");
  EXPECT_EQ(w.samples, std::vector<std::int16_t>(5000, 0));
}

TEST_F(IrexpoRun, RightNamesBeginningWithNoneMeanMono) {
  write_tim("left.tim", {0.5f, 1.0f}, k48k);
  for (const char* none : {"NONE", "NONE.TIM", "NONESUCH"}) {
    ASSERT_EQ(run_with({"out.wav", "left.tim", none}), 0) << none << err();
    EXPECT_NE(out().find("RIGHT  file = " + pad40(none)), std::string::npos) << none;
    const WaveContents w = read_wave("out.wav");
    EXPECT_EQ(w.channels, 1) << none;
    EXPECT_EQ(w.samples, (std::vector<std::int16_t>{16384, 32767})) << none;
  }
  // Lower case is a file name like any other.
  EXPECT_EQ(run_with({"lower.wav", "left.tim", "none.tim"}), 1);
  EXPECT_NE(err().find("OPEN(none.tim)"), std::string::npos) << err();
  EXPECT_FALSE(std::filesystem::exists("lower.wav"));
}

TEST_F(IrexpoRun, FourWordsMakeAMonoFileOfTheFirstTwo) {
  write_tim("left.tim", {0.5f, 1.0f}, k48k);
  ASSERT_EQ(run_with({"out.wav", "left.tim", "missing.tim", "more"}), 0) << err();
  EXPECT_EQ(out().find("RIGHT"), std::string::npos);
  EXPECT_EQ(read_wave("out.wav").channels, 1);
}

TEST_F(IrexpoRun, LongNamesAreCutTo40Characters) {
  const std::string name40 = std::string(36, 'n') + ".tim";
  write_tim(name40, {1.0f}, k48k);
  ASSERT_EQ(run_with({"out.wav", name40 + "_and_more"}), 0) << err();
  EXPECT_EQ(read_wave("out.wav").samples, std::vector<std::int16_t>{32767});
}

TEST_F(IrexpoRun, InteractiveRunAsksForTheThreeNames) {
  write_tim("left.tim", {0.5f, 1.0f}, k48k);
  ASSERT_EQ(run_with({}, {"left.tim", "NONE", "out.wav"}), 0) << err();
  EXPECT_EQ(out(), kBannerBytes +
                       "\r\nName of the .TIM LEFT (or MONO) file = "
                       "Name of the .TIM RIGHT          file = "
                       "Name of the .WAV output         file = "
                       "Number of Impulse Response points =        2"
                       "\r\nReading      2 pts from " + pad40("left.tim") +
                       "\r\nConverting Floats to Int & Scaling to Xmax=      1.00"
                       "\r\nFsampling =   48000 Hz"
                       "\r\n\r\nSaving data to output file (s)..."
                       "\r\n");
  EXPECT_EQ(read_wave("out.wav").channels, 1);
}

TEST_F(IrexpoRun, EmptyRightAnswerGoesThroughTheBlankNameRule) {
  write_tim("left.tim", {0.5f}, k48k);
  write_tim("right.tim", {-1.0f}, k48k);
  ASSERT_EQ(run_with({}, {"left.tim", "", "out.wav", "  right.tim "}), 0) << err();
  EXPECT_NE(out().find("\r\nFile name missing or blank - please enter file name\r\nUNIT 4? "),
            std::string::npos)
      << out();
  const WaveContents w = read_wave("out.wav");
  EXPECT_EQ(w.channels, 2);
  EXPECT_EQ(w.samples, (std::vector<std::int16_t>{16384, -32767}));
}

TEST_F(IrexpoRun, BlankNameRuleTakesTheSingleWordFirst) {
  write_tim("given.tim", {1.0f}, k48k);
  ASSERT_EQ(run_with({"given.tim"}, {"", "NONE", "out.wav"}), 0) << err();
  EXPECT_EQ(read_wave("out.wav").samples, std::vector<std::int16_t>{32767});
}

TEST_F(IrexpoRun, OutputNeverReplacesAnInput) {
  write_tim("left.tim", {1.0f}, k48k);
  const auto before = read_bytes("left.tim");
  EXPECT_EQ(run_with({"left.tim", "left.tim"}), 2);
  EXPECT_NE(out().find("\r\nERROR - The .WAV output file would overwrite a .TIM input file!"
                       "\r\nStop - Program terminated.\r\n"),
            std::string::npos)
      << out();
  EXPECT_EQ(read_bytes("left.tim"), before);
  // Also when the name comes from the blank-name rule.
  EXPECT_EQ(run_with({"left.tim"}, {"left.tim", "NONE", ""}), 2);
  EXPECT_EQ(read_bytes("left.tim"), before);
}

struct Refusal {
  const char* what;
  std::vector<float> samples;
  float interval;
  std::optional<std::int32_t> point_count;
  const char* message;
};

TEST_F(IrexpoRun, RefusesInputsWithoutADefinedResult) {
  const float inf = std::numeric_limits<float>::infinity();
  const std::vector<Refusal> cases = {
      {"negative N", {1.0f}, k48k, -1, "The point count of bad.tim is negative!"},
      {"N above storage", {1.0f}, k48k, 65537, "The point count of bad.tim is above 65536!"},
      {"zero interval", {1.0f}, 0.0f, std::nullopt, "The sample interval of bad.tim is not a positive number!"},
      {"negative interval", {1.0f}, -0.02f, std::nullopt,
       "The sample interval of bad.tim is not a positive number!"},
      {"NaN interval", {1.0f}, std::nanf(""), std::nullopt,
       "The sample interval of bad.tim is not a positive number!"},
      {"tiny interval", {1.0f}, 1e-9f, std::nullopt, "The sample interval of bad.tim is too small for a WAVE file!"},
      {"huge interval", {1.0f}, 5000.0f, std::nullopt,
       "The sample interval of bad.tim is too large for a WAVE file!"},
      {"NaN sample", {1.0f, std::nanf("")}, k48k, std::nullopt,
       "bad.tim holds a sample that is not a finite number!"},
      {"infinite sample", {-inf}, k48k, std::nullopt, "bad.tim holds a sample that is not a finite number!"},
  };
  write_bytes("out.wav", {1, 2, 3});
  for (const Refusal& c : cases) {
    write_tim("bad.tim", c.samples, c.interval, c.point_count);
    EXPECT_EQ(run_with({"out.wav", "bad.tim"}), 2) << c.what;
    EXPECT_NE(out().find(std::string("\r\nERROR - ") + c.message +
                         "\r\nStop - Program terminated.\r\n"),
              std::string::npos)
        << c.what << ": " << out();
    EXPECT_EQ(read_bytes("out.wav"), (std::vector<std::uint8_t>{1, 2, 3})) << c.what;
  }
  EXPECT_EQ(dir_.entries().size(), 2u);
}

TEST_F(IrexpoRun, RefusalNamesTheRightFileWhoseIntervalIsUsed) {
  write_tim("left.tim", {1.0f}, 0.0f);
  write_tim("right.tim", {1.0f}, k48k);
  EXPECT_EQ(run_with({"out.wav", "left.tim", "right.tim"}), 0) << out();
  EXPECT_EQ(run_with({"out.wav", "right.tim", "left.tim"}), 2);
  EXPECT_NE(out().find("interval of left.tim"), std::string::npos);
}

TEST_F(IrexpoRun, FailedOpensAndReadsAreErrorStops) {
  write_bytes("out.wav", {4, 5});
  EXPECT_EQ(run_with({"out.wav", "missing.tim"}), 1);
  EXPECT_EQ(err(), "\r\nrun-time error F6101: OPEN(missing.tim)\r\n- file not found\r\n");

  write_bytes("head.tim", std::vector<std::uint8_t>(13, 0));
  EXPECT_EQ(run_with({"out.wav", "head.tim"}), 1);
  EXPECT_NE(err().find("READ(head.tim)"), std::string::npos) << err();

  write_tim("short.tim", std::vector<float>(10, 0.5f), k48k, 11);
  std::vector<std::uint8_t> cut = read_bytes("short.tim");
  cut.resize(14 + 40);
  write_bytes("short.tim", cut);
  write_tim("left.tim", {1.0f}, k48k);
  EXPECT_EQ(run_with({"out.wav", "left.tim", "short.tim"}), 1);
  EXPECT_NE(err().find("READ(short.tim)"), std::string::npos) << err();
  EXPECT_EQ(read_bytes("out.wav"), (std::vector<std::uint8_t>{4, 5}));

  EXPECT_EQ(run_with({"no_folder/out.wav", "left.tim"}), 1);
  EXPECT_NE(err().find("OPEN(no_folder/out.wav)"), std::string::npos) << err();
  EXPECT_EQ(dir_.entries().size(), 4u);  // out.wav and the three inputs only
}

TEST_F(IrexpoRun, PeakTooWideForItsFieldShowsAsterisks) {
  write_tim("loud.tim", {1.0e7f}, k48k);
  ASSERT_EQ(run_with({"out.wav", "loud.tim"}), 0);
  EXPECT_NE(out().find("Xmax=**********\r\n"), std::string::npos) << out();
  write_tim("loud.tim", {9999999.0f}, k48k);
  ASSERT_EQ(run_with({"out.wav", "loud.tim"}), 0);
  EXPECT_NE(out().find("Xmax=9999999.00\r\n"), std::string::npos) << out();
}

}  // namespace
}  // namespace irexpo
