// The filter editor's data: ten octave bands (centre frequency and gain in
// dB), the display limits BottomLimit and TopLimit, and the position of each
// band's slider, which runs from +10000 (TopLimit) to -10000 (BottomLimit).
//
// Two rules tie a position to its band's gain:
// - value to position: (gain - BottomLimit) * 20000 / (TopLimit -
//   BottomLimit) - 10000, rounded to the nearest integer, halves to the even
//   neighbour, kept within -10000..+10000 (positionOf);
// - slider change: whenever a position changes, the gain is derived afresh
//   from it in double precision, (TopLimit - BottomLimit) * ((position +
//   10000) / 20000) + BottomLimit, evaluated with a single rounding
//   (gainAt). Setting the position a slider
//   already has changes nothing, the gain included.
// Every operation keeps BottomLimit <= gain <= TopLimit for every band, and
// TopLimit > BottomLimit. The limits are single precision.
//
// Operations that move sliders return the set of bands whose position
// changed, in which the window rewrites the band's field.
#ifndef FRONTEND_FILTER_EDITOR_BAND_MODEL_H_
#define FRONTEND_FILTER_EDITOR_BAND_MODEL_H_

#include <array>
#include <bitset>
#include <optional>

#include "filter_file/filter_file.h"

namespace frontend {

inline constexpr int kTopPosition = 10000;
inline constexpr int kBottomPosition = -10000;
inline constexpr float kDefaultTopLimit = 50;
inline constexpr float kDefaultBottomLimit = -50;
// The bounds of a typed limit.
inline constexpr double kHighestTypedLimit = 100;
inline constexpr double kLowestTypedLimit = -100;

// The standard centre frequencies in Hz, used when no file is loaded.
inline constexpr std::array<double, kBandCount> kStandardCentres = {
    31.5, 63, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};

using BandSet = std::bitset<kBandCount>;

int positionOf(double gain, float bottomLimit, float topLimit);
double gainAt(int position, float bottomLimit, float topLimit);

class BandModel {
 public:
  // The editor opened without a filter file: the standard centres at 0 dB,
  // every slider in the middle, limits of -50 and +50.
  BandModel();

  const FilterBands& bands() const { return bands_; }
  double gain(int band) const { return bands_.gain[band]; }
  int position(int band) const { return positions_[band]; }
  const std::array<int, kBandCount>& positions() const { return positions_; }
  float topLimit() const { return top_; }
  float bottomLimit() const { return bottom_; }

  // A slider moved to `position` (by the user or by the program): the
  // slider-change rule. `position` is kept within -10000..+10000. True when
  // the position changed.
  bool moveSlider(int band, int position);

  // A band field applied: `value` clamped into the limits (TopLimit first),
  // then the slider set to its position. The gain keeps the clamped value
  // when the position stays; otherwise it is derived from the new position.
  // True when the position changed.
  bool applyBandValue(int band, double value);

  // A typed upper limit: above 100 it becomes 100; it is raised to the
  // highest gain; then every slider is placed under the new limits, in band
  // order, each changed one re-deriving its gain. Refused, changing nothing,
  // when the result would not lie above BottomLimit (all gains equal to it).
  // Nullopt when refused.
  std::optional<BandSet> applyTopLimit(double typed);
  // The same for the lower limit: below -100 it becomes -100; it is lowered
  // to the lowest gain; refused when it would not lie below TopLimit.
  std::optional<BandSet> applyBottomLimit(double typed);

  // Bands read from a filter file: the limits widened just enough to contain
  // every gain (never narrowed), then every slider placed as above. The
  // gains must be finite and within single precision, as readFilterFile
  // gives them.
  BandSet load(const FilterBands& bands);

 private:
  BandSet placeSliders();

  FilterBands bands_;
  std::array<int, kBandCount> positions_{};
  float top_ = kDefaultTopLimit;
  float bottom_ = kDefaultBottomLimit;
};

}  // namespace frontend

#endif  // FRONTEND_FILTER_EDITOR_BAND_MODEL_H_
