// The built programs on files in a temporary folder, and what independent
// readers (sox, Python's wave module) make of irexpo's output. With
// IREXPO_UNDER_TEST, IRGEN_UNDER_TEST and CONVERTER_LAUNCHER
// (formats/test_program.h) the same tests run the Windows .exe files under
// Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "formats/wave_file.h"
#include "formats/test_program.h"
#include "irexpo/scaling.h"
#include "irexpo/test_files.h"

namespace irexpo {
namespace {

namespace fs = std::filesystem;
using formats::read_bytes;

using formats::test::launched;

// Shell words that start the programs under test.
std::string irexpo_command() {
  return formats::test::shell_program(
      formats::test::program_file("IREXPO_UNDER_TEST", IREXPO_PROGRAM));
}
std::string irgen_command() {
  return formats::test::shell_program(
      formats::test::program_file("IRGEN_UNDER_TEST", IRGEN_PROGRAM));
}

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class EndToEnd : public ::testing::Test {
 protected:
  // Runs a shell command line in the work folder; its output and status are
  // kept in a folder of their own so the work folder holds only data files.
  Result shell(const std::string& command) {
    const std::string line = "cd '" + work_.path().string() + "' && ( " + command + " )" +
                             " </dev/null >'" + (logs_ / "out").string() + "' 2>'" +
                             (logs_ / "err").string() + "'; echo $? >'" +
                             (logs_ / "status").string() + "'";
    return formats::test::run_through_launcher([&] {
      EXPECT_EQ(std::system(line.c_str()), 0) << line;
      Result r;
      r.status = std::stoi(slurp(logs_ / "status"));
      r.out = slurp(logs_ / "out");
      r.err = slurp(logs_ / "err");
      return r;
    });
  }
  fs::path at(const std::string& name) const { return work_ / name; }

  formats::TestTempDir work_;
  formats::TestTempDir logs_;
};

// Samples with a peak of 0.8 on the right channel.
std::vector<float> wave_shape(int n, float scale) {
  std::vector<float> v;
  for (int i = 0; i < n; ++i) v.push_back(scale * static_cast<float>((i * 37) % 201 - 100) / 100.0f);
  return v;
}

std::vector<std::int16_t> expected_frames(const std::vector<float>& left,
                                          const std::vector<float>& right,
                                          float peak) {
  std::vector<std::int16_t> frames;
  for (std::size_t i = 0; i < right.size(); ++i) {
    const float l = i < left.size() ? left[i] : 0.0f;
    frames.push_back(static_cast<std::int16_t>(round_half_away(l / static_cast<double>(peak) * 32767.0)));
    frames.push_back(static_cast<std::int16_t>(round_half_away(right[i] / static_cast<double>(peak) * 32767.0)));
  }
  return frames;
}

std::vector<std::int16_t> as_samples(const std::string& raw) {
  std::vector<std::int16_t> v;
  for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
    v.push_back(static_cast<std::int16_t>(static_cast<std::uint8_t>(raw[i]) |
                                          (static_cast<std::uint8_t>(raw[i + 1]) << 8)));
  }
  return v;
}

TEST_F(EndToEnd, ProgramPrintsTheDialogueAndExitsWithItsStatus) {
  write_tim(at("left.tim"), std::vector<float>(4096, 0.5f), 1.0f / 48.0f);
  const Result ok = shell(irexpo_command() + " out.wav left.tim");
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_NE(ok.out.find("\r\nFsampling =   48000 Hz\r\n\r\nSaving data to output file (s)...\r\n"),
            std::string::npos);
  EXPECT_EQ(ok.err, "");
  EXPECT_EQ(fs::file_size(at("out.wav")), 44u + 2 * 4096);

  const Result missing = shell(irexpo_command() + " x.wav nothing.tim");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "\r\nrun-time error F6101: OPEN(nothing.tim)\r\n- file not found\r\n");

  write_tim(at("bad.tim"), {1.0f}, 0.0f);
  const Result refused = shell(irexpo_command() + " y.wav bad.tim");
  EXPECT_EQ(refused.status, 2);
  EXPECT_FALSE(fs::exists(at("x.wav")));
  EXPECT_FALSE(fs::exists(at("y.wav")));
}

