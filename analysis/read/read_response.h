// Reading an impulse-response file of any kind the analysis knows: .TIM
// files through formats/, audio files (WAVE 8/16/24/32-bit PCM and 32/64-bit
// float, WAVE_FORMAT_EXTENSIBLE, RF64, AIFF, FLAC and whatever else the
// audio library reads) through analysis/read/audio_codec.h.
//
// A file is a .TIM file when it begins with the .TIM tag or its name ends in
// ".tim" (any case); everything else is handed to the audio reader. The
// whole file is read into memory first (at most kMaxFileBytes), so pipes
// work and nothing is allocated on the word of a header alone.
//
// Every failure is a value: a problem kind and one message that names the
// file and says what is wrong with it.
#ifndef ANALYSIS_READ_READ_RESPONSE_H_
#define ANALYSIS_READ_READ_RESPONSE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "analysis/response.h"

namespace analysis {

inline constexpr std::size_t kMaxFileBytes = std::size_t{1} << 30;  // 1 GiB
inline constexpr std::size_t kMaxChannels = 64;

// How much a file may hold once decoded (a compressed file may decode to
// far more than its own size). Files beyond either limit are refused.
struct ReadLimits {
  std::size_t points = std::size_t{1} << 24;   // per channel
  std::size_t samples = std::size_t{1} << 26;  // over all channels
};
// Sampling rates outside this range are refused.
inline constexpr double kMinSampleRateHz = 1000.0;
inline constexpr double kMaxSampleRateHz = 1000000.0;

enum class ReadProblem {
  kNone,
  kCannotOpen,  // missing, unreadable, a folder
  kReadFailed,  // the system failed while reading, or the file ends early
  kRefused,     // read, but not an impulse response this program can use
};

struct ReadResult {
  std::optional<ResponseFile> file;  // set exactly when problem is kNone
  ReadProblem problem = ReadProblem::kNone;
  std::string message;  // "<name>: <what>", empty when problem is kNone
};

// The exit status the console programs give for a problem: 0 for kNone, 1
// for kCannotOpen and kReadFailed, 2 for kRefused.
int exit_status(ReadProblem problem);

// Reads the file `path` (UTF-8). Its name in messages is `path` as given.
ReadResult read_response_file(const std::string& path);

// Decodes a whole file held in memory; `name` is used in messages and for
// the ".tim" test. Pure apart from the audio library's own work.
// Refused, with a message saying which: no channel, a sampling rate outside
// kMinSampleRateHz..kMaxSampleRateHz, fewer than two points or more than
// the limits allow, more than kMaxChannels channels, a sample that is not a
// finite number, every sample zero. A .TIM file shorter than its head and
// the samples the head promises is kReadFailed ("ends early"), as for the
// converters; a negative or zero point count, or a sample interval that is
// no positive number, is refused.
ReadResult decode_response(std::span<const std::uint8_t> bytes, std::string_view name,
                           const ReadLimits& limits = {});

}  // namespace analysis

#endif  // ANALYSIS_READ_READ_RESPONSE_H_
