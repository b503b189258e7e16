#include "analysis/dsp/spectrum.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "analysis/dsp/fft.h"

namespace analysis {
namespace {

float to_db(double power) {
  if (!(power > 0.0)) return kSpectrumFloorDb;
  return std::max(static_cast<float>(10.0 * std::log10(power)), kSpectrumFloorDb);
}

// Sums over ranges of bins, each made of sums of its parts (a segment
// tree): no difference of large partial sums, so a quiet stretch beside a
// loud one keeps its level.
class RangeSums {
 public:
  explicit RangeSums(const std::vector<double>& values) : n_(values.size()), tree_(2 * n_) {
    std::copy(values.begin(), values.end(), tree_.begin() + static_cast<std::ptrdiff_t>(n_));
    for (std::size_t i = n_ - 1; i > 0; --i) tree_[i] = tree_[2 * i] + tree_[2 * i + 1];
  }
  double sum(std::size_t lo, std::size_t hi) const {  // over [lo, hi]
    double s = 0.0;
    for (lo += n_, hi += n_ + 1; lo < hi; lo /= 2, hi /= 2) {
      if (lo & 1) s += tree_[lo++];
      if (hi & 1) s += tree_[--hi];
    }
    return s;
  }

 private:
  std::size_t n_;
  std::vector<double> tree_;
};

}  // namespace

Spectrum magnitude_spectrum(std::span<const float> response, double sample_rate_hz) {
  Spectrum s;
  if (response.empty()) return s;
  const std::size_t n = fast_fft_size(response.size());
  std::vector<float> padded(n, 0.0f);
  std::copy(response.begin(), response.end(), padded.begin());
  RealFft fft(n);
  std::vector<std::complex<float>> bins(fft.bin_count());
  fft.forward(padded, bins);
  s.bin_hz = sample_rate_hz / static_cast<double>(n);
  s.level_db.resize(bins.size());
  for (std::size_t k = 0; k < bins.size(); ++k)
    s.level_db[k] = to_db(std::norm(std::complex<double>(bins[k])));
  return s;
}

Spectrum smooth_spectrum(const Spectrum& spectrum, Smoothing smoothing) {
  if (smoothing == Smoothing::kNone || spectrum.level_db.size() < 2) return spectrum;
  const double b = smoothing == Smoothing::kOctave        ? 1.0
                   : smoothing == Smoothing::kThirdOctave ? 3.0
                                                          : 6.0;
  const double ratio = std::pow(2.0, 1.0 / (2.0 * b));
  const std::size_t count = spectrum.level_db.size();
  std::vector<double> power(count);
  for (std::size_t k = 0; k < count; ++k) power[k] = std::pow(10.0, spectrum.level_db[k] / 10.0);
  const RangeSums sums(power);
  Spectrum out = spectrum;
  for (std::size_t k = 1; k < count; ++k) {
    const double at = static_cast<double>(k);
    const auto lo =
        std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(at / ratio - 1e-9)));
    const auto hi = std::min(count - 1, static_cast<std::size_t>(std::floor(at * ratio + 1e-9)));
    out.level_db[k] = to_db(sums.sum(lo, hi) / static_cast<double>(hi - lo + 1));
  }
  return out;
}

}  // namespace analysis
