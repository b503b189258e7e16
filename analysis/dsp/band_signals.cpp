#include "analysis/dsp/band_signals.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace analysis {
namespace {

// The zeros behind the samples: room for the filters to ring down by this
// much.
constexpr double kRingingDecayDb = 120.0;

}  // namespace

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
    if (filters.back()) ringing = std::max(ringing, ringing_length(*filters.back(), kRingingDecayDb));
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
