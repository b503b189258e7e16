// The analysis's readers on arbitrary bytes, as irinfo uses them, and the
// analysis on what they accept. The first byte picks the name: "fuzz.tim"
// (read as a .TIM file whatever its tag) or "fuzz.wav" by its lowest bit,
// by the next whether the analysis covers the octave bands or only the
// broadband response, by the third whether the speech index and a pair's
// cross-correlation are computed too; the rest is the file. A file is either refused with
// one message line that names it, or read with values that hold together:
// channels of equal length within the limits, a sampling rate in range,
// finite samples not all zero; a .TIM file's samples bit for bit as the
// bytes hold them and its head and trailer as the writer encodes them; an
// audio file's samples the same after a round trip through a float WAVE
// file. The analysis then gives every parameter a finite value or a
// reason, never both, with decay times above zero, D50 within 0..1 and C50
// agreeing with D50.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "analysis/analyse.h"
#include "analysis/read/audio_codec.h"
#include "analysis/read/read_response.h"
#include "analysis/spatial/iacc.h"
#include "analysis/speech/sti.h"
#include "formats/byte_order.h"
#include "formats/tim_file.h"
#include "fuzz/property.h"

namespace {

using analysis::Parameter;

// Longer responses are only read: the analysis of every band would slow
// the run to a few hundred inputs a second (from a few thousand).
constexpr std::size_t kAnalysedPoints = 1024;

void check_tim(std::span<const std::uint8_t> bytes, const analysis::ResponseFile& f) {
  FUZZ_REQUIRE(f.channels.size() == 1);
  const std::vector<float>& samples = f.channels[0];
  const auto head = formats::encode_tim_head({f.tim->acquisition_mode, f.tim->sample_interval_ms,
                                              static_cast<std::int32_t>(samples.size())});
  FUZZ_REQUIRE(std::memcmp(head.data() + 4, bytes.data() + 4, head.size() - 4) == 0);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    FUZZ_REQUIRE(std::bit_cast<std::uint32_t>(samples[i]) ==
                 formats::load_u32le(bytes.data() + formats::kTimHeadSize + 4 * i));
  }
  const std::size_t trailer =
      formats::tim_trailer_offset(static_cast<std::int32_t>(samples.size()));
  FUZZ_REQUIRE(f.tim->has_trailer == (bytes.size() >= trailer + formats::kTimTrailerSize));
  if (f.tim->has_trailer) {
    const formats::TimTrailerInfo info =
        formats::decode_tim_trailer(bytes.subspan(trailer).first<formats::kTimTrailerSize>());
    FUZZ_REQUIRE(info.timestamp == f.tim->timestamp);
    FUZZ_REQUIRE(info.source_name == f.tim->source_name);
    FUZZ_REQUIRE(std::bit_cast<std::uint32_t>(info.level_factor) ==
                 std::bit_cast<std::uint32_t>(f.tim->level_factor));
  }
}

void check_audio_round_trip(const analysis::ResponseFile& f) {
  const auto rate = static_cast<int>(f.sample_rate_hz);
  const std::vector<std::uint8_t> again = analysis::encode_audio(
      f.channels, rate, analysis::AudioContainer::kWave, analysis::AudioEncoding::kFloat32);
  FUZZ_REQUIRE(!again.empty());
  const analysis::ReadResult back = analysis::decode_response(again, "again.wav");
  FUZZ_REQUIRE(back.file.has_value());
  FUZZ_REQUIRE(back.file->sample_rate_hz == rate);
  FUZZ_REQUIRE(back.file->channels == f.channels);
}

