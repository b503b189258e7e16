#include "listen/convolution/convolver.h"

#include <algorithm>
#include <bit>

namespace listen {

std::size_t default_block_frames(std::size_t frames) {
  // Longer blocks cost fewer operations per frame until the transforms stop
  // fitting the caches; 65536 was the fastest for a 6 s response here.
  return std::clamp<std::size_t>(std::bit_ceil(std::max<std::size_t>(frames, 1)), 64, 65536);
}

Convolver::Convolver(const std::vector<std::vector<float>>& response, std::size_t dry_channels,
                     std::vector<Route> routes, std::size_t block_frames)
    : response_frames_(response.empty() ? 0 : response[0].size()),
      dry_channels_(dry_channels),
      routes_(std::move(routes)) {
  block_ = block_frames != 0 ? block_frames : default_block_frames(response_frames_);
  bins_ = block_ + 1;
  partitions_ = std::max<std::size_t>(1, (response_frames_ + block_ - 1) / block_);
  fft_ = std::make_unique<RealFft>(2 * block_);
  const double scale = 1.0 / static_cast<double>(2 * block_);

  response_.resize(response.size());
  for (std::size_t r = 0; r < response.size(); ++r) {
    for (std::size_t p = 0; p < partitions_; ++p) {
      double* t = fft_->time();
      std::fill(t, t + 2 * block_, 0.0);
      const std::size_t begin = p * block_;
      const std::size_t end = std::min(begin + block_, response[r].size());
      for (std::size_t i = begin; i < end; ++i) t[i - begin] = response[r][i] * scale;
      fft_->forward();
      response_[r].emplace_back(fft_->spectrum(), fft_->spectrum() + bins_);
    }
  }
  recent_.assign(dry_channels_, std::vector<Spectrum>(partitions_, Spectrum(bins_)));
  overlap_.assign(routes_.size(), std::vector<double>(block_, 0.0));
}

Convolver::~Convolver() = default;

void Convolver::process(std::span<const float> dry, std::span<float> out) {
  newest_ = (newest_ + 1) % partitions_;
  const std::size_t frames = std::min(block_, dry.size() / dry_channels_);
  for (std::size_t d = 0; d < dry_channels_; ++d) {
    double* t = fft_->time();
    std::fill(t, t + 2 * block_, 0.0);
    for (std::size_t i = 0; i < frames; ++i) t[i] = dry[i * dry_channels_ + d];
    fft_->forward();
    std::copy(fft_->spectrum(), fft_->spectrum() + bins_, recent_[d][newest_].begin());
  }
  const std::size_t outputs = routes_.size();
  for (std::size_t o = 0; o < outputs; ++o) {
    // The sum of products, written out in real and imaginary parts: the
    // library's complex product checks for infinities on every multiply.
    auto* acc = reinterpret_cast<double*>(fft_->spectrum());
    std::fill(acc, acc + 2 * bins_, 0.0);
    for (std::size_t p = 0; p < partitions_; ++p) {
      const std::size_t slot = (newest_ + partitions_ - p) % partitions_;
      const auto* x = reinterpret_cast<const double*>(recent_[routes_[o].dry][slot].data());
      const auto* h = reinterpret_cast<const double*>(response_[routes_[o].response][p].data());
      for (std::size_t k = 0; k < 2 * bins_; k += 2) {
        acc[k] += x[k] * h[k] - x[k + 1] * h[k + 1];
        acc[k + 1] += x[k] * h[k + 1] + x[k + 1] * h[k];
      }
    }
    fft_->inverse();
    const double* y = fft_->time();
    std::vector<double>& tail = overlap_[o];
    for (std::size_t i = 0; i < block_; ++i) {
      out[i * outputs + o] = static_cast<float>(y[i] + tail[i]);
      tail[i] = y[block_ + i];
    }
  }
}

}  // namespace listen
