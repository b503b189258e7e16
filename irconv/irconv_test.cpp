#include "irconv/irconv.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "analysis/read/audio_codec.h"
#include "analysis/read/read_response.h"
#include "analysis/testing/synthetic.h"
#include "console/fake_terminal.h"
#include "formats/test_program.h"
#include "formats/test_temp_dir.h"
#include "listen/files/export.h"
#include "listen/response/prepare.h"
#include "listen/files/sound_reader.h"
#include "listen/test_signals.h"

namespace irconv {
namespace {

namespace fs = std::filesystem;
using analysis::AudioContainer;
using analysis::AudioEncoding;

struct Outcome {
  int status;
  std::string out, err;
};

Outcome run_irconv(const std::vector<std::string>& args, const Environment& env = {}) {
  console::FakeTerminal terminal;
  std::vector<std::string> words = {"irconv"};
  words.insert(words.end(), args.begin(), args.end());
  const int status = run(words, terminal, env);
  return {status, terminal.out(), terminal.err()};
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Inputs in a temporary folder: dry signals, responses (audio files and a
// .TIM pair), a filter file, and an existing output whose bytes must stay
// whenever a run fails.
class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    audio("dry.wav", {listen::test::noise(20000, 1, 0.3)}, 44100);
    audio("dry2.wav", {listen::test::noise(15000, 2, 0.3), listen::test::noise(15000, 3, 0.3)},
          44100);
    audio("dry48.wav", {listen::test::noise(20000, 4, 0.3)}, 48000);
    audio("dry3.wav", std::vector<std::vector<float>>(3, listen::test::noise(1000, 5)), 44100);
    audio("empty.wav", {{}}, 44100);
    left = listen::test::decaying(3000, 44100, 0.05, 6);
    right = listen::test::decaying(3000, 44100, 0.07, 7);
    audio("room.wav", {left, right}, 44100, AudioEncoding::kFloat32);
    audio("room3.wav", {left, left, left}, 44100, AudioEncoding::kFloat32);
    std::vector<float> bad = left;
    bad[100] = INFINITY;
    audio("nan.wav", {bad}, 44100, AudioEncoding::kFloat32);
    formats::write_bytes(dir / "l.tim", analysis::testing::tim_file_bytes(left, 44100, 4096));
    formats::write_bytes(dir / "r.tim", analysis::testing::tim_file_bytes(right, 44100, 4096));
    std::ofstream(dir / "flat.dat") << " 31.5 0\r\n 63 0\r\n 125 0\r\n 250 0\r\n 500 0\r\n"
                                       " 1000 0\r\n 2000 0\r\n 4000 0\r\n 8000 0\r\n 16000 0\r\n";
    std::ofstream(dir / "bad.dat") << " 31.5 0\r\n 63 x\r\n";
    fs::create_directory(dir / "folder");
    fs::create_directory(dir / "folder.wav");
    formats::write_bytes(dir / "old.wav", kOld);
  }
  void audio(const std::string& name, const std::vector<std::vector<float>>& channels, int rate,
             AudioEncoding encoding = AudioEncoding::kPcm24) {
    formats::write_bytes(dir / name,
                         analysis::encode_audio(channels, rate, AudioContainer::kWave, encoding));
  }
  std::string at(const std::string& name) const { return (dir / name).string(); }
  analysis::ResponseFile read(const std::string& name) const {
    analysis::ReadResult r = analysis::read_response_file(at(name));
    EXPECT_TRUE(r.file) << r.message;
    return r.file ? *r.file : analysis::ResponseFile{};
  }

  const std::vector<std::uint8_t> kOld = {'o', 'l', 'd'};
  formats::TestTempDir dir;
  std::vector<float> left, right;
};

TEST(IrconvCommandLine, HelpVersionAndWordsItCannotFollow) {
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out, err;
  } cases[] = {
      {{"--help"},
       0,
       "usage: irconv [OPTIONS] -o OUT DRY RESPONSE [RESPONSE_RIGHT]\n\nConvolves",
       ""},
      {{"--version"}, 0, "irconv 1.0.0\n", ""},
      {{}, 2, "", "irconv: no output named (-o OUT)\nusage: irconv"},
      {{"-o", "x.wav"}, 2, "", "irconv: no dry signal and no response named\n"},
      {{"-o", "x.wav", "d.wav"}, 2, "", "irconv: no response named\n"},
      {{"-o", "x.wav", "a", "b", "c", "d"}, 2, "", "irconv: more than two responses named\n"},
      {{"--normalize", "rms", "-o", "x.wav", "a", "b"},
       2,
       "",
       "irconv: --normalize takes peak, loudness or none, not rms\n"},
      {{"--level", "-3dB", "-o", "x.wav", "a", "b"},
       2,
       "",
       "irconv: --level takes a number of dB, not -3dB\n"},
      {{"--bits", "32", "-o", "x.wav", "a", "b"},
       2,
       "",
       "irconv: --bits takes 16, 24 or float, not 32\n"},
      {{"--normalize=none", "--level=-3", "-o", "x.wav", "a", "b"},
       2,
       "",
       "irconv: --level has no meaning with --normalize none\n"},
      {{"-o", "x.wav", "a", "b", "--bogus"}, 2, "", "irconv: unknown option --bogus\n"},
      {{"a", "b", "-o"}, 2, "", "irconv: -o needs a value\n"},
  };
  for (const auto& c : cases) {
    const Outcome r = run_irconv(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.out.rfind(c.out, 0), 0u) << r.out;
    EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << r.err;
  }
}

TEST_F(Files, RefusesBadInputsWithItsStatusAndLeavesTheOutputAsItWas) {
  const std::string out = at("old.wav");
  const struct {
    const char* what;
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {"a missing dry",
       {at("none.wav"), at("room.wav")},
       1,
       at("none.wav") + ": cannot be opened (No such file or directory)"},
      {"a missing response",
       {at("dry.wav"), at("none.wav")},
       1,
       at("none.wav") + ": cannot be opened (No such file or directory)"},
      {"a folder as the dry",
       {at("folder"), at("room.wav")},
       1,
       at("folder") + ": cannot be opened: it is a folder"},
      {"a folder as the output",
       {at("dry.wav"), at("room.wav")},
       1,
       at("folder.wav") + ": cannot be written: it is a folder"},
      {"a dry that is no audio file",
       {at("bad.dat"), at("room.wav")},
       2,
       at("bad.dat") + ": not an audio file of a known format"},
      {"a 3-channel dry",
       {at("dry3.wav"), at("room.wav")},
       2,
       at("dry3.wav") + ": a 3-channel dry signal (1 or 2 channels are taken)"},
      {"a 3-channel response",
       {at("dry.wav"), at("room3.wav")},
       2,
       at("room3.wav") + ": a 3-channel response (1 or 2 channels are taken)"},
      {"a stereo file as one of two responses",
       {at("dry.wav"), at("room.wav"), at("r.tim")},
       2,
       at("room.wav") + ": a 2-channel response, where each of two responses must be mono"},
      {"an infinite sample in the response",
       {at("dry.wav"), at("nan.wav")},
       2,
       at("nan.wav") + ": sample 101 of channel 1 is not a finite number"},
      {"an empty dry",
       {at("empty.wav"), at("room.wav")},
       2,
       at("empty.wav") + ": the dry signal holds no frames"},
      {"the output names the dry",
       {at("old.wav"), at("room.wav")},
       2,
       out + ": the output would replace the input " + at("old.wav")},
      {"the output names a response by another spelling",
       {at("dry.wav"), (dir.path() / "folder" / ".." / "old.wav").string()},
       2,
       out + ": the output would replace the input " +
           (dir.path() / "folder" / ".." / "old.wav").string()},
      {"a filter file that is none",
       {"--filter", at("bad.dat"), at("dry.wav"), at("room.wav")},
       2,
       at("bad.dat") + ": not a filter file: item 2 of line 2 (\"x\") is not a number"},
      {"a missing filter file",
       {"--filter", at("none.dat"), at("dry.wav"), at("room.wav")},
       1,
       at("none.dat") + ": cannot be opened (No such file or directory)"},
      {"float samples in FLAC", {"--bits", "float", at("dry.wav"), at("room.wav")}, 2, ""},
      {"clipping kept at the response's scale",
       {"--normalize", "none", at("dry.wav"), at("room.wav")},
       2,
       out + ": the output would clip: its peak would be "},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"-o", c.err.empty() ? at("old.flac") : out};
    if (std::string(c.what) == "a folder as the output") args[1] = at("folder.wav");
    args.insert(args.end(), c.args.begin(), c.args.end());
    if (c.err.empty()) formats::write_bytes(dir / "old.flac", kOld);
    const Outcome r = run_irconv(args);
    EXPECT_EQ(r.status, c.status) << c.what << ": " << r.err;
    EXPECT_EQ(r.err.rfind("irconv: " + c.err, 0), 0u) << c.what << ": " << r.err;
    EXPECT_EQ(r.out, "") << c.what;
    EXPECT_EQ(formats::read_bytes(c.err.empty() ? dir / "old.flac" : dir / "old.wav"), kOld)
        << c.what;
    for (const std::string& name : dir.entries())
      EXPECT_FALSE(name.starts_with(".irtmp")) << c.what;
  }
}

