#include "listen/convolution/fft.h"

#include <fftw3.h>

#include <mutex>
#include <new>

namespace listen {
namespace {

// FFTW's planner is not re-entrant; executing a plan is.
std::mutex& planner_lock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

RealFft::RealFft(std::size_t n) : n_(n) {
  std::lock_guard<std::mutex> hold(planner_lock());
  time_ = fftw_alloc_real(n);
  spectrum_ = reinterpret_cast<std::complex<double>*>(fftw_alloc_complex(n / 2 + 1));
  if (time_ == nullptr || spectrum_ == nullptr) throw std::bad_alloc();
  auto* bins = reinterpret_cast<fftw_complex*>(spectrum_);
  // FFTW_ESTIMATE: measuring plans costs seconds at these lengths, far more
  // than it saves over one run.
  const int size = static_cast<int>(n);
  forward_plan_ = fftw_plan_dft_r2c_1d(size, time_, bins, FFTW_ESTIMATE);
  inverse_plan_ = fftw_plan_dft_c2r_1d(size, bins, time_, FFTW_ESTIMATE);
  for (std::size_t i = 0; i < n; ++i) time_[i] = 0.0;
}

RealFft::~RealFft() {
  std::lock_guard<std::mutex> hold(planner_lock());
  fftw_destroy_plan(static_cast<fftw_plan>(forward_plan_));
  fftw_destroy_plan(static_cast<fftw_plan>(inverse_plan_));
  fftw_free(time_);
  fftw_free(spectrum_);
}

void RealFft::forward() { fftw_execute(static_cast<fftw_plan>(forward_plan_)); }

void RealFft::inverse() { fftw_execute(static_cast<fftw_plan>(inverse_plan_)); }

}  // namespace listen
