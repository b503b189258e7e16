#include "irinfo/irinfo.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/read/audio_codec.h"
#include "analysis/testing/synthetic.h"
#include "console/fake_terminal.h"
#include "formats/test_program.h"
#include "formats/test_temp_dir.h"
#include "irinfo/run_for_test.h"

namespace irinfo {
namespace {

using test::contains;
using test::Outcome;
using test::run_irinfo;

std::size_t lines(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// Files in a temporary folder: a .TIM file as irgen writes it (a decaying
// noise of T = 0.5 s, 60 dB above its noise floor, padded to 32768 points),
// a stereo WAVE file at 48 kHz, a .TIM file of zeros.
class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<float> r = analysis::testing::decaying_noise(44100, 0.7, 0.01, 0.5, 21);
    analysis::testing::add_noise_floor(r, 60, 22);
    tim = (dir / "left.tim").string();
    formats::write_bytes(tim, analysis::testing::tim_file_bytes(r, 44100, 32768));
    zeros = (dir / "zeros.tim").string();
    formats::write_bytes(
        zeros, analysis::testing::tim_file_bytes(std::vector<float>(10, 0.0f), 44100, 2048));
    missing = (dir / "missing.wav").string();
    std::vector<float> right = analysis::testing::decaying_noise(48000, 0.6, 0.0, 0.3, 23);
    analysis::testing::add_noise_floor(right, 70, 24);
    const auto bytes = analysis::encode_audio(
        {right, right}, 48000, analysis::AudioContainer::kWave, analysis::AudioEncoding::kPcm24);
    wave = (dir / "take.wav").string();
    if (!bytes.empty()) formats::write_bytes(wave, bytes);
  }
  formats::TestTempDir dir;
  std::string tim, zeros, missing, wave;
};

TEST(IrinfoCommandLine, HelpVersionAndWordsItCannotFollow) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out, err;
  };
  const Case cases[] = {
      {{}, 2, "", "irinfo: no file named\nusage: irinfo [--csv | --json] [--bands octave|third]"},
      {{"--help"},
       0,
       "usage: irinfo [--csv | --json] [--bands octave|third] [--jobs N] [--binaural]\n"
       "              [--speech-level",
       ""},
      {{"--version"}, 0, "irinfo 1.0.0\n", ""},
      {{"--bogus", "x.tim"}, 2, "", "irinfo: unknown option --bogus\nusage:"},
      {{"--csv", "--json", "x.tim"}, 2, "", "irinfo: --csv and --json exclude each other\n"},
      {{"--json"}, 2, "", "irinfo: no file named\n"},
      {{"--jobs", "0", "x.tim"}, 2, "", "irinfo: --jobs takes a whole number from 1 up\n"},
      {{"--jobs=2x", "x.tim"}, 2, "", "irinfo: --jobs takes a whole number from 1 up\n"},
      {{"x.tim", "--jobs"}, 2, "", "irinfo: --jobs takes a whole number from 1 up\n"},
      {{"--jobs", "1"}, 2, "", "irinfo: no file named\n"},
      {{"--bands", "fifth", "x.tim"}, 2, "", "irinfo: --bands takes octave or third\n"},
      {{"--bands"}, 2, "", "irinfo: --bands takes octave or third\n"},
  };
  for (const Case& c : cases) {
    const Outcome r = run_irinfo(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.out.rfind(c.out, 0), 0u) << r.out;
    EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << r.err;
  }
}

TEST_F(Files, TableShowsFactsAndParametersPerBand) {
  const Outcome r = run_irinfo({tim});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  for (const std::string& part : std::vector<std::string>{
           tim + "\n", "  format        TIM (32-bit float), 1 channel\n",
        "  sampling rate 44100 Hz (sample interval 0.0226757 ms)\n", "  points        32768\n",
        "  duration      0.7430 s\n", "  date stamp     8/12/2026 16: 5: 0\n",
        "  source name   take1.wav\n", "  level factor  0.125\n",
        "  channel 1    31.5     63    125    250    500     1k     2k     4k     8k 22-11k    mid\n",
        "  22-11k: broadband, 22.4 Hz to 11.2 kHz; mid: the mean of 500 Hz and 1 kHz\n",
        "  EDT s     ", "  D50       ", "  Ts  ms    ", "  PNR dB    "}) {
    EXPECT_TRUE(contains(r.out, part)) << "no \"" << part << "\" in\n" << r.out;
  }
  // The broadband and the mid columns: T30 of the decay, 0.50 s.
  const std::size_t t30 = r.out.find("  T30 s");
  ASSERT_NE(t30, std::string::npos);
  const std::string row = r.out.substr(t30, r.out.find('\n', t30) - t30);
  EXPECT_EQ(row.substr(row.size() - 14), "   0.50   0.50") << row;
}