TEST_F(Files, WritesTheWholeTailWithTheResponsesChannelsAndPrintsTheGain) {
  const struct {
    const char* what;
    std::vector<std::string> args;
    std::size_t frames, channels;
  } cases[] = {
      {"mono dry, stereo response", {at("dry.wav"), at("room.wav")}, 20000 + 3000 - 1, 2},
      {"stereo dry, stereo response", {at("dry2.wav"), at("room.wav")}, 15000 + 3000 - 1, 2},
      {"a .TIM pair, padded to 4096 points",
       {at("dry.wav"), at("l.tim"), at("r.tim")},
       20000 + 4096 - 1,
       2},
      {"stereo dry, mono .TIM", {at("dry2.wav"), at("l.tim")}, 15000 + 4096 - 1, 2},
      {"a flat filter file",
       {"--filter", at("flat.dat"), at("dry.wav"), at("room.wav")},
       20000 + 3000 - 1,
       2},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"-o", at("out.wav")};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Outcome r = run_irconv(args);
    ASSERT_EQ(r.status, 0) << c.what << ": " << r.err;
    EXPECT_EQ(r.err, "") << c.what;
    EXPECT_TRUE(contains(r.out, at("out.wav") + ": " + std::to_string(c.frames) + " frames"))
        << r.out;
    EXPECT_TRUE(contains(r.out, "\ngain ")) << r.out;
    EXPECT_TRUE(contains(r.out, " dB: peak -1.00 dBFS\n")) << r.out;
    const analysis::ResponseFile f = read("out.wav");
    EXPECT_EQ(f.points(), c.frames) << c.what;
    EXPECT_EQ(f.channels.size(), c.channels) << c.what;
    EXPECT_EQ(f.format, "WAVE (24-bit PCM)");
  }
}

