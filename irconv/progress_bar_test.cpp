#include "irconv/progress_bar.h"

#include <gtest/gtest.h>

#include "console/fake_terminal.h"

namespace irconv {
namespace {

TEST(ProgressBar, DrawsAfterTheQuietSecondOncePerPercentAndWipesItself) {
  console::FakeTerminal terminal;
  double now = 100.0;
  {
    ProgressBar bar(terminal, true, [&] { return now; });
    now += 0.5;
    bar.show(0.2);  // within the first second: nothing
    EXPECT_EQ(terminal.err(), "");
    now += 0.6;
    bar.show(0.25);
    bar.show(0.251);  // the same percentage: not drawn again
    EXPECT_EQ(terminal.err(), "\r" + ProgressBar::line(0.25));
    bar.show(1.0);
  }
  const std::string wipe = "\r" + std::string(ProgressBar::line(0).size(), ' ') + "\r";
  EXPECT_EQ(terminal.err(), "\r" + ProgressBar::line(0.25) + "\r" + ProgressBar::line(1.0) + wipe);
  EXPECT_EQ(ProgressBar::line(0.25), "irconv: [##########..............................] 25 %");
  EXPECT_EQ(ProgressBar::line(1.0), "irconv: [########################################] 100 %");
}

}  // namespace
}  // namespace irconv
