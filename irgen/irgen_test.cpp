#include "irgen/irgen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <numeric>

#include "console/fake_terminal.h"
#include "formats/test_temp_dir.h"
#include "irgen/test_wave.h"

namespace irgen {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::WaveShape;

const formats::DateTime kWhen{2026, 12, 8, 7, 5, 9};
constexpr std::string_view kStamp = " 8/12/2026  7: 5: 9";

const std::string kBannerBytes =
    "\r\n\f\r \r** Irgen 2.0 - Converts a .WAV file in 1 or 2 .TIM Impulse "
    "Responses **\r\n\r\n"
    "  Acoustic IR tools - free software, provided without any warranty\r\n";

std::string pad(std::string_view text, std::size_t width = 40) {
  std::string s(text);
  s.resize(width, ' ');
  return s;
}

// Console lines as the printer sends them: each starts with CR LF.
std::string lines(std::initializer_list<std::string_view> texts) {
  std::string out;
  for (std::string_view t : texts) {
    out += "\r\n";
    out += t;
  }
  return out;
}

float load_f32(const Bytes& b, std::size_t at) {
  std::uint32_t v = b[at] | b[at + 1] << 8 | b[at + 2] << 16 |
                    static_cast<std::uint32_t>(b[at + 3]) << 24;
  return std::bit_cast<float>(v);
}

std::int32_t load_i32(const Bytes& b, std::size_t at) {
  return static_cast<std::int32_t>(load_f32(b, at) == 0 ? 0 : 0) +
         static_cast<std::int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 |
                                   static_cast<std::uint32_t>(b[at + 3]) << 24);
}

double energy_of(const std::vector<std::int16_t>& samples, std::size_t channel,
                 std::size_t channels, std::size_t frames) {
  double e = 0;
  for (std::size_t i = 0; i < frames; ++i) {
    double v = samples[i * channels + channel] / 32768.0;
    e += v * v;
  }
  return e;
}

class IrgenRun : public ::testing::Test {
 protected:
  void SetUp() override {
    old_dir_ = fs::current_path();
    fs::current_path(dir_.path());
  }
  void TearDown() override { fs::current_path(old_dir_); }

  struct Result {
    int status;
    std::string out;
    std::string err;
  };

  Result run(std::vector<std::string> args, std::vector<std::string> answers = {}) {
    args.insert(args.begin(), "irgen");
    console::FakeTerminal terminal(std::move(answers));
    int status = irgen::run(args, terminal, [] { return kWhen; });
    return {status, terminal.out(), terminal.err()};
  }

  void write(const std::string& name, const Bytes& bytes) {
    formats::write_bytes(dir_ / name, bytes);
  }
  Bytes read(const std::string& name) { return formats::read_bytes(dir_ / name); }
  bool exists(const std::string& name) { return fs::exists(dir_ / name); }
  std::vector<std::string> entries() {
    auto e = dir_.entries();
    std::sort(e.begin(), e.end());
    return e;
  }

  formats::TestTempDir dir_;
  fs::path old_dir_;
};

