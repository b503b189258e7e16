#include "analysis/dsp/band_signals.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace analysis {
namespace {

constexpr double kRingingDecayNepers = 13.815510557964274;  // 120 dB of amplitude

// The larger magnitude of a section's two poles, the roots of
// z^2 + a1 z + a2.
double pole_radius(const Biquad& s) {
  const std::complex<double> d = std::sqrt(std::complex<double>(s.a1 * s.a1 - 4.0 * s.a2));
  return std::max(std::abs((-s.a1 + d) / 2.0), std::abs((-s.a1 - d) / 2.0));
}

}  // namespace

std::size_t ringing_length(const Cascade& cascade) {
  double radius = 0.0;
  for (const Biquad& s : cascade) radius = std::max(radius, pole_radius(s));
  if (!(radius > 0.0)) return 0;
  if (!(radius < 1.0)) return 0;  // no stable design reaches here
  return static_cast<std::size_t>(std::ceil(kRingingDecayNepers / -std::log(radius)));
}

std::span<const double> BandSignals::band(double nominal_hz) const {
  for (std::size_t i = 0; i < bands.size(); ++i) {
    if (bands[i].nominal_hz == nominal_hz) return filtered[i];
  }
  return {};
}

BandSignals band_signals(std::span<const float> samples, double rate,
                         const std::vector<OctaveBand>& bands) {
  BandSignals out;
  out.bands = bands;
  std::vector<std::optional<Cascade>> filters;
  std::size_t ringing = 0;
  for (const OctaveBand& b : bands) {
    filters.push_back(octave_filter(b, rate));
    if (filters.back()) ringing = std::max(ringing, ringing_length(*filters.back()));
  }
  out.unfiltered.resize(samples.size() + ringing);
  std::copy(samples.begin(), samples.end(), out.unfiltered.begin());
  std::fill(out.unfiltered.begin() + static_cast<std::ptrdiff_t>(samples.size()),
            out.unfiltered.end(), 0.0);
  out.filtered.resize(bands.size());
  const std::span<const double> x = out.unfiltered;
  // Two bands at a time where both have a filter: one pass for the pair.
  for (std::size_t b = 0; b < bands.size();) {
    if (!filters[b]) {
      ++b;
      continue;
    }
    Signal& first = out.filtered[b];
    first.resize(x.size());
    if (b + 1 < bands.size() && filters[b + 1]) {
      Signal& second = out.filtered[b + 1];
      second.resize(x.size());
      filter_forward_pair(*filters[b], *filters[b + 1], x, first, second);
      b += 2;
    } else {
      std::copy(x.begin(), x.end(), first.begin());
      filter_forward(*filters[b], first);
      ++b;
    }
  }
  return out;
}

std::vector<OctaveBand> octave_bands_between(double low_hz, double high_hz) {
  std::vector<OctaveBand> out;
  for (const OctaveBand& b : octave_bands()) {
    if (b.nominal_hz >= low_hz && b.nominal_hz <= high_hz) out.push_back(b);
  }
  return out;
}

}  // namespace analysis