// Only the sole argument --help or --version is an option; every other
// command line holding them converts as always, and ./--version names a file.
TEST_F(EndToEnd, LoneHelpOrVersionIsAnsweredAndOtherwiseNamesAFile) {
  const std::string eol = launched() ? "\r\n" : "\n";
  const Result version = shell(irexpo_command() + " --version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("irexpo (sonabrix) ") + PROJECT_VERSION_TEXT + eol);
  EXPECT_EQ(version.err, "");
  const Result help = shell(irexpo_command() + " --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: irexpo OUT.WAV LEFT.TIM [RIGHT.TIM]" + eol)) << help.out;
  EXPECT_TRUE(help.out.ends_with("See irexpo(1)." + eol)) << help.out;
  EXPECT_EQ(help.err, "");
  EXPECT_TRUE(fs::is_empty(work_.path()));

  write_tim(at("--version"), std::vector<float>(100, 0.5f), 1.0f / 48.0f);
  // An output named --help.
  const Result named = shell(irexpo_command() + " --help ./--version");
  EXPECT_EQ(named.status, 0) << named.err;
  EXPECT_EQ(fs::file_size(at("--help")), 44u + 2 * 100);
  // Alone, as the name the blank-name rule takes for an empty answer.
  const Result lone = shell("printf '\\nNONE\\nlone.wav\\n' | " + irexpo_command() + " ./--version");
  EXPECT_EQ(lone.status, 0) << lone.err;
  EXPECT_EQ(read_bytes(at("lone.wav")), read_bytes(at("--help")));
}

TEST_F(EndToEnd, ClosedStandardOutputIsNotTakenByTheOutputFile) {
  const std::vector<float> left = wave_shape(3000, 0.5f);
  write_tim(at("L.tim"), left, 1000.0f / 44100.0f);
  const std::string irexpo = irexpo_command();
  ASSERT_EQ(shell(irexpo + " open.wav L.tim").status, 0);
  const Result r = shell(irexpo + " closed.wav L.tim >&-");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(read_bytes(at("closed.wav")), read_bytes(at("open.wav")));
}

TEST_F(EndToEnd, TimFilesCanBeReadFromPipes) {
  if (launched()) GTEST_SKIP() << "/dev/stdin (a pipe through /proc) has no Windows name";
  const std::vector<float> left = wave_shape(3000, 0.5f);
  const std::vector<float> right = wave_shape(5000, 0.8f);
  write_tim(at("L.tim"), left, 1000.0f / 44100.0f);
  write_tim(at("R.tim"), right, 1000.0f / 44100.0f);
  const std::string irexpo = irexpo_command();
  ASSERT_EQ(shell(irexpo + " file.wav L.tim R.tim").status, 0);
  const Result r = shell("cat R.tim | " + irexpo + " pipe.wav L.tim /dev/stdin");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(read_bytes(at("pipe.wav")), read_bytes(at("file.wav")));

  const Result cut = shell("head -c 1000 L.tim | " + irexpo + " cut.wav /dev/stdin");
  EXPECT_EQ(cut.status, 1);
  EXPECT_EQ(cut.err, "\r\nrun-time error F6201: READ(/dev/stdin)\r\n- end of file\r\n");
  EXPECT_FALSE(fs::exists(at("cut.wav")));
}

TEST_F(EndToEnd, FileSizeLimitIsAWriteErrorAndLeavesNothingBehind) {
  if (launched()) GTEST_SKIP() << "a file size limit (ulimit -f) kills Wine itself";
  write_tim(at("L.tim"), wave_shape(20000, 0.5f), 1000.0f / 44100.0f);
  formats::write_bytes(at("out.wav"), {1, 2, 3});
  const Result r = shell("ulimit -f 4; " + irexpo_command() + " out.wav L.tim");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "\r\nrun-time error F6301: WRITE(out.wav)\r\n- write error\r\n");
  EXPECT_EQ(read_bytes(at("out.wav")), (std::vector<std::uint8_t>{1, 2, 3}));
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(work_.path())) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"L.tim", "out.wav"}));
}

TEST_F(EndToEnd, OutputNameAsLongAsTheFolderAllows) {
  // Names this long come through the blank-name rule's unit 9 answer.
  write_tim(at("L.tim"), wave_shape(100, 0.5f), 1000.0f / 44100.0f);
  const std::string longest = std::string(251, 'n') + ".wav";
  const Result r = shell("echo " + longest + " | " + irexpo_command() + " ' ' L.tim");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(fs::file_size(at(longest)), 44u + 2 * 100);
}