TEST_F(IrgenRun, MonoThousandFramesGivesThe9046ByteFileAndItsDialogue) {
  std::vector<std::int16_t> samples = test::ramp(1000);
  samples[0] = -32768;
  samples[1] = 32767;
  write("take1.wav", test::make_wave({}, samples));
  Result r = run({"take1.wav", "left.tim", "right.tim", "94.5", "1"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            kBannerBytes +
                lines({"File Name of the .WAV input  file = " + pad("take1.wav"),
                       "File Name of the .TIM LEFT   file = " + pad("left.tim"),
                       "File Name of the .TIM RIGHT  file = " + pad("right.tim"),
                       "Expected Sound Pressure Level (dB)= " +
                           std::string(20, ' ') + pad("94.5", 20),
                       "Acquisition Mode (0=scope, 1=MLS) = " +
                           std::string(30, ' ') + pad("1", 10),
                       "Opening " + pad("take1.wav") + " for input...",
                       "Number of data points  :    1000 with    1  Channels",
                       "Sampling Frequency (Hz):   44100 with   16  Bits",
                       "Number of .TIM output file points =     2048",
                       "",
                       "Reading data from input file...",
                       "Converting integers to reals...",
                       "Writing data to  output file..."}) +
                "\r\n");

  Bytes file = read("left.tim");
  ASSERT_EQ(file.size(), 9046u);
  EXPECT_FALSE(exists("right.tim"));
  EXPECT_EQ(entries(), (std::vector<std::string>{"left.tim", "take1.wav"}));

  // MLS: 0.5 sqrt(E) 10^(-spl/20).
  double expected_factor =
      0.5 * std::sqrt(energy_of(samples, 0, 1, 1000)) * std::pow(10.0, -94.5 / 20);
  float factor = load_f32(file, 8346 + 612);
  EXPECT_NEAR(factor, expected_factor, expected_factor * 1e-5);

  Bytes expected = test::expected_tim({.mode = 1,
                                       .rate = 44100,
                                       .points = 2048,
                                       .samples = samples,
                                       .stamp = std::string(kStamp),
                                       .source_field = pad("take1.wav"),
                                       .level_factor = factor});
  EXPECT_EQ(test::first_difference(file, expected), -1);
  EXPECT_EQ(load_f32(file, 14), -1.0f);
  EXPECT_EQ(load_f32(file, 18), 0.999969482421875f);
}

TEST_F(IrgenRun, StereoWithThreeNamesWritesBothChannels) {
  std::vector<std::int16_t> samples = test::ramp(2 * 3000, 11);
  write("st.wav", test::make_wave({.channels = 2, .rate = 48000}, samples));
  Result r = run({"st.wav", "l.tim", "r.tim", "80.0", "0"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.find("\r\nName of the .TIM RIGHT"), std::string::npos);
  Bytes left = read("l.tim");
  Bytes right = read("r.tim");
  ASSERT_EQ(left.size(), 14 + 4 * 4096 + 840u);
  ASSERT_EQ(right.size(), left.size());
  std::vector<std::int16_t> l(3000), rr(3000);
  for (int i = 0; i < 3000; ++i) {
    l[i] = samples[2 * i];
    rr[i] = samples[2 * i + 1];
  }
  std::size_t block = 14 + 4 * 4096 + 140;
  for (auto [bytes, channel, data] :
       {std::tuple{&left, 0, &l}, std::tuple{&right, 1, &rr}}) {
    // Scope: sqrt(E / N) 10^(-spl/20), N being the padded length.
    double e = energy_of(samples, channel, 2, 3000);
    double expected_factor = std::sqrt(e / 4096) * std::pow(10.0, -80.0 / 20);
    float factor = load_f32(*bytes, block + 612);
    EXPECT_NEAR(factor, expected_factor, expected_factor * 1e-5);
    Bytes expected = test::expected_tim({.mode = 0,
                                         .rate = 48000,
                                         .points = 4096,
                                         .samples = *data,
                                         .stamp = std::string(kStamp),
                                         .source_field = pad("st.wav"),
                                         .level_factor = factor});
    EXPECT_EQ(test::first_difference(*bytes, expected), -1) << "channel " << channel;
  }
}

TEST_F(IrgenRun, StereoWithTwoNamesAsksForTheRightName) {
  write("st.wav", test::make_wave({.channels = 2}, test::ramp(200)));
  Result r = run({"st.wav", "l.tim"}, {"r.tim"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\r\nName of the .TIM RIGHT          file = Opening "),
            std::string::npos);
  EXPECT_TRUE(exists("l.tim"));
  EXPECT_TRUE(exists("r.tim"));
  // SPL and mode keep their defaults: scope title, mode 0.
  EXPECT_EQ(read("r.tim")[4], 0);
}

TEST_F(IrgenRun, MonoWithTwoNamesAsksNothingAndNeverOpensARightFile) {
  write("m.wav", test::make_wave({}, test::ramp(10)));
  Result r = run({"m.wav", "l.tim"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.find("\r\nName of"), std::string::npos);
  EXPECT_EQ(entries(), (std::vector<std::string>{"l.tim", "m.wav"}));
}

TEST_F(IrgenRun, InteractiveRunReadsNamesSplAndMode) {
  write("st.wav", test::make_wave({.channels = 2}, test::ramp(100)));
  for (std::vector<std::string> args :
       {std::vector<std::string>{}, std::vector<std::string>{"ignored.wav"}}) {
    Result r = run(args, {"st.wav", "l.tim", "r.tim", " 94.0, 3", "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              kBannerBytes +
                  lines({"Name of the .WAV input          file = "
                         "Name of the .TIM LEFT (or MONO) file = "
                         "Name of the .TIM RIGHT          file = "
                         "Expected SPL (in dB, 0 for none)     = "
                         "Acquistion Mode (0=scope, 1=MLS)     = "
                         "Opening " + pad("st.wav") + " for input...",
                         "Number of data points  :      50 with    2  Channels",
                         "Sampling Frequency (Hz):   44100 with   16  Bits",
                         "Number of .TIM output file points =     2048", "",
                         "Reading data from input file...",
                         "Converting integers to reals...",
                         "Writing data to  output file..."}) +
                  "\r\n");
    Bytes left = read("l.tim");
    EXPECT_EQ(left[4], 1);  // mode 1 in the head: the MLS title
    EXPECT_EQ(std::string(left.begin() + 14 + 4 * 2048, left.begin() + 14 + 4 * 2048 + 16),
              "Impulse Response");
    double e = energy_of(test::ramp(100), 0, 2, 50);
    double expected_factor = 0.5 * std::sqrt(e) * std::pow(10.0, -94.0 / 20);
    EXPECT_NEAR(load_f32(left, 14 + 4 * 2048 + 140 + 612), expected_factor,
                expected_factor * 1e-5);
  }
}

TEST_F(IrgenRun, EmptyWaveAnswerTakesTheSingleArgument) {
  write("m.wav", test::make_wave({}, test::ramp(10)));
  Result r = run({"m.wav"}, {"", "l.tim", "0", "0"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.find("File name missing"), std::string::npos);
  EXPECT_TRUE(exists("l.tim"));
}

TEST_F(IrgenRun, ArgumentCountsFourAndSix) {
  write("m.wav", test::make_wave({}, test::ramp(10)));
  Result four = run({"m.wav", "a.tim", "b.tim", "94"});
  ASSERT_EQ(four.status, 0) << four.err;
  EXPECT_EQ(four.out.find("Acquisition Mode"), std::string::npos);
  EXPECT_EQ(read("a.tim")[4], 0);

  Result six = run({"m.wav", "c.tim", "d.tim", "0", "-3", "extra"});
  ASSERT_EQ(six.status, 0) << six.err;
  EXPECT_EQ(six.out.find("extra"), std::string::npos);
  Bytes c = read("c.tim");
  EXPECT_EQ(c[4], 0xFD);  // mode -3 stored as given
  EXPECT_EQ(c[5], 0xFF);
}

// The level argument fills a 20-character field, echoed after 20 blanks;
// the number is read from that field alone.
TEST_F(IrgenRun, LevelArgumentIsEchoedAndReadAsA20CharacterField) {
  struct Case {
    std::string argument;
    std::string field;  // as echoed, 20 characters
    double spl;
  };
  const Case cases[] = {
      {"94.5", "94.5", 94.5},
      {"94", "94", 0.094},  // no point: the last three digits are the fraction
      {"-12.25", "-12.25", -12.25},
      {"9 4.5", "9 4.5", 94.5},  // blanks inside are ignored
      {"0000000000000000094.5000", "0000000000000000094.", 94.0},  // cut at 20
  };
  write("m.wav", test::make_wave({}, test::ramp(10)));
  const double e = energy_of(test::ramp(10), 0, 1, 10);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.argument);
    Result r = run({"m.wav", "a.tim", "b.tim", c.argument});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string line = "\r\nExpected Sound Pressure Level (dB)= " +
                             std::string(20, ' ') + pad(c.field, 20) + "\r\n";
    EXPECT_NE(r.out.find(line), std::string::npos) << r.out;
    const double factor = std::sqrt(e / 2048) * std::pow(10.0, -c.spl / 20);
    EXPECT_NEAR(load_f32(read("a.tim"), 14 + 4 * 2048 + 140 + 612), factor,
                factor * 1e-5);
  }
}

TEST_F(IrgenRun, OtherBitDepthsAreRefusedAndNothingIsWritten) {
  write("left.tim", Bytes{'o', 'l', 'd'});
  for (int bits : {8, 24, 32}) {
    write("x.wav", test::make_wave({.bits = bits}, test::ramp(100)));
    Result r = run({"x.wav", "left.tim", "right.tim"});
    EXPECT_EQ(r.status, 2) << bits;
    EXPECT_TRUE(r.out.ends_with(
        lines({"File Name of the .TIM RIGHT  file = " + pad("right.tim"),
               "ERROR - The input file must be 16 bits!"}) +
        "\r\nStop - Program terminated.\r\n"))
        << bits;
    EXPECT_EQ(read("left.tim"), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(entries(), (std::vector<std::string>{"left.tim", "x.wav"}));
  }
}

TEST_F(IrgenRun, UnusableFormatsAreRefusedBeforeAnyOutput) {
  struct Case {
    WaveShape shape;
    std::string_view message;
  };
  const Case cases[] = {
      {{.channels = 3}, "ERROR - The input file must have 1 or 2 channels!"},
      {{.channels = 0}, "ERROR - The input file must have 1 or 2 channels!"},
      {{.rate = 0}, "ERROR - The sampling rate of the input file must be positive!"},
      {{.rate = -44100}, "ERROR - The sampling rate of the input file must be positive!"},
      {{.block_align = 0}, "ERROR - The block align of the input file must be positive!"},
      {{.data_size = 0x80000000}, "ERROR - The data chunk of the input file is too large!"},
  };
  for (const Case& c : cases) {
    write("x.wav", test::make_wave(c.shape, test::ramp(12)));
    Result r = run({"x.wav", "l.tim", "r.tim"});
    EXPECT_EQ(r.status, 2) << c.message;
    EXPECT_NE(r.out.find(std::string(c.message) + "\r\nStop - Program terminated.\r\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(entries(), (std::vector<std::string>{"x.wav"}));
  }
}

TEST_F(IrgenRun, MissingInputIsAnErrorStopForTheOpen) {
  Result r = run({"x.tim", "left.tim"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "\r\nrun-time error F6101: OPEN(x.tim)\r\n- file not found\r\n");
  EXPECT_TRUE(entries().empty());
}

TEST_F(IrgenRun, ShortDataChunkLeavesNoOutputAndKeepsExistingFiles) {
  Bytes wave = test::make_wave({.channels = 2}, test::ramp(2 * 5000));
  wave.resize(wave.size() - 2);  // the last frame is cut in half
  write("take1.wav", wave);
  write("l.tim", Bytes{1, 2, 3});
  Result r = run({"take1.wav", "l.tim", "r.tim"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "\r\nrun-time error F6201: READ(take1.wav)\r\n- end of file\r\n");
  EXPECT_TRUE(r.out.ends_with("\r\nReading data from input file..."));
  EXPECT_EQ(read("l.tim"), (Bytes{1, 2, 3}));
  EXPECT_EQ(entries(), (std::vector<std::string>{"l.tim", "take1.wav"}));
}

TEST_F(IrgenRun, FileWithoutDataChunkIsAnErrorStopBeforeAnyOutput) {
  Bytes wave = test::make_wave({}, {});
  wave.resize(36);  // header up to the format chunk only
  write("x.wav", wave);
  Result r = run({"x.wav", "l.tim"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "\r\nrun-time error F6201: READ(x.wav)\r\n- end of file\r\n");
  EXPECT_EQ(entries(), (std::vector<std::string>{"x.wav"}));
}

TEST_F(IrgenRun, PointCountsAtTheLimits) {
  struct Case {
    std::int32_t frames;
    std::int32_t points;
  };
  for (Case c : {Case{32768, 32768}, Case{32769, 65535}, Case{70000, 65535}}) {
    std::vector<std::int16_t> samples = test::ramp(static_cast<std::size_t>(c.frames), 7);
    write("x.wav", test::make_wave({}, samples));
    Result r = run({"x.wav", "l.tim"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Number of data points  :" + std::string(c.frames < 100000 ? 3 : 2, ' ') +
                         std::to_string(c.frames)),
              std::string::npos);
    Bytes file = read("l.tim");
    ASSERT_EQ(file.size(), 14 + 4u * c.points + 840) << c.frames;
    EXPECT_EQ(load_i32(file, 10), c.points);
    std::int32_t stored = std::min(c.frames, c.points);
    EXPECT_EQ(load_f32(file, 14 + 4 * (stored - 1)), samples[stored - 1] / 32768.0f);
    std::size_t zeros = 0;
    for (std::int32_t i = stored; i < c.points; ++i) {
      zeros += load_f32(file, 14 + 4 * static_cast<std::size_t>(i)) == 0.0f &&
               !std::signbit(load_f32(file, 14 + 4 * static_cast<std::size_t>(i)));
    }
    EXPECT_EQ(zeros, static_cast<std::size_t>(c.points - stored));
  }
}

TEST_F(IrgenRun, ChunksBeforeTheDataAreSkipped) {
  std::vector<std::int16_t> samples = test::ramp(64);
  write("x.wav", test::make_wave({.extra_chunk = "LIST", .extra_size = 26}, samples));
  ASSERT_EQ(run({"x.wav", "l.tim", "", "", "1"}).status, 0);
  EXPECT_EQ(load_f32(read("l.tim"), 14 + 4 * 63), samples[63] / 32768.0f);
}

TEST_F(IrgenRun, NeverWritesOverTheInput) {
  write("take1.wav", test::make_wave({.channels = 2}, test::ramp(64)));
  Bytes original = read("take1.wav");
  fs::create_hard_link(dir_ / "take1.wav", dir_ / "link.wav");
  const std::vector<std::vector<std::string>> runs = {
      {"take1.wav", "take1.wav", "r.tim"},
      {"take1.wav", "./link.wav", "r.tim"},
      {"take1.wav", "l.tim", "take1.wav"},
      {"take1.wav", "", "r.tim"},  // the blank-name rule takes word 1
  };
  for (const auto& args : runs) {
    Result r = run(args);
    EXPECT_EQ(r.status, 2) << args[1] << " " << args[2];
    EXPECT_NE(r.out.find("\r\nERROR - The .TIM file would overwrite the .WAV input "
                         "file!\r\nStop - Program terminated.\r\n"),
              std::string::npos);
    EXPECT_EQ(read("take1.wav"), original);
    EXPECT_EQ(entries(), (std::vector<std::string>{"link.wav", "take1.wav"}));
  }
}

TEST_F(IrgenRun, BlankRightNameAnswerUsesTheBlankNameRule) {
  write("a.wav", test::make_wave({.channels = 2}, test::ramp(64)));
  // The blank-name rule hands out word 1, the input: refused.
  Result taken = run({"a.wav", "l.tim"}, {""});
  EXPECT_EQ(taken.status, 2);
  EXPECT_FALSE(exists("l.tim"));
  // Without command-line words it asks on the console for unit 4.
  Result asked = run({}, {"a.wav", "l.tim", "  ", "0", "0", "r.tim"});
  ASSERT_EQ(asked.status, 0) << asked.err;
  EXPECT_NE(asked.out.find("Number of .TIM output file points =     2048"
                           "\r\nFile name missing or blank - please enter file "
                           "name\r\nUNIT 4? "),
            std::string::npos);
  EXPECT_TRUE(exists("r.tim"));
}

TEST_F(IrgenRun, LeftAndRightMustBeDifferentFiles) {
  write("a.wav", test::make_wave({.channels = 2}, test::ramp(64)));
  Result r = run({"a.wav", "same.tim", "./same.tim"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("ERROR - The LEFT and RIGHT .TIM files must be different files!"),
            std::string::npos);
  EXPECT_EQ(entries(), (std::vector<std::string>{"a.wav"}));
}

TEST_F(IrgenRun, SilentChannelGetsFactorZero) {
  std::vector<std::int16_t> samples(200, 0);
  for (std::size_t i = 0; i < samples.size(); i += 2) samples[i] = 1000;
  write("a.wav", test::make_wave({.channels = 2}, samples));
  ASSERT_EQ(run({"a.wav", "l.tim", "r.tim", "94.0", "1"}).status, 0);
  EXPECT_GT(load_f32(read("l.tim"), 14 + 4 * 2048 + 140 + 612), 0.0f);
  EXPECT_EQ(load_f32(read("r.tim"), 14 + 4 * 2048 + 140 + 612), 0.0f);
}

TEST_F(IrgenRun, LevelFactorOutOfRangeIsRefusedAndLeavesNoFile) {
  write("a.wav", test::make_wave({}, test::ramp(64)));
  write("l.tim", Bytes{9});
  Result r = run({"a.wav", "l.tim", "r.tim", "-1000.0", "1"});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(r.out.ends_with("\r\nERROR - The level factor is beyond the range "
                              "of a real number!\r\nStop - Program terminated.\r\n"));
  EXPECT_EQ(read("l.tim"), Bytes{9});
  EXPECT_EQ(entries(), (std::vector<std::string>{"a.wav", "l.tim"}));
}

TEST_F(IrgenRun, NumbersThatAreNotNumbersAreErrorStops) {
  write("a.wav", test::make_wave({}, test::ramp(64)));
  const std::string bad_field =
      "\r\nrun-time error F6203: READ(internal)\r\n- invalid number\r\n";
  const std::string bad_answer =
      "\r\nrun-time error F6203: READ(stdin)\r\n- invalid number\r\n";
  EXPECT_EQ(run({"a.wav", "l.tim", "r.tim", "94,5"}).err, bad_field);
  EXPECT_EQ(run({"a.wav", "l.tim", "r.tim", "94", "MLS"}).err, bad_field);
  EXPECT_EQ(run({"a.wav", "l.tim", "r.tim", "94", "40000"}).err, bad_field);
  EXPECT_EQ(run({}, {"a.wav", "l.tim", "loud"}).err, bad_answer);
  EXPECT_EQ(run({}, {"a.wav", "l.tim", "94", "1.5"}).err, bad_answer);
  Result eof = run({}, {"a.wav", "l.tim"});
  EXPECT_EQ(eof.status, 1);
  EXPECT_EQ(eof.err, "\r\nrun-time error F6201: READ(stdin)\r\n- end of file\r\n");
  EXPECT_EQ(entries(), (std::vector<std::string>{"a.wav"}));
}

TEST_F(IrgenRun, OutputInAMissingFolderIsAnErrorStopForTheOpen) {
  write("a.wav", test::make_wave({}, test::ramp(64)));
  Result r = run({"a.wav", "no/such/l.tim"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "\r\nrun-time error F6103: OPEN(no/such/l.tim)\r\n- file cannot be created\r\n");
}

}  // namespace
}  // namespace irgen
