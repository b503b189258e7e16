// Float samples to the integer codes of a PCM output: scaled by the gain,
// then 16-bit samples with TPDF dither (the sum of two independent uniform
// values of one step each, so the error is independent of the signal) and
// 24-bit samples rounded to the nearest code. The dither comes from a fixed
// pseudo-random sequence, so that one auralisation always gives the same
// bytes, whichever program writes it. Codes are clamped to the format's
// range; listen/level/gain.h refuses any gain that would need it.
#ifndef LISTEN_LEVEL_QUANTISE_H_
#define LISTEN_LEVEL_QUANTISE_H_

#include <cstdint>
#include <span>

#include "listen/files/output_format.h"

namespace listen {

class Quantiser {
 public:
  // REQUIRES: samples is kPcm16 or kPcm24.
  explicit Quantiser(SampleFormat samples, std::uint64_t seed = 0x9e3779b97f4a7c15u);

  // out[i] = the code of in[i] * gain, -2^(bits-1) .. 2^(bits-1) - 1,
  // scaled to 32 bits (shifted left by 32 - bits) as the audio library
  // takes integers. REQUIRES: out.size() == in.size().
  void codes(std::span<const float> in, double gain, std::span<std::int32_t> out);

 private:
  double uniform();  // 0 .. 1

  int bits_;
  std::uint64_t state_;
};

}  // namespace listen

#endif  // LISTEN_LEVEL_QUANTISE_H_
