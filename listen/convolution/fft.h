// The real-input FFT of the auralisation, the only code that sees the FFT
// library (FFTW3, double precision: docs/architecture.md has the measurement
// that chose it). A plan per object, made once and reused for every
// transform of its length.
//
// forward() turns the size() samples of time() into the size()/2 + 1 bins of
// spectrum(), X[k] = sum_t x[t] e^(-2 pi i k t / n), unscaled; inverse()
// turns the bins back into n samples times n (also unscaled), overwriting
// the bins. Objects may be made, used and destroyed on any thread; one
// object is used by one thread at a time.
#ifndef LISTEN_CONVOLUTION_FFT_H_
#define LISTEN_CONVOLUTION_FFT_H_

#include <complex>
#include <cstddef>

namespace listen {

class RealFft {
 public:
  explicit RealFft(std::size_t n);  // REQUIRES: n even, n >= 2
  ~RealFft();
  RealFft(const RealFft&) = delete;
  RealFft& operator=(const RealFft&) = delete;

  std::size_t size() const { return n_; }
  std::size_t bin_count() const { return n_ / 2 + 1; }

  double* time() { return time_; }                        // size() values
  std::complex<double>* spectrum() { return spectrum_; }  // bin_count() values

  void forward();
  void inverse();

 private:
  std::size_t n_;
  double* time_;
  std::complex<double>* spectrum_;
  void* forward_plan_;
  void* inverse_plan_;
};

}  // namespace listen

#endif  // LISTEN_CONVOLUTION_FFT_H_
