// An impulse-response file as the analysis sees it: every channel as float
// samples at one sampling rate, and the facts a reader found on the way.
// Samples of integer formats are scaled to -1..1 (full scale is 1.0); float
// formats keep their values. Each channel is one impulse response.
#ifndef ANALYSIS_RESPONSE_H_
#define ANALYSIS_RESPONSE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace analysis {

// What the trailer and the head of a .TIM file say beyond the samples.
struct TimDetails {
  float sample_interval_ms = 0.0f;  // from the head
  std::int16_t acquisition_mode = 0;
  bool has_trailer = false;  // false: the file ends behind the samples
  // From the trailer (empty or zero without one). Texts are as stored, so
  // they may hold any bytes.
  std::string title;
  std::string timestamp;
  std::string source_name;
  float level_factor = 0.0f;
};

struct ResponseFile {
  // "TIM (32-bit float)", "WAVE (24-bit PCM)", "FLAC (16-bit PCM)", ...
  std::string format;
  double sample_rate_hz = 0.0;
  // One vector per channel, all of the same length, at least one sample.
  std::vector<std::vector<float>> channels;
  std::optional<TimDetails> tim;  // for .TIM files only

  std::size_t points() const { return channels.empty() ? 0 : channels[0].size(); }
  double duration_s() const { return static_cast<double>(points()) / sample_rate_hz; }
};

// The sample of largest magnitude over all channels; the first one when
// several share it.
struct Peak {
  float value = 0.0f;  // with its sign
  std::size_t channel = 0;  // 0-based
  std::size_t index = 0;
  double time_s = 0.0;  // index / sampling rate
};
Peak find_peak(const ResponseFile& file);

// The samples up to the last one that is not zero: the zero padding behind a
// response (irgen pads every .TIM file to a fixed length) is no part of it.
// Empty for a channel of zeros only.
std::span<const float> without_trailing_zeros(std::span<const float> samples);

}  // namespace analysis

#endif  // ANALYSIS_RESPONSE_H_
