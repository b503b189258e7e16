#include "console/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace console {
namespace {

TEST(FitField, CutsAndPads) {
  EXPECT_EQ(fit_field(std::string(45, 'a') , 40), std::string(40, 'a'));
  EXPECT_EQ(fit_field("abc", 40), "abc" + std::string(37, ' '));
  EXPECT_EQ(fit_field("", 10), std::string(10, ' '));
}

TEST(Fields, CompareAfterBlankPadding) {
  EXPECT_TRUE(fields_equal("abc", "abc     "));
  EXPECT_FALSE(fields_equal("abc", "ABC"));
  EXPECT_TRUE(fields_equal("", "   "));
  // A field of NUL bytes sorts below a blank; one of blanks equals it.
  EXPECT_LT(compare_fields(std::string(40, '\0'), " "), 0);
  EXPECT_EQ(compare_fields(std::string(40, ' '), " "), 0);
  EXPECT_GT(compare_fields("a", " "), 0);
  EXPECT_GT(compare_fields("\xe9", "a"), 0);  // bytes compare unsigned
}

TEST(TrimBlanks, DropsOnlyOuterBlanks) {
  EXPECT_EQ(trim_blanks("  a b  "), "a b");
  EXPECT_EQ(trim_blanks("    "), "");
  EXPECT_EQ(trim_blanks(""), "");
}

TEST(FormatInteger, RightJustifiedOrAsterisks) {
  EXPECT_EQ(format_integer(4096, 8), "    4096");
  EXPECT_EQ(format_integer(-7, 8), "      -7");
  EXPECT_EQ(format_integer(0, 4), "   0");
  EXPECT_EQ(format_integer(12345, 4), "****");
  EXPECT_EQ(format_integer(-123, 3), "***");
  EXPECT_EQ(format_integer(123, 3), "123");
}

TEST(FormatReal, Table) {
  struct Case {
    double value;
    int width;
    int decimals;
    std::string_view text;
  };
  const Case cases[] = {
      {1234.5, 10, 2, "   1234.50"},
      {12345678.0, 10, 2, "**********"},
      {0.25, 10, 2, "       .25"},
      {0.0, 10, 2, "       .00"},
      {-0.25, 10, 2, "      -.25"},
      {-0.0, 10, 2, "       .00"},
      {0.125, 6, 2, "   .13"},     // half away from zero
      {-0.125, 6, 2, "  -.13"},
      {0.994, 6, 2, "   .99"},
      {0.99501, 6, 2, "  1.00"},   // carries into the whole part
      {0.995, 6, 2, "   .99"},     // the double just below 0.995
      {99.996, 6, 2, "100.00"},
      {999.996, 6, 2, "******"},
      {94.5, 8, 3, "  94.500"},
      {0.0004, 6, 3, "  .000"},
      {0.0005, 6, 3, "  .001"},
      {123.4, 5, 0, " 123."},
      {0.4, 4, 0, "  0."},
      {1e20, 25, 1, "  100000000000000000000.0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(format_real(c.value, c.width, c.decimals), c.text)
        << c.value << " in F" << c.width << "." << c.decimals;
  }
}

TEST(FormatReal, SingleIsRoundedFromTheValueItHolds) {
  // 0.1f is 0.100000001490116..., 0.145f is 0.144999995827..., 2.675f is
  // 2.67499995231...: what shows is the stored value, not the shorter
  // decimal it was written from.
  EXPECT_EQ(format_real(0.1f, 11, 9), " .100000001");
  EXPECT_EQ(format_real(0.022675738f, 11, 9), " .022675738");
  EXPECT_EQ(format_real(0.145f, 10, 2), "       .14");
  EXPECT_EQ(format_real(2.675f, 10, 2), "      2.67");
}

TEST(FormatReal, NonFiniteValues) {
  EXPECT_EQ(format_real(std::numeric_limits<double>::quiet_NaN(), 5, 1), "  NaN");
  EXPECT_EQ(format_real(-HUGE_VAL, 5, 1), " -Inf");
  EXPECT_EQ(format_real(HUGE_VAL, 2, 1), "**");
}

}  // namespace
}  // namespace console
