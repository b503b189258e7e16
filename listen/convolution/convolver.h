// The convolution of a dry signal with a response, block by block: a
// uniformly partitioned overlap-add convolution in the frequency domain, in
// double precision. The response is cut into partitions of block_frames()
// points; each block of dry frames is transformed once, kept for as many
// blocks as there are partitions, and every output channel sums the
// products of the kept blocks with its response's partitions, so the work
// per frame grows with the response's length over the block length and the
// memory with the response's length alone, never with the dry's.
//
// The output of block i is the block of output frames that begins with dry
// frame i * block_frames(): convolving dry frames x and response h, output
// frame n is sum_k x[n - k] h[k] exactly as the direct sum gives it, up to
// rounding of about 1e-15 of the output's peak.
#ifndef LISTEN_CONVOLUTION_CONVOLVER_H_
#define LISTEN_CONVOLUTION_CONVOLVER_H_

#include <complex>
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "listen/convolution/channels.h"
#include "listen/convolution/fft.h"

namespace listen {

class Convolver {
 public:
  // `response` holds the response's channels, all of one length of at least
  // one point; every route names a channel of the dry (dry_channels of them)
  // and of the response. block_frames 0 chooses the block length from the
  // response's length (the power of two at or above it, within 64 .. 65536), else it is taken as
  // given (REQUIRES: even).
  Convolver(const std::vector<std::vector<float>>& response, std::size_t dry_channels,
            std::vector<Route> routes, std::size_t block_frames = 0);
  ~Convolver();
  Convolver(const Convolver&) = delete;
  Convolver& operator=(const Convolver&) = delete;

  std::size_t block_frames() const { return block_; }
  std::size_t output_channels() const { return routes_.size(); }
  std::size_t response_frames() const { return response_frames_; }

  // Takes one block of dry frames, interleaved (block_frames() frames of
  // dry_channels samples; fewer at the end, the rest taken as zeros), and
  // writes the block of output frames, interleaved, into `out`
  // (REQUIRES: out.size() == block_frames() * output_channels()).
  void process(std::span<const float> dry, std::span<float> out);

 private:
  using Spectrum = std::vector<std::complex<double>>;

  std::size_t block_;
  std::size_t bins_;
  std::size_t partitions_;
  std::size_t response_frames_;
  std::size_t dry_channels_;
  std::vector<Route> routes_;
  // [response channel][partition]: the partition's spectrum, scaled by
  // 1 / (2 block) so that the unscaled inverse gives the output.
  std::vector<std::vector<Spectrum>> response_;
  // [dry channel][slot]: the spectra of the last `partitions_` dry blocks;
  // slot `newest_` holds the latest.
  std::vector<std::vector<Spectrum>> recent_;
  std::size_t newest_ = 0;
  // [output channel]: the second half of the last inverse transform.
  std::vector<std::vector<double>> overlap_;
  std::unique_ptr<RealFft> fft_;
};

// The block length Convolver chooses for a response of `frames` points.
std::size_t default_block_frames(std::size_t frames);

}  // namespace listen

#endif  // LISTEN_CONVOLUTION_CONVOLVER_H_
