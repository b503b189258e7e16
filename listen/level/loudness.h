// Integrated loudness per ITU-R BS.1770 (K-weighting, 400 ms blocks, the
// absolute gate at -70 LUFS and the relative gate 10 LU below), measured on
// interleaved frames as they pass, through libebur128 (the only file that
// includes it). Channels are weighted as left and right (1.0 each): a mono
// signal is measured as one channel.
#ifndef LISTEN_LEVEL_LOUDNESS_H_
#define LISTEN_LEVEL_LOUDNESS_H_

#include <cstddef>
#include <span>

namespace listen {

class LoudnessMeter {
 public:
  // REQUIRES: 1 or 2 channels, an integer rate of at least 1000 Hz.
  LoudnessMeter(std::size_t channels, double sample_rate_hz);
  ~LoudnessMeter();
  LoudnessMeter(const LoudnessMeter&) = delete;
  LoudnessMeter& operator=(const LoudnessMeter&) = delete;

  void add(std::span<const float> frames);

  // The integrated loudness in LUFS of everything added; minus infinity
  // when nothing passes the gates (silence, or less than 400 ms).
  double integrated_lufs() const;

 private:
  void* state_;
  std::size_t channels_;
};

}  // namespace listen

#endif  // LISTEN_LEVEL_LOUDNESS_H_
