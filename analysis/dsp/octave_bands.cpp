#include "analysis/dsp/octave_bands.h"

#include <cmath>
#include <cstdio>

namespace analysis {
namespace {

constexpr double kNominal[kOctaveBandCount] = {31.5, 63,   125,  250,  500,
                                                1000, 2000, 4000, 8000, 16000};
constexpr const char* kLabels[kOctaveBandCount] = {"31.5", "63", "125", "250", "500",
                                                   "1k",   "2k", "4k",  "8k",  "16k"};
constexpr double kThirdNominal[kThirdBandCount] = {
    25,   31.5, 40,   50,   63,   80,   100,  125,  160,  200,   250,   315,   400,   500,   630,
    800,  1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300,  8000,  10000, 12500, 16000, 20000};
constexpr const char* kThirdLabels[kThirdBandCount] = {
    "25",  "31.5", "40",  "50",    "63",   "80",  "100",  "125", "160", "200",
    "250", "315",  "400", "500",   "630",  "800", "1k",   "1.25k", "1.6k", "2k",
    "2.5k", "3.15k", "4k", "5k",   "6.3k", "8k",  "10k",  "12.5k", "16k", "20k"};
// The prototype order of the band filters: 6 poles in 3 sections, or 8 in
// 4 for a band whose upper edge lies above a sixth of the sampling rate.
// There the bilinear transform's warping widens the band's lower skirt, and
// 6 poles fall up to 1.2 dB short of the stop-band limits at G^-2 and G^-3.
constexpr int kFilterOrder = 3;
constexpr int kHighBandFilterOrder = 4;
constexpr double kHighBandEdge = 1.0 / 6.0;
// Bands end below this share of the sampling rate.
constexpr double kTopOfBand = 0.45;
constexpr int kSpanFilterOrder = 6;

// 22.4 -> "22", 11220 -> "11k", 355 -> "355", 1410 -> "1.4k".
std::string short_hz(double hz) {
  char text[32];
  if (hz >= 10000) std::snprintf(text, sizeof text, "%.0fk", hz / 1000);
  else if (hz >= 1000) std::snprintf(text, sizeof text, "%.1fk", hz / 1000);
  else std::snprintf(text, sizeof text, "%.0f", hz);
  return text;
}

// 22.4 -> "22.4 Hz", 11220 -> "11.2 kHz".
std::string full_hz(double hz) {
  char text[32];
  if (hz >= 1000) std::snprintf(text, sizeof text, "%.3g kHz", hz / 1000);
  else std::snprintf(text, sizeof text, "%.3g Hz", hz);
  return text;
}

// The bands of 1/b octave whose k-th mid-band frequency from the lowest is
// 1000 * G^((k - thousand) / b).
template <std::size_t N>
std::array<OctaveBand, N> make_bands(BandKind kind, double b, int thousand, const double* nominal) {
  std::array<OctaveBand, N> bands;
  const double half = std::pow(kOctaveRatio, 1.0 / (2.0 * b));
  for (std::size_t i = 0; i < N; ++i) {
    OctaveBand& band = bands[i];
    band.index = static_cast<int>(i);
    band.kind = kind;
    band.nominal_hz = nominal[i];
    band.centre_hz = 1000.0 * std::pow(kOctaveRatio, (static_cast<double>(i) - thousand) / b);
    band.lower_hz = band.centre_hz / half;
    band.upper_hz = band.centre_hz * half;
  }
  return bands;
}

}  // namespace

const std::array<OctaveBand, kOctaveBandCount>& octave_bands() {
  static const auto bands =
      make_bands<kOctaveBandCount>(BandKind::kOctave, 1.0, 5, kNominal);
  return bands;
}

const std::array<OctaveBand, kThirdBandCount>& third_octave_bands() {
  static const auto bands =
      make_bands<kThirdBandCount>(BandKind::kThird, 3.0, 16, kThirdNominal);
  return bands;
}

std::span<const OctaveBand> bands_of(BandKind kind) {
  if (kind == BandKind::kThird) return third_octave_bands();
  return octave_bands();
}

std::vector<OctaveBand> bands_for_rate(double sample_rate_hz, BandKind kind) {
  std::vector<OctaveBand> out;
  for (const OctaveBand& b : bands_of(kind)) {
    if (b.upper_hz < kTopOfBand * sample_rate_hz) out.push_back(b);
  }
  return out;
}

std::string band_label(const OctaveBand& band) {
  const std::span<const OctaveBand> all = bands_of(band.kind);
  if (band.index < 0 || static_cast<std::size_t>(band.index) >= all.size()) return "?";
  return band.kind == BandKind::kThird ? kThirdLabels[band.index] : kLabels[band.index];
}

std::optional<Cascade> octave_filter(const OctaveBand& band, double sample_rate_hz) {
  const int order =
      band.upper_hz > kHighBandEdge * sample_rate_hz ? kHighBandFilterOrder : kFilterOrder;
  return butterworth_band_pass_hz(order, band.lower_hz, band.upper_hz, sample_rate_hz);
}

std::optional<BandSpan> broadband_span(double sample_rate_hz, BandKind kind) {
  const std::vector<OctaveBand> bands = bands_for_rate(sample_rate_hz, kind);
  if (bands.empty()) return std::nullopt;
  return BandSpan{bands.front().lower_hz, bands.back().upper_hz};
}

std::string span_label(const BandSpan& span) {
  return short_hz(span.lower_hz) + "-" + short_hz(span.upper_hz);
}

std::string span_text(const BandSpan& span) {
  return full_hz(span.lower_hz) + " to " + full_hz(span.upper_hz);
}

std::optional<Cascade> span_filter(const BandSpan& span, double sample_rate_hz) {
  return butterworth_band_pass_hz(kSpanFilterOrder, span.lower_hz, span.upper_hz, sample_rate_hz);
}

}  // namespace analysis
