#include "frontend/filter_editor/band_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace frontend {

namespace {

// A limit in single precision; a double beyond its range (which a cast would
// leave undefined) becomes the largest single of its sign.
float toSingle(double value) {
  constexpr double kLargest = std::numeric_limits<float>::max();
  return static_cast<float>(std::clamp(value, -kLargest, kLargest));
}

}  // namespace

int positionOf(double gain, float bottomLimit, float topLimit) {
  const double bottom = bottomLimit;
  const double top = topLimit;
  const double exact = (gain - bottom) * 20000.0 / (top - bottom) - 10000.0;
  if (!(exact > kBottomPosition)) return kBottomPosition;  // NaN included
  if (exact >= kTopPosition) return kTopPosition;
  // Halves go to the even neighbour.
  double rounded = std::floor(exact + 0.5);
  if (rounded - exact == 0.5 && std::fmod(rounded, 2.0) != 0) rounded -= 1;
  return static_cast<int>(rounded);
}

double gainAt(int position, float bottomLimit, float topLimit) {
  const double bottom = bottomLimit;
  const double top = topLimit;
  // One division at the end: the products and the sum are exact in double
  // for single-precision limits, so a gain that lies on the scale comes out
  // as the double nearest to it (0.005, not 0.00500000000000256, under
  // limits of -50 and +50), and the slider ends give the limits exactly.
  return ((top - bottom) * (position + 10000.0) + 20000.0 * bottom) / 20000.0;
}

BandModel::BandModel() {
  bands_.frequency = kStandardCentres;
  bands_.gain.fill(0.0);
}

bool BandModel::moveSlider(int band, int position) {
  position = std::clamp(position, kBottomPosition, kTopPosition);
  if (positions_[band] == position) return false;
  positions_[band] = position;
  bands_.gain[band] = gainAt(position, bottom_, top_);
  return true;
}

bool BandModel::applyBandValue(int band, double value) {
  if (value > top_) value = top_;
  if (value < bottom_) value = bottom_;
  bands_.gain[band] = value;
  return moveSlider(band, positionOf(value, bottom_, top_));
}

BandSet BandModel::placeSliders() {
  BandSet changed;
  for (int band = 0; band < kBandCount; ++band)
    changed[band] = moveSlider(band, positionOf(bands_.gain[band], bottom_, top_));
  return changed;
}

std::optional<BandSet> BandModel::applyTopLimit(double typed) {
  float top = toSingle(std::min(typed, kHighestTypedLimit));
  for (double gain : bands_.gain)
    if (gain > top) top = toSingle(gain);
  if (!(top > bottom_)) return std::nullopt;
  top_ = top;
  return placeSliders();
}

std::optional<BandSet> BandModel::applyBottomLimit(double typed) {
  float bottom = toSingle(std::max(typed, kLowestTypedLimit));
  for (double gain : bands_.gain)
    if (gain < bottom) bottom = toSingle(gain);
  if (!(bottom < top_)) return std::nullopt;
  bottom_ = bottom;
  return placeSliders();
}

BandSet BandModel::load(const FilterBands& bands) {
  bands_ = bands;
  for (double gain : bands_.gain) {
    if (gain > top_) top_ = toSingle(gain);
    if (gain < bottom_) bottom_ = toSingle(gain);
  }
  return placeSliders();
}

}  // namespace frontend
