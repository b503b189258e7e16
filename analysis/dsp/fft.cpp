#include "analysis/dsp/fft.h"

#include <kiss_fftr.h>

#include <new>

namespace analysis {

struct RealFft::Plan {
  kiss_fftr_cfg config = nullptr;
  ~Plan() { kiss_fftr_free(config); }
};

RealFft::RealFft(std::size_t n) : n_(n), plan_(std::make_unique<Plan>()) {
  plan_->config = kiss_fftr_alloc(static_cast<int>(n), 0, nullptr, nullptr);
  if (plan_->config == nullptr) throw std::bad_alloc();
}

RealFft::~RealFft() = default;

void RealFft::forward(std::span<const float> in, std::span<std::complex<float>> out) {
  // std::complex<float> is laid out as two floats, real part first, as
  // kiss_fft_cpx is.
  kiss_fftr(plan_->config, in.data(), reinterpret_cast<kiss_fft_cpx*>(out.data()));
}

std::size_t fast_fft_size(std::size_t n) {
  if (n < 2) return 2;
  return static_cast<std::size_t>(kiss_fftr_next_fast_size_real(static_cast<int>(n)));
}

}  // namespace analysis
