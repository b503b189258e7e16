// The audio codec of a build without libsndfile (ANALYSIS_AUDIO_FILES off):
// every audio file is refused, nothing is written.
#include "analysis/read/audio_codec.h"

namespace analysis {

DecodedAudio decode_audio(std::span<const std::uint8_t>, std::size_t, std::size_t,
                          std::size_t) {
  DecodedAudio out;
  out.status = AudioStatus::kUnavailable;
  return out;
}

std::vector<std::uint8_t> encode_audio(const std::vector<std::vector<float>>&, int,
                                       AudioContainer, AudioEncoding) {
  return {};
}

}  // namespace analysis
