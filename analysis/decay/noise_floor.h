// The noise floor of an impulse response and the point where its decay
// meets it, by Lundeby's iterative method:
//   1. the squared response is averaged over blocks (block_s, 10 ms or
//      more), from the onset;
//   2. a first noise level is the mean of the last tenth of the response;
//   3. a line is fitted to the block levels from the loudest block down to
//      10 dB above that noise; where it meets the noise is the crosspoint;
//   4. again, up to five times: blocks of a length that gives five blocks
//      per 10 dB of decay; the noise from 10 dB of decay behind the
//      crosspoint (at least the last tenth) to the end, less what the line
//      says the decay still adds there; a line fitted to
//      the levels, noise taken off, from 30 dB down to 10 dB above the
//      noise; a new crosspoint, until it moves by less than a block.
// A floor is "reached" when the noise window is stationary: a line fitted
// to its levels falls by less than half the decay's slope. Otherwise the
// decay runs to the end of the data (a response with no noise in it): the
// truncation is the end and `noise` is the level of the last tenth.
//
// The late decay line is what the energy behind the truncation point is
// extrapolated from (the compensation of the energy lost by truncating).
#ifndef ANALYSIS_DECAY_NOISE_FLOOR_H_
#define ANALYSIS_DECAY_NOISE_FLOOR_H_

#include <cstddef>
#include <span>
#include <string>

namespace analysis {

// A straight decay in dB of mean-square level over sample index n:
// level(n) = intercept_db + slope_db * n.
struct DecayLine {
  double slope_db = 0.0;  // dB per sample, negative for a decay
  double intercept_db = 0.0;

  double at(double n) const { return intercept_db + slope_db * n; }
  // The index where the line reaches level_db.
  double index_of(double level_db) const { return (level_db - intercept_db) / slope_db; }
};

struct NoiseFloor {
  bool decay_found = false;  // false: nothing below holds beyond `noise`
  std::string problem;       // why no decay was found
  bool floor_reached = false;
  double noise = 0.0;  // mean square per sample of the floor (see above)
  // The window the noise was measured over: noise_from .. the end.
  std::size_t noise_from = 0;
  std::size_t truncation = 0;  // integration ends before this index
  DecayLine late_decay;        // valid when decay_found
  int iterations = 0;
};

// `energy`: squared samples of the whole response (index 0 = first sample of
// the file), with its trailing zeros left out; `onset` < energy.size().
NoiseFloor find_noise_floor(std::span<const double> energy, std::size_t onset,
                            double sample_rate_hz, double block_s);

}  // namespace analysis

#endif  // ANALYSIS_DECAY_NOISE_FLOOR_H_