TEST_F(Files, NoneKeepsTheResponsesScaleAndLoudnessMeetsItsLevel) {
  // Half the response's scale fits: --normalize none gives the convolution
  // itself, as a float WAVE of the same numbers.
  const Outcome r = run_irconv({"--normalize", "none", "--bits", "float", "-o", at("none.wav"),
                                at("dry.wav"), at("room.wav")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(contains(r.out, "\ngain 0.00 dB: peak ")) << r.out;
  const analysis::ResponseFile dry = read("dry.wav");
  const analysis::ResponseFile f = read("none.wav");
  const auto want = listen::test::direct_convolution(dry.channels, {left, right}, {{0, 0}, {0, 1}});
  std::vector<float> got = listen::test::interleave(f.channels);
  EXPECT_LE(listen::test::error_db(got, want), -110.0);

  const Outcome loud = run_irconv({"--normalize", "loudness", "--level", "-30", "--bits", "16",
                                   "-o", at("loud.flac"), at("dry.wav"), at("room.wav")});
  ASSERT_EQ(loud.status, 0) << loud.err;
  EXPECT_TRUE(contains(loud.out, ", loudness -30.00 LUFS\n")) << loud.out;
  EXPECT_EQ(read("loud.flac").format, "FLAC (16-bit PCM)");
}

TEST_F(Files, SaysWhenItResamplesTheResponse) {
  const Outcome r = run_irconv({"-o", at("out.wav"), at("dry48.wav"), at("room.wav")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "irconv: " + at("room.wav") +
                       ": resampled from 44100 Hz to the dry signal's 48000 Hz\n");
  const analysis::ResponseFile f = read("out.wav");
  EXPECT_EQ(f.sample_rate_hz, 48000);
  EXPECT_EQ(f.points(), 20000u + 3265 - 1);  // 3000 points at 48 / 44.1 kHz
}

TEST_F(Files, ProgressBarOnlyOnATerminalAndAfterASecond) {
  const std::vector<std::string> args = {"-o", at("out.wav"), at("dry.wav"), at("room.wav")};
  double now = 0.0;
  Environment slow{true, [&] { return now += 0.4; }};  // every look at the clock: 0.4 s later
  const Outcome shown = run_irconv(args, slow);
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_TRUE(contains(shown.err, "\rirconv: [")) << shown.err;
  EXPECT_TRUE(shown.err.ends_with("\r")) << "the bar is wiped at the end";
  Environment fast{true, [] { return 0.0; }};
  EXPECT_EQ(run_irconv(args, fast).err, "");
  Environment piped{false, [&] { return now += 10.0; }};
  EXPECT_EQ(run_irconv(args, piped).err, "");
}

// What the viewer does to export: the auralisation computed into memory,
// then exported from there. The bytes are irconv's.
TEST_F(Files, AnExportFromMemoryWritesTheBytesIrconvWrites) {
  for (const char* name : {"irconv.wav", "irconv.flac"}) {
    const Outcome r =
        run_irconv({"--bits", "16", "--normalize", "loudness", "--filter", at("flat.dat"), "-o",
                    at(name), at("dry48.wav"), at("l.tim"), at("r.tim")});
    ASSERT_EQ(r.status, 0) << r.err;

    listen::Problem problem;
    const auto dry = listen::SoundReader::open(at("dry48.wav"), problem);
    ASSERT_TRUE(dry) << problem.message;
    const analysis::ResponseFile l = read("l.tim"), rr = read("r.tim");
    listen::BandGains flat{};
    const listen::Prepared p = listen::prepare_response({{&l, "l"}, {&rr, "r"}}, 48000, flat);
    ASSERT_FALSE(p.problem);
    listen::MemoryFrames computed(2, 48000);
    listen::Control control;
    control.measure_loudness = true;
    const listen::Auralised a = listen::auralise(*dry, p.response, computed, control);
    ASSERT_FALSE(a.problem) << a.problem.message;
    const std::string exported = std::string("export-") + name;
    const listen::Exported e = listen::export_auralisation(
        computed, a.measured,
        {listen::Normalize::kLoudness, std::nullopt,
         listen::choose_format(name, listen::SampleFormat::kPcm16).format},
        at(exported));
    ASSERT_FALSE(e.problem) << e.problem.message;
    EXPECT_TRUE(e.written);
    EXPECT_EQ(formats::read_bytes(dir / exported), formats::read_bytes(dir / name)) << name;
  }
}

// The built program, once: its exit status, its streams, no progress bar
// into a file.
TEST_F(Files, ProgramRunsFromTheCommandLine) {
  const std::string command =
      formats::test::shell_quoted(IRCONV_PROGRAM) + " -o " +
      formats::test::shell_quoted(at("out.flac")) + " " +
      formats::test::shell_quoted(at("dry.wav")) + " " + formats::test::shell_quoted(at("l.tim")) +
      " " + formats::test::shell_quoted(at("r.tim")) + " >" + at("stdout") + " 2>" + at("stderr");
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  const auto text = [&](const char* name) {
    std::ifstream in(dir / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  };
  EXPECT_TRUE(text("stdout").starts_with(
      at("out.flac") + ": 24095 frames (0.55 s), 2 channels, 44100 Hz, 24-bit FLAC\n"))
      << text("stdout");
  EXPECT_EQ(text("stderr"), "");
  EXPECT_EQ(read("out.flac").points(), 24095u);
  const std::string refused = formats::test::shell_quoted(IRCONV_PROGRAM) + " -o " +
                              formats::test::shell_quoted(at("dry.wav")) + " " +
                              formats::test::shell_quoted(at("dry.wav")) + " " +
                              formats::test::shell_quoted(at("room.wav")) + " 2>/dev/null";
  const int refusal = std::system(refused.c_str());
  ASSERT_TRUE(WIFEXITED(refusal));
  EXPECT_EQ(WEXITSTATUS(refusal), 2);
}

}  // namespace
}  // namespace irconv
