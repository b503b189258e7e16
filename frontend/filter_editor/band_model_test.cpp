#include "frontend/filter_editor/band_model.h"

#include <gtest/gtest.h>

namespace frontend {
namespace {

TEST(BandModel, ValueToPositionRoundsHalvesToEvenAndClamps) {
  struct Case {
    double gain;
    float bottom, top;
    int expected;
  };
  const Case cases[] = {
      {0, -50, 50, 0},         {50, -50, 50, 10000},      {-50, -50, 50, -10000},
      {80, -50, 50, 10000},    {-1e300, -50, 50, -10000}, {-7.33, -50, 50, -1466},
      {0.0025, -50, 50, 0},    {0.0075, -50, 50, 2},  // 0.5 and 1.5 go to the even side
      {-0.0025, -50, 50, 0},   {-0.0075, -50, 50, -2},    {5, -10, 10, 5000},
      {62.5, -50, 62.5, 10000}, {-120, -120, 50, -10000},
  };
  for (const Case& c : cases)
    EXPECT_EQ(positionOf(c.gain, c.bottom, c.top), c.expected)
        << c.gain << " under " << c.bottom << ".." << c.top;
}

TEST(BandModel, SliderEndsGiveTheLimitsExactly) {
  for (auto [bottom, top] : {std::pair{-50.f, 50.f}, {-120.f, 62.5f}, {-0.3f, 0.1f}}) {
    EXPECT_EQ(gainAt(kTopPosition, bottom, top), double(top));
    EXPECT_EQ(gainAt(kBottomPosition, bottom, top), double(bottom));
    EXPECT_DOUBLE_EQ(gainAt(0, bottom, top), (double(top) + bottom) / 2);
  }
}

TEST(BandModel, OpensWithStandardCentresAtZeroAndLimitsOfFifty) {
  const BandModel model;
  EXPECT_EQ(model.bands().frequency, kStandardCentres);
  for (int band = 0; band < kBandCount; ++band) {
    EXPECT_EQ(model.gain(band), 0);
    EXPECT_EQ(model.position(band), 0);
  }
  EXPECT_EQ(model.topLimit(), 50);
  EXPECT_EQ(model.bottomLimit(), -50);
}

TEST(BandModel, BandValuesAreClampedAndQuantisedOnlyWhenTheSliderMoves) {
  struct Case {
    double typed;
    double gain;
    int position;
    bool moved;
  };
  // Each case starts from the opening state, slider 3 in the middle.
  const Case cases[] = {
      {80, 50, 10000, true},       {-130, -50, -10000, true}, {-7.33, -7.33, -1466, true},
      {0.002, 0.002, 0, false},  // stays in the middle: the typed value is kept
      {0.003, 0.005, 1, true},     {0, 0, 0, false},
  };
  for (const Case& c : cases) {
    BandModel model;
    EXPECT_EQ(model.applyBandValue(3, c.typed), c.moved) << c.typed;
    EXPECT_NEAR(model.gain(3), c.gain, 1e-12) << c.typed;
    EXPECT_EQ(model.position(3), c.position) << c.typed;
    EXPECT_EQ(model.gain(2), 0);
  }

  BandModel model;
  EXPECT_TRUE(model.moveSlider(0, 20000));  // beyond the end: kept at the end
  EXPECT_EQ(model.position(0), kTopPosition);
  EXPECT_EQ(model.gain(0), 50);
  model.applyBandValue(1, 0.002);
  EXPECT_FALSE(model.moveSlider(1, 0));  // same position: the gain stays
  EXPECT_EQ(model.gain(1), 0.002);
}

TEST(BandModel, TypedLimitsAreBoundedWidenedToTheBandsAndReplaceSliders) {
  struct Case {
    bool top;
    double typed;
    float expectedLimit;
  };
  // Bands at +10 (band 0) and -5 (band 1), the others at 0.
  const Case cases[] = {
      {true, 150, 100},  {true, -20, 10},  {true, 20, 20},    {true, 1e300, 100},
      {false, -130, -100}, {false, 20, -5}, {false, -1e300, -100}, {false, -7.5, -7.5},
  };
  for (const Case& c : cases) {
    BandModel model;
    model.applyBandValue(0, 10);
    model.applyBandValue(1, -5);
    const std::optional<BandSet> moved =
        c.top ? model.applyTopLimit(c.typed) : model.applyBottomLimit(c.typed);
    ASSERT_TRUE(moved) << c.typed;
    EXPECT_EQ(c.top ? model.topLimit() : model.bottomLimit(), c.expectedLimit) << c.typed;
    for (int band = 0; band < kBandCount; ++band) {
      EXPECT_EQ(model.position(band),
                positionOf(model.gain(band), model.bottomLimit(), model.topLimit()));
      EXPECT_LE(model.gain(band), model.topLimit());
      EXPECT_GE(model.gain(band), model.bottomLimit());
    }
    // The bands at 0 stay in the middle only under symmetric limits.
    EXPECT_EQ((*moved)[5], model.position(5) != 0) << c.typed;
  }
}

TEST(BandModel, NarrowingKeepsTheValuesWithinTheNewResolution) {
  BandModel model;
  const double values[] = {9.5, -3.25, 7, 0.1, -9.99, 2, 4, -6, 8, -1};
  for (int band = 0; band < kBandCount; ++band) model.applyBandValue(band, values[band]);
  ASSERT_TRUE(model.applyTopLimit(10));
  ASSERT_TRUE(model.applyBottomLimit(-10));
  for (int band = 0; band < kBandCount; ++band) {
    EXPECT_NEAR(model.gain(band), values[band], 100.0 / 20000 / 2 + 20.0 / 20000 / 2) << band;
    EXPECT_EQ(model.position(band), positionOf(model.gain(band), -10, 10));
  }
  // Applying the same limit again moves nothing.
  EXPECT_EQ(model.applyTopLimit(10), BandSet());
}

TEST(BandModel, LimitsThatWouldMeetAreRefused) {
  BandModel model;  // every band at 0
  ASSERT_TRUE(model.applyBottomLimit(0));
  EXPECT_EQ(model.bottomLimit(), 0);
  EXPECT_FALSE(model.applyTopLimit(0));
  EXPECT_FALSE(model.applyTopLimit(-30));  // widened to 0, equal again
  EXPECT_EQ(model.topLimit(), 50);
  ASSERT_TRUE(model.applyTopLimit(0.5));
  for (int band = 0; band < kBandCount; ++band) model.applyBandValue(band, 0.5);
  EXPECT_FALSE(model.applyBottomLimit(3));  // lowered to 0.5, equal to the top
  EXPECT_EQ(model.bottomLimit(), 0);
}

TEST(BandModel, LoadingWidensTheLimitsButNeverNarrowsThem) {
  FilterBands file{kStandardCentres, {}};
  struct Case {
    double gain0, gain1;
    float bottom, top;  // limits in force before the load
    float expectedBottom, expectedTop;
  };
  const Case cases[] = {
      {62.5, -6.5, -50, 50, -50, 62.5},  {-120, 3, -50, 50, -120, 50},
      {15, -20, -20, 20, -20, 20},      {30, -20, -20, 20, -20, 30},
  };
  for (const Case& c : cases) {
    BandModel model;
    ASSERT_TRUE(model.applyTopLimit(c.top));
    ASSERT_TRUE(model.applyBottomLimit(c.bottom));
    file.gain = {c.gain0, c.gain1, 3, 0, 0.001, 0, 0, 0, 0, 0};
    model.load(file);
    EXPECT_EQ(model.topLimit(), c.expectedTop);
    EXPECT_EQ(model.bottomLimit(), c.expectedBottom);
    EXPECT_EQ(model.bands().frequency, kStandardCentres);
    EXPECT_EQ(model.gain(0), c.gain0);  // at a slider end: exactly the limit
    for (int band = 0; band < kBandCount; ++band)
      EXPECT_NEAR(model.gain(band), file.gain[band],
                  (double(model.topLimit()) - model.bottomLimit()) / 20000);
  }
}

TEST(BandModel, GainsOnTheSliderScaleAreSavedAgainAsLoaded) {
  BandModel model;
  const FilterBands file{kStandardCentres, {-49.995, 0.005, 12.25, -3.5, 0, 1, 2, 3, 4, 5}};
  model.load(file);
  EXPECT_EQ(filterFileText(model.bands()), filterFileText(file));
}

}  // namespace
}  // namespace frontend