TEST_F(Files, EveryFileIsTriedAndTheWorstStatusReturned) {
  Outcome r = run_irinfo({missing, tim});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "irinfo: " + missing + ": cannot be opened (No such file or directory)\n");
  EXPECT_TRUE(contains(r.out, "  channel 1 "));
  r = run_irinfo({zeros, missing, tim});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(contains(r.err, "irinfo: " + zeros + ": every sample is zero\n")) << r.err;
  r = run_irinfo({"--json", zeros});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "[\n]\n");
}

TEST_F(Files, CsvAndJsonHoldOneRecordPerFileChannelAndBand) {
  // 44.1 kHz: 9 bands, the broadband response and the mid values; 48 kHz
  // stereo: 2 x 11.
  const bool audio = std::ifstream(wave).good();
  std::vector<std::string> files = {tim};
  if (audio) files.push_back(wave);
  const std::size_t records = audio ? 33 : 11;

  std::vector<std::string> args = {"--csv"};
  args.insert(args.end(), files.begin(), files.end());
  Outcome r = run_irinfo(args);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines(r.out), 1 + records);
  EXPECT_EQ(r.out.rfind("file,channel,band_hz,edt_s,", 0), 0u);
  EXPECT_TRUE(contains(r.out, "\n" + tim + ",1,31.5,"));
  EXPECT_TRUE(contains(r.out, ",broadband,22.3872,11220.2,"));
  EXPECT_TRUE(contains(r.out, ",mid,,,"));
  if (audio) {
    EXPECT_TRUE(contains(r.out, "\n" + wave + ",2,8000,"));
  }

  args[0] = "--json";
  r = run_irinfo(args);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("[\n  {\"file\": ", 0), 0u);
  EXPECT_EQ(r.out.substr(r.out.size() - 4), "}\n]\n");
  EXPECT_EQ(lines(r.out), 2 + records);
  std::size_t unfiltered = 0;
  for (std::size_t at = 0; (at = r.out.find("\"band_hz\": null", at)) != std::string::npos; ++at)
    ++unfiltered;
  EXPECT_EQ(unfiltered, audio ? 6u : 2u);
}

// In thirds: a record per third from 25 Hz up (at 44.1 kHz to 16 kHz, 29),
// the broadband response over their span, the mid values missing.
TEST_F(Files, ThirdOctaveBandsOnAsking) {
  const Outcome r = run_irinfo({"--csv", "--bands=third", tim});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines(r.out), 1 + 29 + 2);
  EXPECT_TRUE(contains(r.out, "\n" + tim + ",1,25,")) << r.out;
  EXPECT_TRUE(contains(r.out, ",third,1778.28,2238.72,")) << r.out;  // 2 kHz
  EXPECT_TRUE(contains(r.out, ",broadband,22.3872,17782.8,"));
  EXPECT_TRUE(contains(r.out, "the single numbers are of octave bands, not thirds"));
  const Outcome table = run_irinfo({"--bands", "third", tim});
  EXPECT_TRUE(contains(table.out, "    1k  1.25k   1.6k     2k   2.5k  3.15k     4k")) << table.out;
}

// Files analysed side by side come out in the order named, with their
// messages in their places and the worst status, byte for byte as one at a
// time, in every style.
TEST_F(Files, ManyFilesOnSeveralThreadsGiveTheSameBytes) {
  std::vector<std::string> files = {tim, missing, tim, zeros, tim, tim, missing, tim};
  if (std::ifstream(wave).good()) files.insert(files.begin() + 2, {wave, wave});
  for (const char* style : {"", "--csv", "--json"}) {
    std::vector<std::string> args;
    if (*style) args.push_back(style);
    args.insert(args.end(), files.begin(), files.end());
    std::vector<std::string> one = {"--jobs", "1"};
    one.insert(one.end(), args.begin(), args.end());
    const Outcome alone = run_irinfo(one);
    for (const char* jobs : {"--jobs=3", "--jobs=16"}) {
      std::vector<std::string> many = {jobs};
      many.insert(many.end(), args.begin(), args.end());
      const Outcome side = run_irinfo(many);
      EXPECT_EQ(side.status, 2) << style << jobs;
      EXPECT_EQ(side.status, alone.status);
      EXPECT_EQ(side.out, alone.out) << style << jobs;
      EXPECT_EQ(side.err, alone.err) << style << jobs;
    }
  }
}

// The built program, once: the same report on its standard output, the
// message on its standard error, the status as its exit status.
TEST_F(Files, ProgramRunsFromTheCommandLine) {
  const std::string out = (dir / "out").string();
  const std::string err = (dir / "err").string();
  const std::string command = formats::test::shell_quoted(IRINFO_PROGRAM) + " " +
                              formats::test::shell_quoted(tim) + " " +
                              formats::test::shell_quoted(missing) + " >" + out + " 2>" + err;
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  const auto read = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  };
  EXPECT_EQ(read(out), run_irinfo({tim}).out);
  EXPECT_EQ(read(err), "irinfo: " + missing + ": cannot be opened (No such file or directory)\n");
}

}  // namespace
}  // namespace irinfo