TEST_F(EndToEnd, SoxAndPythonReadTheSameFramesBack) {
  const std::vector<float> left = wave_shape(3000, 0.5f);
  const std::vector<float> right = wave_shape(5000, 0.8f);
  write_tim(at("left.tim"), left, 1000.0f / 44100.0f);
  write_tim(at("right.tim"), right, 1000.0f / 44100.0f);
  const Result r = shell(irexpo_command() + " out.wav left.tim right.tim");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::int16_t> expected = expected_frames(left, right, 0.8f);

  const Result soxi = shell("soxi -r out.wav && soxi -c out.wav && soxi -s out.wav && soxi -b out.wav");
  ASSERT_EQ(soxi.status, 0) << soxi.err;
  EXPECT_EQ(soxi.out, "44100\n2\n5000\n16\n");
  const Result sox = shell("sox out.wav -t raw -e signed-integer -b 16 -L sox.raw");
  ASSERT_EQ(sox.status, 0) << sox.err;
  EXPECT_EQ(as_samples(slurp(at("sox.raw"))), expected);

  const Result py = shell(
      "/usr/bin/python3 -c \"import wave; w = wave.open('out.wav', 'rb'); "
      "print(w.getnchannels(), w.getframerate(), w.getnframes(), w.getsampwidth()); "
      "open('py.raw', 'wb').write(w.readframes(w.getnframes()))\"");
  ASSERT_EQ(py.status, 0) << py.err;
  EXPECT_EQ(py.out, "2 44100 5000 2\n");
  EXPECT_EQ(as_samples(slurp(at("py.raw"))), expected);
}

TEST_F(EndToEnd, IndependentReadersAcceptTheBareHeaderOfAnEmptyFile) {
  write_tim(at("empty.tim"), {}, 1000.0f / 22050.0f);
  ASSERT_EQ(shell(irexpo_command() + " out.wav empty.tim").status, 0);
  const Result soxi = shell("soxi -r out.wav && soxi -c out.wav && soxi -s out.wav");
  ASSERT_EQ(soxi.status, 0) << soxi.err;
  EXPECT_EQ(soxi.out, "22050\n1\n0\n");
  const Result py = shell(
      "/usr/bin/python3 -c \"import wave; w = wave.open('out.wav', 'rb'); "
      "print(w.getnchannels(), w.getframerate(), w.getnframes())\"");
  EXPECT_EQ(py.out, "1 22050 0\n") << py.err;
}

TEST_F(EndToEnd, StereoWaveRoundTripsThroughIrgenScaledToFullPeak) {
  // 3000 frames at 44100 Hz; the loudest sample is -32768 on the left.
  std::vector<std::int16_t> frames;
  for (int i = 0; i < 3000; ++i) {
    frames.push_back(static_cast<std::int16_t>((i * 7919) % 65536 - 32768));
    frames.push_back(static_cast<std::int16_t>(((i * 104729) % 40001) - 20000));
  }
  std::vector<std::uint8_t> file;
  const auto header = formats::encode_wave_header(2, 44100, 3000);
  file.insert(file.end(), header.begin(), header.end());
  std::vector<std::uint8_t> data(2 * frames.size());
  formats::encode_pcm16(frames, data);
  file.insert(file.end(), data.begin(), data.end());
  formats::write_bytes(at("take1.wav"), file);

  int peak = 0;
  for (std::int16_t s : frames) peak = std::max(peak, std::abs(static_cast<int>(s)));
  ASSERT_EQ(peak, 32768);

  const Result gen = shell(irgen_command() + " take1.wav left.tim right.tim");
  ASSERT_EQ(gen.status, 0) << gen.out << gen.err;
  const Result expo = shell(irexpo_command() + " back.wav left.tim right.tim");
  ASSERT_EQ(expo.status, 0) << expo.err;

  const WaveContents w = read_wave(at("back.wav"));
  ASSERT_TRUE(w.ok);
  EXPECT_EQ(w.channels, 2);
  EXPECT_EQ(w.rate, 44100);
  // irgen pads 3000 points to 4096 with zeros; irexpo keeps them.
  ASSERT_EQ(w.samples.size(), 2u * 4096);
  for (std::size_t i = 0; i < frames.size(); ++i) {
    // s / 32768 on the way in, / (peak / 32768) x 32767 on the way out.
    const double v = frames[i] / 32768.0 / (peak / 32768.0) * 32767.0;
    ASSERT_EQ(w.samples[i], static_cast<std::int16_t>(round_half_away(v))) << "sample " << i;
  }
  for (std::size_t i = frames.size(); i < w.samples.size(); ++i) {
    ASSERT_EQ(w.samples[i], 0) << "sample " << i;
  }
  EXPECT_EQ(w.samples[0], -32767);
}

}  // namespace
}  // namespace irexpo
