// What must not change the parameters of a response: silence before or
// behind it, the file format it is stored in, its gain, its sampling rate,
// the order of its channels. Checked on responses that look like measured
// ones (analysis/testing/measured.h), in units of the just-noticeable
// difference of each parameter: 5 % for the decay times, 1 dB for the
// clarities, 0.05 for D50, 10 ms for the centre time.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <soxr.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "analysis/analyse.h"
#include "analysis/read/read_response.h"
#include "analysis/testing/measured.h"
#include "formats/test_program.h"
#include "formats/test_temp_dir.h"

namespace analysis {
namespace {

using testing::kNone;
using testing::MeasuredLike;

// A trimmed file, a few ms of lead, a floor from 50 to 80 dB down, noise
// above the top band that outweighs the tail there, a DC offset.
const MeasuredLike kResponses[] = {
    {"trimmed, floor 60 dB down", 48000, 0.0, 60, kNone, kNone, 1.25, 1},
    {"3 ms lead, floor 70 dB down", 44100, 0.003, 70, kNone, kNone, 1.25, 2},
    {"trimmed, floor 80 dB down, noise above the top band", 48000, 0.0, 80, 50, kNone, 1.25, 3},
    {"1 ms lead, floor 50 dB down, DC offset", 48000, 0.001, 50, kNone, 45, 1.25, 4},
};

double jnd(Parameter p) {
  switch (p) {
    case Parameter::kC50:
    case Parameter::kC80:
      return 1.0;
    case Parameter::kD50:
      return 0.05;
    case Parameter::kTs:
      return 10.0;
    default:
      return 0.0;  // relative: 5 %
  }
}

// The decay range a decay time needs; 0 for the others.
double needed_range_db(Parameter p) {
  switch (p) {
    case Parameter::kEdt: return 20.0;
    case Parameter::kT20: return 35.0;
    case Parameter::kT30: return 45.0;
    default: return 0.0;
  }
}

// The largest difference seen per change, in JNDs, printed at the end.
std::map<std::string, std::pair<double, std::string>> g_worst;

void compare_values(const ParameterSet& want, const ParameterSet& got, double allowed,
                    std::optional<double> range_want, std::optional<double> range_got,
                    const std::string& where, const std::string& change) {
  for (const Parameter p : kParameters) {
    if (p == Parameter::kPnr) continue;
    const ParameterValue& a = want[p];
    const ParameterValue& b = got[p];
    const std::string what = where + ", " + std::string(parameter_label(p)) + ", " + change;
    if (a.value.has_value() != b.value.has_value()) {
      // Only a decay time at the edge of its decay range may come and go.
      const double need = needed_range_db(p);
      const bool near_edge = need > 0.0 && range_want && range_got &&
                             std::fabs(*range_want - need) <= 3.0 &&
                             std::fabs(*range_got - need) <= 3.0;
      EXPECT_TRUE(near_edge) << what << ": " << (a.value ? "given" : a.missing) << " against "
                             << (b.value ? "given" : b.missing);
      continue;
    }
    if (!a.value) continue;
    const double unit = jnd(p) > 0.0 ? jnd(p) : 0.05 * std::fabs(*a.value);
    const double error = std::fabs(*b.value - *a.value) / unit;
    EXPECT_LE(error, allowed) << what << ": " << *b.value << " against " << *a.value;
    auto& worst = g_worst[change];
    if (error >= worst.first) worst = {error, what};
  }
}

// Every band from 125 Hz to 8 kHz, the broadband response when both have
// the same span, and the single numbers.
void compare(const ChannelAnalysis& want, const ChannelAnalysis& got, double allowed,
             const std::string& where, const std::string& change) {
  for (const BandAnalysis& a : want.results) {
    if (a.band && (a.band->nominal_hz < 125 || a.band->nominal_hz > 8000)) continue;
    const BandAnalysis* b = nullptr;
    for (const BandAnalysis& r : got.results) {
      const bool same = a.band ? r.band && r.band->index == a.band->index
                               : !r.band && r.span && a.span &&
                                     std::fabs(r.span->upper_hz - a.span->upper_hz) < 1.0;
      if (same) b = &r;
    }
    if (!a.band && !b) continue;  // another span
    ASSERT_TRUE(b) << where << ", " << change;
    const std::string band = a.band ? band_label(*a.band) + " band" : "broadband";
    compare_values(a.parameters, b->parameters, allowed, a.decay_range_db, b->decay_range_db,
                   where + ", " + band, change);
  }
  const BandAnalysis* range_a = nullptr;
  const BandAnalysis* range_b = nullptr;
  for (const BandAnalysis& r : want.results)
    if (r.band && r.band->nominal_hz == 500) range_a = &r;
  for (const BandAnalysis& r : got.results)
    if (r.band && r.band->nominal_hz == 500) range_b = &r;
  compare_values(want.mid, got.mid, allowed, range_a->decay_range_db, range_b->decay_range_db,
                 where + ", mid", change);
}

ChannelAnalysis analyse(const std::vector<float>& samples, double rate,
                        BandKind kind = BandKind::kOctave) {
  ResponseFile file;
  file.sample_rate_hz = rate;
  file.channels = {samples};
  AnalysisOptions options;
  options.band_kind = kind;
  return analyse_file(file, options)->front();
}

ChannelAnalysis analyse_path(const std::filesystem::path& path) {
  const ReadResult read = read_response_file(path.string());
  if (!read.file) {
    ADD_FAILURE() << read.message;
    return {};
  }
  return analyse_file(*read.file, {})->front();
}

std::vector<float> with_zeros(const std::vector<float>& x, double rate, double before_s,
                              double behind_s) {
  std::vector<float> out(static_cast<std::size_t>(std::llround(before_s * rate)), 0.0f);
  out.insert(out.end(), x.begin(), x.end());
  out.resize(out.size() + static_cast<std::size_t>(std::llround(behind_s * rate)), 0.0f);
  return out;
}

std::vector<float> resampled(const std::vector<float>& x, double from, double to) {
  std::vector<float> out(static_cast<std::size_t>(std::ceil(x.size() * to / from)) + 64);
  std::size_t done = 0;
  const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
  const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_VHQ, 0);
  const soxr_error_t error = soxr_oneshot(from, to, 1, x.data(), x.size(), nullptr, out.data(),
                                          out.size(), &done, &io, &quality, nullptr);
  EXPECT_EQ(error, nullptr) << error;
  out.resize(done);
  return out;
}

void write_sound_file(const std::filesystem::path& path, const std::vector<float>& x, double rate,
                      int format) {
  SF_INFO info{};
  info.samplerate = static_cast<int>(rate);
  info.channels = 1;
  info.format = format;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
  // Integer formats take floats at full scale 1.0, clipped rather than
  // wrapped (no sample here comes near it).
  sf_command(f, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  EXPECT_EQ(sf_writef_float(f, x.data(), static_cast<sf_count_t>(x.size())),
            static_cast<sf_count_t>(x.size()));
  sf_close(f);
}

void print_worst() {
  std::printf("largest change per kind, in just-noticeable differences:\n");
  for (const auto& [change, worst] : g_worst)
    std::printf("  %-28s %7.4f  %s\n", change.c_str(), worst.first, worst.second.c_str());
  g_worst.clear();
}

TEST(Invariance, SilenceBeforeOrBehindChangesNothing) {
  for (const MeasuredLike& m : kResponses) {
    const std::vector<float> x = testing::measured_like(m);
    const ChannelAnalysis base = analyse(x, m.rate_hz);
    for (const double before_ms : {1.0, 20.0, 200.0, 500.0}) {
      compare(base, analyse(with_zeros(x, m.rate_hz, before_ms / 1000, 0), m.rate_hz), 0.1,
              m.name, std::to_string(static_cast<int>(before_ms)) + " ms of zeros before");
    }
    compare(base, analyse(with_zeros(x, m.rate_hz, 0, 1.0), m.rate_hz), 0.1, m.name,
            "1 s of zeros behind");
  }
  print_worst();
}

TEST(Invariance, FileFormatsAndGainChangeNothing) {
  const formats::TestTempDir dir;
  for (const MeasuredLike& m : kResponses) {
    const std::vector<float> x = testing::measured_like(m);
    const ChannelAnalysis base = analyse(x, m.rate_hz);
    const struct {
      const char* name;
      int format;
    } kFormats[] = {{"16-bit WAVE", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
                    {"24-bit WAVE", SF_FORMAT_WAV | SF_FORMAT_PCM_24},
                    {"float WAVE", SF_FORMAT_WAV | SF_FORMAT_FLOAT},
                    {"24-bit FLAC", SF_FORMAT_FLAC | SF_FORMAT_PCM_24}};
    for (const auto& f : kFormats) {
      const std::filesystem::path path = dir / (std::string("response.") +
                                                ((f.format & SF_FORMAT_FLAC) ? "flac" : "wav"));
      write_sound_file(path, x, m.rate_hz, f.format);
      compare(base, analyse_path(path), 0.1, m.name, f.name);
    }
    // The converter's .TIM file of the 16-bit WAVE file.
    const std::filesystem::path wave = dir / "take.wav";
    write_sound_file(wave, x, m.rate_hz, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    const std::filesystem::path tim = dir / "take.tim";
    const std::string command = formats::test::shell_quoted(IRGEN_PROGRAM) + " " +
                                formats::test::shell_quoted(wave.string()) + " " +
                                formats::test::shell_quoted(tim.string()) + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    compare(base, analyse_path(tim), 0.1, m.name, ".TIM from irgen");

    for (const float gain : {0.01f, 100.0f}) {
      std::vector<float> scaled = x;
      for (float& v : scaled) v *= gain;
      const std::filesystem::path path = dir / "scaled.wav";
      write_sound_file(path, scaled, m.rate_hz, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
      compare(base, analyse_path(path), 0.01, m.name,
              "float WAVE scaled by " + std::string(gain < 1 ? "0.01" : "100"));
    }
  }
  print_worst();
}

// The span of the broadband response follows the bands a rate has: 96 kHz
// adds the 16 kHz band, so its broadband values are of another span and
// are not compared. The resampler is given the response behind 20 ms of
// silence: cut at its first sample, a direct sound there would lose the
// half of its resampled pulse that falls before it (at 96 kHz a quarter of
// its low-frequency amplitude), which is no longer the same response.
TEST(Invariance, AnotherSamplingRateChangesLittle) {
  for (const MeasuredLike& m : kResponses) {
    const std::vector<float> x = testing::measured_like(m);
    const ChannelAnalysis base = analyse(x, m.rate_hz);
    for (const double rate : {44100.0, 48000.0, 96000.0}) {
      if (rate == m.rate_hz) continue;
      compare(base, analyse(resampled(with_zeros(x, m.rate_hz, 0.02, 0), m.rate_hz, rate), rate),
              0.25, m.name, "resampled to " + std::to_string(static_cast<int>(rate)) + " Hz");
    }
  }
  print_worst();
}

// Noise above the top band that outweighs the tail there by far (as a
// converter's can) leaves the broadband values as they are without it:
// the broadband response is that of the bands' span. Noise just above the
// top band's edge raises the floor of the broadband response as much as
// that of the top band, so a decay time may go missing with it; every value
// both give agrees. Unfiltered, the same noise leaves the response hardly
// any decay range at all.
TEST(Invariance, NoiseOutsideTheBandsLeavesTheBroadbandValues) {
  const MeasuredLike& m = kResponses[2];
  MeasuredLike clean = m;
  clean.hf_noise_below_peak_db = kNone;
  const BandAnalysis without = analyse(testing::measured_like(clean), clean.rate_hz).broadband();
  const std::vector<float> x = testing::measured_like(m);
  const BandAnalysis with = analyse(x, m.rate_hz).broadband();
  for (const Parameter p : kParameters) {
    if (p == Parameter::kPnr) continue;
    const ParameterValue& a = without.parameters[p];
    const ParameterValue& b = with.parameters[p];
    ASSERT_TRUE(a.value) << parameter_label(p) << ": " << a.missing;
    if (!b.value) {
      EXPECT_GT(needed_range_db(p), *with.decay_range_db)
          << parameter_label(p) << ": " << b.missing;
      continue;
    }
    const double unit = jnd(p) > 0.0 ? jnd(p) : 0.05 * *a.value;
    EXPECT_LE(std::fabs(*b.value - *a.value) / unit, 0.25)
        << parameter_label(p) << ": " << *b.value << " against " << *a.value;
  }
  EXPECT_GT(*with.decay_range_db, 35.0);
  const BandAnalysis unfiltered = analyse_band(x, m.rate_hz, std::nullopt, false);
  ASSERT_TRUE(unfiltered.decay_range_db);
  EXPECT_LT(*unfiltered.decay_range_db, *with.decay_range_db - 10.0);
}

// The third-octave bands hold the same: silence, gain, another rate.
TEST(Invariance, ThirdOctaveBandsHoldTheSame) {
  const BandKind third = BandKind::kThird;
  for (const MeasuredLike& m : {kResponses[0], kResponses[1]}) {
    const std::vector<float> x = testing::measured_like(m);
    const ChannelAnalysis base = analyse(x, m.rate_hz, third);
    for (const double before_s : {0.0, 0.02, 0.5}) {
      compare(base, analyse(with_zeros(x, m.rate_hz, before_s, 1.0), m.rate_hz, third), 0.1,
              m.name + ", thirds", "zeros before and behind");
    }
    std::vector<float> scaled = x;
    for (float& v : scaled) v *= 100.0f;
    compare(base, analyse(scaled, m.rate_hz, third), 0.01, m.name + ", thirds", "scaled by 100");
    const double rate = m.rate_hz == 48000 ? 44100 : 48000;
    const std::vector<float> other = resampled(with_zeros(x, m.rate_hz, 0.02, 0), m.rate_hz, rate);
    compare(base, analyse(other, rate, third), 0.25, m.name + ", thirds", "resampled");
  }
  print_worst();
}

TEST(Invariance, SwappedChannelsSwapTheResultsExactly) {
  ResponseFile file;
  file.sample_rate_hz = 48000;
  file.channels = {testing::measured_like(kResponses[0]), testing::measured_like(kResponses[2])};
  const std::vector<ChannelAnalysis> straight = *analyse_file(file, {});
  std::swap(file.channels[0], file.channels[1]);
  const std::vector<ChannelAnalysis> swapped = *analyse_file(file, {});
  for (std::size_t c = 0; c < 2; ++c) {
    const ChannelAnalysis& a = straight[c];
    const ChannelAnalysis& b = swapped[1 - c];
    ASSERT_EQ(a.results.size(), b.results.size());
    for (std::size_t i = 0; i < a.results.size(); ++i) {
      for (const Parameter p : kParameters) {
        EXPECT_EQ(a.results[i].parameters[p].value, b.results[i].parameters[p].value);
        EXPECT_EQ(a.results[i].parameters[p].missing, b.results[i].parameters[p].missing);
      }
    }
    for (const Parameter p : kParameters) EXPECT_EQ(a.mid[p].value, b.mid[p].value);
  }
}

}  // namespace
}  // namespace analysis
