// irinfo's speech transmission index and binaural pairs, through the
// command line: the options, the pairing of files, the table's sections
// and the records.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/testing/synthetic.h"
#include "console/fake_terminal.h"
#include "formats/test_temp_dir.h"
#include "irinfo/run_for_test.h"
#include "irinfo/irinfo.h"
#include "irinfo/room/room_analysis.h"

namespace irinfo {
namespace {

using test::contains;
using test::Outcome;
using test::run_irinfo;

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = 0; (at = text.find(part, at)) != std::string::npos; ++at) ++n;
  return n;
}

TEST(RoomOptions, LevelsAreCheckedBeforeAnyFileIsRead) {
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"--speech-level"}, "irinfo: --speech-level needs a value\n"},
      {{"--speech-level", "loud", "x.tim"}, "irinfo: --speech-level loud: not a level in dB\n"},
      {{"--speech-level", "inf", "x.tim"}, "irinfo: --speech-level inf: not a level in dB\n"},
      {{"--speech-level", "60", "--noise-levels", "40,35,30", "x.tim"},
       "irinfo: --noise-levels 40,35,30: not seven levels in dB (125 Hz .. 8 kHz) separated by "
       "commas\n"},
      {{"--speech-level", "60", "--noise-levels", "1,2,3,4,5,6,7,8", "x.tim"},
       "irinfo: --noise-levels 1,2,3,4,5,6,7,8: not seven"},
      {{"--noise-levels", "40,35,30,25,20,15,10", "x.tim"},
       "irinfo: --noise-levels needs --speech-level\n"},
  };
  for (const auto& c : cases) {
    const Outcome r = run_irinfo(c.args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << r.err;
  }
  EXPECT_EQ(parse_noise_levels("40,35.5,30,25,20,15,-3"),
            (analysis::SpeechBandValues{40, 35.5, 30, 25, 20, 15, -3}));
  EXPECT_FALSE(parse_noise_levels("40,35,30,25,20,15,"));
}

// Two .TIM files as irgen writes them, the right ear the left delayed by
// 0.5 ms: fully correlated in every band.
class Pair : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::vector<float> l = analysis::testing::decaying_noise(44100, 0.8, 0.01, 0.5, 61);
    std::vector<float> r(l.size(), 0.0f);
    std::copy(l.begin(), l.end() - 22, r.begin() + 22);
    left = (dir / "left.tim").string();
    right = (dir / "right.tim").string();
    formats::write_bytes(left, analysis::testing::tim_file_bytes(l, 44100, 65535));
    formats::write_bytes(right, analysis::testing::tim_file_bytes(r, 44100, 65535));
  }
  formats::TestTempDir dir;
  std::string left, right;
};

TEST_F(Pair, TableShowsTheIndexPerChannelAndThePairsCorrelation) {
  const Outcome r = run_irinfo({"--binaural", left, right});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(count(r.out, "  speech 1      125    250    500     1k     2k     4k     8k\n"), 2u)
      << r.out;
  EXPECT_EQ(count(r.out, "(category "), 2u);
  EXPECT_TRUE(contains(r.out, "reverberation only: no speech level and background noise given"));
  for (const std::string& part : std::vector<std::string>{
           "\nbinaural pair: left " + left + ", right " + right + "\n",
           "  from the onset at 10.0 ms (the earlier ear) to ",
           "  IACC          125    250    500     1k     2k     4k    all\n",
           "  IACC_E       1.00   1.00   1.00   1.00   1.00   1.00   1.00\n",
           "  IACC_A       1.00   1.00   1.00   1.00   1.00   1.00   1.00\n",
           "  1 - IACC_E3 0.00 (500 Hz .. 2 kHz: IACC_E3 1.00, IACC_L3 1.00, IACC_A3 1.00)\n"}) {
    EXPECT_TRUE(contains(r.out, part)) << "no \"" << part << "\" in\n" << r.out;
  }
  // The pair's section follows the right ear's file.
  EXPECT_GT(r.out.find("binaural pair"), r.out.find(right + "\n"));

  const Outcome given = run_irinfo({"--speech-level", "60", "--noise-levels",
                                    "50,45,40,35,30,25,20", left});
  ASSERT_EQ(given.status, 0) << given.err;
  EXPECT_TRUE(contains(given.out, ", speech 60 dB(A), noise 50/45/40/35/30/25/20 dB, with "
                                  "auditory masking and reception threshold\n"))
      << given.out;
  EXPECT_FALSE(contains(given.out, "binaural"));
}

TEST_F(Pair, RecordsOfThePairHaveNoChannelAndNameTheRightEar) {
  Outcome r = run_irinfo({"--binaural", "--json", left, right});
  ASSERT_EQ(r.status, 0) << r.err;
  // Per file 9 bands, the broadband response and the mid values; the pair
  // 6 bands and its unfiltered ears.
  EXPECT_EQ(count(r.out, "\n  {\"file\": "), 29u);
  EXPECT_EQ(count(r.out, "\"channel\": null"), 7u);
  EXPECT_EQ(count(r.out, "\"pair\": \"" + right + "\""), 7u);
  EXPECT_EQ(count(r.out, "\"sti_conditions\": \"reverberation only\""), 2u);
  EXPECT_EQ(count(r.out, "\"mti\": 0."), 14u);
  EXPECT_TRUE(contains(r.out, "\"iacc_a\": 1, \"one_minus_iacc_e3\": 0, ")) << r.out;
  EXPECT_EQ(r.out.substr(r.out.size() - 4), "}\n]\n");

  r = run_irinfo({"--binaural", "--csv", left, right});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(count(r.out, "\n"), 30u);
  // IACC_L: the right ear's energy in the late window is the left's in the
  // window 0.5 ms earlier, 1 + a * 0.5 ms = 1.0138 times more for T = 0.5 s
  // (a = 13.8 / T), so 1 / sqrt(1.0138).
  EXPECT_TRUE(contains(r.out, "\n" + left + ",,,,,,,,,,,,broadband,," + right + ",1,0.993"))
      << r.out;
  EXPECT_TRUE(contains(r.out, ",1,0,,,,\n")) << r.out;
}

TEST_F(Pair, AMonoFileWithoutItsPartnerIsReported) {
  const Outcome r = run_irinfo({"--binaural", left});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "irinfo: " + left +
                       ": no right ear for --binaural (a pair is a stereo file or two mono files "
                       "in a row)\n");
  EXPECT_TRUE(contains(r.out, "  channel 1 "));
  EXPECT_FALSE(contains(r.out, "binaural pair"));
  // A file between them that cannot be read parts them.
  const Outcome apart = run_irinfo({"--binaural", left, (dir / "none.tim").string(), right});
  EXPECT_EQ(apart.status, 2);
  EXPECT_EQ(count(apart.err, "no right ear for --binaural"), 2u) << apart.err;
}

}  // namespace
}  // namespace irinfo