void check_analysis(const analysis::ResponseFile& f, bool bands) {
  analysis::AnalysisOptions options;
  options.octave_bands = bands;
  double last = 0.0;
  const auto result = analysis::analyse_file(f, options, [&](double done) {
    FUZZ_REQUIRE(done > last && done <= 1.0);
    last = done;
    return true;
  });
  FUZZ_REQUIRE(result.has_value() && last == 1.0);
  FUZZ_REQUIRE(result->size() == f.channels.size());
  for (const analysis::ChannelAnalysis& channel : *result) {
    for (Parameter p : analysis::kParameters) {
      const analysis::ParameterValue& v = channel.mid[p];
      FUZZ_REQUIRE(v.value.has_value() != !v.missing.empty());
      FUZZ_REQUIRE(v.missing.find_first_of(";\n") == std::string::npos);
      if (v.value) FUZZ_REQUIRE(std::isfinite(*v.value));
    }
    FUZZ_REQUIRE(channel.results.size() ==
                 (bands ? analysis::bands_for_rate(f.sample_rate_hz).size() : 0) + 1);
    for (const analysis::BandAnalysis& r : channel.results) {
      for (Parameter p : analysis::kParameters) {
        const analysis::ParameterValue& v = r.parameters[p];
        FUZZ_REQUIRE(v.value.has_value() != !v.missing.empty());
        FUZZ_REQUIRE(v.missing.find_first_of(";\n") == std::string::npos);
        if (v.value) FUZZ_REQUIRE(std::isfinite(*v.value));
      }
      for (Parameter p : {Parameter::kEdt, Parameter::kT20, Parameter::kT30, Parameter::kTs}) {
        if (r.parameters[p].value) FUZZ_REQUIRE(*r.parameters[p].value > 0.0);
      }
      const auto& d50 = r.parameters[Parameter::kD50].value;
      const auto& c50 = r.parameters[Parameter::kC50].value;
      if (d50) FUZZ_REQUIRE(*d50 > 0.0 && *d50 <= 1.0);
      if (d50 && c50 && *d50 < 0.999) {
        FUZZ_REQUIRE(std::fabs(*c50 - 10.0 * std::log10(*d50 / (1.0 - *d50))) <
                     1e-6 * (1.0 + std::fabs(*c50)));
      }
    }
  }
}

// The speech index and, for two channels, the pair's cross-correlation:
// each a number in range or a reason, never both.
void check_room(const analysis::ResponseFile& f) {
  const auto check = [](const analysis::ParameterValue& v, double low, double high) {
    FUZZ_REQUIRE(v.value.has_value() != !v.missing.empty());
    if (v.value) FUZZ_REQUIRE(*v.value >= low && *v.value <= high);
  };
  for (const std::vector<float>& samples : f.channels) {
    const analysis::SpeechIndex s =
        analysis::speech_transmission_index(samples, f.sample_rate_hz, std::nullopt);
    check(s.sti, 0.0, 1.0);
    FUZZ_REQUIRE(s.category.empty() == !s.sti.value);
  }
  if (f.channels.size() != 2) return;
  const analysis::BinauralAnalysis b =
      analysis::analyse_binaural(f.channels[0], f.channels[1], f.sample_rate_hz);
  for (const analysis::BandIacc& r : b.results) {
    check(r.values.early, 0.0, 1.0);
    check(r.values.late, 0.0, 1.0);
    check(r.values.all, 0.0, 1.0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string name = data[0] & 1 ? "fuzz.tim" : "fuzz.wav";
  const std::span<const std::uint8_t> bytes(data + 1, size - 1);
  analysis::ReadLimits limits;
  limits.points = 1 << 14;
  limits.samples = 1 << 15;
  const analysis::ReadResult r = analysis::decode_response(bytes, name, limits);

  FUZZ_REQUIRE(r.file.has_value() == (r.problem == analysis::ReadProblem::kNone));
  if (!r.file) {
    FUZZ_REQUIRE(r.message.rfind(name + ": ", 0) == 0);
    FUZZ_REQUIRE(r.message.size() > name.size() + 2);
    FUZZ_REQUIRE(r.message.find('\n') == std::string::npos);
    FUZZ_REQUIRE(analysis::exit_status(r.problem) == 1 || analysis::exit_status(r.problem) == 2);
    return 0;
  }
  const analysis::ResponseFile& f = *r.file;
  FUZZ_REQUIRE(r.message.empty() && !f.format.empty());
  FUZZ_REQUIRE(!f.channels.empty() && f.channels.size() <= analysis::kMaxChannels);
  FUZZ_REQUIRE(f.points() >= 2 && f.points() <= limits.points);
  FUZZ_REQUIRE(f.points() * f.channels.size() <= limits.samples || f.tim);
  FUZZ_REQUIRE(f.sample_rate_hz >= analysis::kMinSampleRateHz &&
               f.sample_rate_hz <= analysis::kMaxSampleRateHz);
  bool any = false;
  for (const std::vector<float>& ch : f.channels) {
    FUZZ_REQUIRE(ch.size() == f.points());
    for (float x : ch) {
      FUZZ_REQUIRE(std::isfinite(x));
      any = any || x != 0.0f;
    }
  }
  FUZZ_REQUIRE(any);
  const analysis::Peak peak = analysis::find_peak(f);
  FUZZ_REQUIRE(peak.value != 0.0f && peak.channel < f.channels.size() && peak.index < f.points());

  if (f.tim) {
    check_tim(bytes, f);
  } else {
    check_audio_round_trip(f);
  }
  if (f.points() <= kAnalysedPoints) {
    check_analysis(f, (data[0] & 2) != 0);
    if (data[0] & 4) check_room(f);
  }
  return 0;
}
