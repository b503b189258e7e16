// The real-input FFT of the analysis, the only code that sees the FFT
// library (KissFFT, its single-precision build). One plan per length, made
// when the object is made and reused for every transform of that length.
//
// forward() takes n real samples (float) and gives the n/2 + 1 bins
// X[k] = sum_t x[t] e^(-2 pi i k t / n), k = 0 .. n/2, unscaled: a unit
// impulse gives 1 in every bin, n equal samples of 1 give n in bin 0.
// n must be even and at least 2.
#ifndef ANALYSIS_DSP_FFT_H_
#define ANALYSIS_DSP_FFT_H_

#include <complex>
#include <cstddef>
#include <memory>
#include <span>

namespace analysis {

class RealFft {
 public:
  explicit RealFft(std::size_t n);  // REQUIRES: n even, n >= 2
  ~RealFft();
  RealFft(const RealFft&) = delete;
  RealFft& operator=(const RealFft&) = delete;

  std::size_t size() const { return n_; }
  std::size_t bin_count() const { return n_ / 2 + 1; }

  // REQUIRES: in.size() == size(), out.size() == bin_count().
  void forward(std::span<const float> in, std::span<std::complex<float>> out);

 private:
  struct Plan;
  std::size_t n_;
  std::unique_ptr<Plan> plan_;
};

// The smallest even length >= n (and >= 2) that the library transforms
// quickly (its factors are 2, 3 and 5).
std::size_t fast_fft_size(std::size_t n);

}  // namespace analysis

#endif  // ANALYSIS_DSP_FFT_H_
