// What irinfo computes of a file beyond the decay parameters: per channel
// the band signals 125 Hz .. 8 kHz (analysis/dsp/band_signals.h), which
// the speech transmission index and a binaural pair's cross-correlation
// share, and the speech transmission index; and the command-line values
// that set its conditions.
#ifndef IRINFO_ROOM_ROOM_ANALYSIS_H_
#define IRINFO_ROOM_ROOM_ANALYSIS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/dsp/band_signals.h"
#include "analysis/response.h"
#include "analysis/speech/sti.h"

namespace irinfo {

struct ChannelRoom {
  analysis::BandSignals signals;
  analysis::SpeechIndex speech;
};

std::vector<ChannelRoom> room_analysis(const analysis::ResponseFile& file,
                                       const std::optional<analysis::SpeechConditions>& conditions);

// "60" or "62.5": a level in dB, finite, within -50 .. 200; nullopt otherwise.
std::optional<double> parse_level(std::string_view text);
// Seven levels separated by commas, 125 Hz .. 8 kHz; nullopt otherwise.
std::optional<analysis::SpeechBandValues> parse_noise_levels(std::string_view text);

}  // namespace irinfo

#endif  // IRINFO_ROOM_ROOM_ANALYSIS_H_
