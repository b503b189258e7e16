#include "irinfo/room/room_analysis.h"

#include <charconv>
#include <cmath>

namespace irinfo {

std::vector<ChannelRoom> room_analysis(const analysis::ResponseFile& file,
                                       const std::optional<analysis::SpeechConditions>& conditions) {
  const std::vector<analysis::OctaveBand> bands = analysis::octave_bands_between(
      analysis::kSpeechBandHz.front(), analysis::kSpeechBandHz.back());
  std::vector<ChannelRoom> out;
  for (const std::vector<float>& samples : file.channels) {
    ChannelRoom& c = out.emplace_back();
    c.signals = analysis::band_signals(analysis::without_trailing_zeros(samples),
                                       file.sample_rate_hz, bands);
    c.speech = analysis::speech_transmission_index(c.signals, file.sample_rate_hz, conditions);
  }
  return out;
}

std::optional<double> parse_level(std::string_view text) {
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto r = std::from_chars(text.data(), end, value);
  if (text.empty() || r.ec != std::errc() || r.ptr != end || !std::isfinite(value) ||
      value < -50.0 || value > 200.0) {
    return std::nullopt;
  }
  return value;
}

std::optional<analysis::SpeechBandValues> parse_noise_levels(std::string_view text) {
  analysis::SpeechBandValues levels{};
  std::size_t k = 0;
  for (;;) {
    const std::size_t comma = text.find(',');
    if (k == levels.size()) return std::nullopt;
    const std::optional<double> level = parse_level(text.substr(0, comma));
    if (!level) return std::nullopt;
    levels[k++] = *level;
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (k != levels.size()) return std::nullopt;
  return levels;
}

}  // namespace irinfo
