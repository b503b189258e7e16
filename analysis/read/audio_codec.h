// The analysis's one contact with the audio library (libsndfile): decoding
// an audio file held in memory, and encoding one (for the tests and the
// fuzz harness's round trip). Built without the library (ANALYSIS_AUDIO_FILES off, the
// default for Windows), decoding refuses every file with kUnavailable and
// encoding fails. Re-entrant, except that the library keeps the text of a
// failed open in one static buffer: decode from one thread at a time when
// the detail of a failure matters.
#ifndef ANALYSIS_READ_AUDIO_CODEC_H_
#define ANALYSIS_READ_AUDIO_CODEC_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace analysis {

enum class AudioStatus {
  kOk,
  kUnavailable,  // this build reads no audio files
  kNotAudio,     // the library does not recognise the bytes
  kDamaged,      // recognised, but a frame could not be decoded
  kTooLarge,     // more channels, frames or samples than allowed
};

struct DecodedAudio {
  AudioStatus status = AudioStatus::kOk;
  std::string detail;  // the library's words for a failure; may be empty
  std::string format;  // "WAVE (24-bit PCM)", "AIFF (32-bit float)", ...
  double sample_rate_hz = 0.0;
  // Per channel; integer formats scaled to -1..1.
  std::vector<std::vector<float>> channels;
};

// Decodes at most max_frames frames of at most max_channels channels, and
// at most max_samples samples in all; more is kTooLarge.
DecodedAudio decode_audio(std::span<const std::uint8_t> bytes, std::size_t max_frames,
                          std::size_t max_channels, std::size_t max_samples);

// Containers and sample encodings encode_audio can write.
enum class AudioContainer { kWave, kWaveExtensible, kRf64, kAiff, kFlac };
enum class AudioEncoding { kPcm16, kPcm24, kPcm32, kFloat32, kFloat64 };

// The bytes of an audio file holding `channels` (all the same length) at an
// integer sampling rate. Empty when the library cannot write that
// combination (FLAC holds no float or 32-bit samples) or is not built in.
std::vector<std::uint8_t> encode_audio(const std::vector<std::vector<float>>& channels,
                                       int sample_rate_hz, AudioContainer container,
                                       AudioEncoding encoding);

}  // namespace analysis

#endif  // ANALYSIS_READ_AUDIO_CODEC_H_
