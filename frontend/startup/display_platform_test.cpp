#include "frontend/startup/display_platform.h"

#include <gtest/gtest.h>

namespace frontend {
namespace {

TEST(DisplayPlatformTest, X11IsChosenWhenReachableUnlessTheUserChoseAPlatform) {
  const struct {
    QString chosen;
    bool reachable;
    std::optional<QString> platform;
  } cases[] = {
      {"", true, "xcb"},
      {"", false, std::nullopt},
      {"wayland", true, std::nullopt},
      {"offscreen", false, std::nullopt},
      {"xcb", true, std::nullopt},  // already chosen: left as it is
  };
  for (const auto& c : cases)
    EXPECT_EQ(displayPlatformFor({c.chosen, c.reachable}), c.platform)
        << c.chosen.toStdString() << " " << c.reachable;
}

}  // namespace
}  // namespace frontend
