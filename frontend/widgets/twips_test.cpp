#include "frontend/widgets/twips.h"

#include <gtest/gtest.h>

namespace frontend {
namespace {

TEST(TwipsTest, OneInchIsTheLogicalDpiInPixels) {
  EXPECT_EQ(twipsToPixels(1440, 96), 96);
  EXPECT_EQ(twipsToPixels(1440, 120), 120);
  EXPECT_EQ(twipsToPixels(5580, 96), 372);
  EXPECT_EQ(twipsToPixels(0, 96), 0);
}

TEST(TwipsTest, RoundsToTheNearestPixel) {
  EXPECT_EQ(twipsToPixels(195, 96), 13);  // 13.0
  EXPECT_EQ(twipsToPixels(252, 96), 17);  // 16.8
  EXPECT_EQ(twipsToPixels(7, 96), 0);     // 0.47
  EXPECT_EQ(twipsToPixels(8, 96), 1);     // 0.53
  EXPECT_EQ(twipsRect(120, 60, 5352, 912, 144), QRect(12, 6, 535, 91));
}

}  // namespace
}  // namespace frontend
