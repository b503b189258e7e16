#include "listen/convolution/auralise.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>

#include "analysis/read/read_response.h"
#include "analysis/testing/synthetic.h"
#include "listen/convolution/convolver.h"
#include "listen/response/prepare.h"
#include "listen/test_signals.h"

namespace listen {
namespace {

constexpr double kRate = 44100.0;
constexpr double kLimitDb = -110.0;  // error re the output's peak

struct Convolved {
  Auralised result;
  std::vector<float> frames;  // interleaved
};

Convolved convolve(const std::vector<std::vector<float>>& dry, const Response& response) {
  MemoryFrames source(dry.size(), kRate, test::interleave(dry), "dry.wav");
  Convolved run;
  MemoryFrames sink(response.channels.size() == 2 || dry.size() == 2 ? 2 : 1, kRate);
  run.result = auralise(source, response, sink);
  run.frames = sink.samples();
  return run;
}

Response response_of(std::vector<std::vector<float>> channels) {
  Response r;
  r.sample_rate_hz = kRate;
  r.channels = std::move(channels);
  return r;
}

TEST(Auralise, MatchesTheDirectConvolutionForEveryChannelRuleAndLength) {
  struct Case {
    const char* what;
    std::size_t dry_channels, dry_frames, response_channels, response_frames;
  };
  const Case cases[] = {
      {"mono dry, mono response", 1, 3000, 1, 700},
      {"mono dry feeds both channels of a stereo response", 1, 2500, 2, 900},
      {"each channel of a stereo dry with a mono response", 2, 2100, 1, 513},
      {"stereo dry with stereo response, left with left", 2, 1999, 2, 1001},
      {"odd lengths", 1, 4097, 1, 333},
      {"a response of one sample", 2, 1000, 1, 1},
      {"a dry shorter than the response", 1, 17, 2, 5000},
      {"a dry of one frame", 1, 1, 1, 300},
      {"dry frames a multiple of the block", 1, 1024, 1, 1024},
  };
  std::uint32_t seed = 1;
  for (const Case& c : cases) {
    std::vector<std::vector<float>> dry, response;
    for (std::size_t i = 0; i < c.dry_channels; ++i)
      dry.push_back(test::noise(c.dry_frames, seed++));
    for (std::size_t i = 0; i < c.response_channels; ++i) {
      response.push_back(test::decaying(c.response_frames, kRate, 0.01, seed++));
    }
    const Convolved run = convolve(dry, response_of(response));
    ASSERT_FALSE(run.result.problem) << c.what << ": " << run.result.problem.message;
    const auto want = test::direct_convolution(
        dry, response, *route_channels(c.dry_channels, c.response_channels));
    EXPECT_EQ(run.result.measured.frames, c.dry_frames + c.response_frames - 1) << c.what;
    EXPECT_LE(test::error_db(run.frames, want), kLimitDb) << c.what;
  }
}

TEST(Auralise, MatchesADoubleFftOnLongCases) {
  // 30 s of stereo with a 3 s stereo response: many blocks and partitions.
  const std::size_t dry_frames = 30 * 44100, response_frames = 3 * 44100 + 7;
  const std::vector<std::vector<float>> dry = {test::noise(dry_frames, 11),
                                               test::noise(dry_frames, 12)};
  const std::vector<std::vector<float>> response = {
      test::decaying(response_frames, kRate, 2.0, 13),
      test::decaying(response_frames, kRate, 2.5, 14)};
  const Convolved run = convolve(dry, response_of(response));
  ASSERT_FALSE(run.result.problem) << run.result.problem.message;
  const std::vector<std::vector<double>> want = {test::fft_convolution(dry[0], response[0]),
                                                 test::fft_convolution(dry[1], response[1])};
  const double error = test::error_db(run.frames, want);
  EXPECT_LE(error, kLimitDb);
  std::cout << "long case: error " << error << " dB re the output's peak\n";
}

TEST(Auralise, TakesATimPairAsOneStereoResponse) {
  const std::vector<float> left = test::decaying(3000, kRate, 0.02, 21);
  const std::vector<float> right = test::decaying(2500, kRate, 0.03, 22);
  std::vector<analysis::ReadResult> reads;
  for (const auto* samples : {&left, &right}) {
    reads.push_back(analysis::decode_response(
        analysis::testing::tim_file_bytes(*samples, 44100, 4096), "side.tim"));
    ASSERT_TRUE(reads.back().file) << reads.back().message;
  }
  const Prepared p =
      prepare_response({{&*reads[0].file, "l.tim"}, {&*reads[1].file, "r.tim"}}, kRate);
  ASSERT_FALSE(p.problem) << p.problem.message;
  ASSERT_EQ(p.response.channels.size(), 2u);
  // irgen pads each file to 4096 points: the output holds that length.
  EXPECT_EQ(p.response.frames(), 4096u);
  const std::vector<std::vector<float>> dry = {test::noise(2000, 23)};
  const Convolved run = convolve(dry, p.response);
  ASSERT_FALSE(run.result.problem) << run.result.problem.message;
  EXPECT_LE(test::error_db(run.frames,
                           test::direct_convolution(dry, p.response.channels, {{0, 0}, {0, 1}})),
            kLimitDb);
}

TEST(Auralise, RefusesWhatItCannotConvolve) {
  struct Case {
    const char* what;
    std::vector<std::vector<float>> dry;
    std::size_t response_channels;
    const char* message;
  };
  std::vector<float> with_nan = test::noise(100, 31);
  with_nan[42] = NAN;
  const Case cases[] = {
      {"3 dry channels",
       {test::noise(10, 1), test::noise(10, 2), test::noise(10, 3)},
       1,
       "dry.wav: a 3-channel dry signal (1 or 2 channels are taken)"},
      {"3 response channels",
       {test::noise(10, 1)},
       3,
       "dry.wav: a 3-channel response (1 or 2 channels are taken)"},
      {"an empty dry", {{}}, 1, "dry.wav: the dry signal holds no frames"},
      {"a NaN in the dry", {with_nan}, 1, "dry.wav: sample 43 of channel 1 is not a finite number"},
  };
  for (const Case& c : cases) {
    std::vector<std::vector<float>> response(c.response_channels, test::noise(50, 9));
    const Convolved run = convolve(c.dry, response_of(response));
    EXPECT_EQ(run.result.problem.status, 2) << c.what;
    EXPECT_EQ(run.result.problem.message, c.message) << c.what;
  }
}

TEST(Auralise, MeasuresPeakAndStopsWhenAsked) {
  const std::vector<std::vector<float>> dry = {test::noise(200000, 41)};
  const Response r = response_of({test::decaying(500, kRate, 0.01, 42)});
  const Convolved run = convolve(dry, r);
  double peak = 0.0;
  for (float x : run.frames) peak = std::max(peak, double(std::fabs(x)));
  EXPECT_EQ(run.result.measured.peak, peak);

  std::atomic<bool> stop{false};
  Control control;
  int calls = 0;
  control.stop = &stop;
  control.progress = [&](double) {
    if (++calls == 2) stop = true;
  };
  MemoryFrames source(1, kRate, dry[0]);
  MemoryFrames sink(1, kRate);
  const Auralised stopped = auralise(source, r, sink, control);
  EXPECT_TRUE(stopped.stopped);
  EXPECT_FALSE(stopped.problem);
  EXPECT_LT(stopped.measured.frames, dry[0].size());
}

TEST(Convolver, BlocksFollowTheResponseLength) {
  const struct {
    std::size_t frames, block;
  } cases[] = {{1, 64}, {100, 128}, {4096, 4096}, {4097, 8192}, {264600, 65536}, {1u << 24, 65536}};
  for (const auto& c : cases) EXPECT_EQ(default_block_frames(c.frames), c.block) << c.frames;
}

}  // namespace
}  // namespace listen
