#include "console/parse.h"

#include <gtest/gtest.h>

#include <string>

namespace console {
namespace {

TEST(ParseFixed, AcceptedFields) {
  struct Case {
    std::string_view field;
    int decimals;
    float value;
  };
  const Case cases[] = {
      {"94.5", 3, 94.5f},
      {"94", 3, 0.094f},
      {"-12.25", 3, -12.25f},
      {"                    ", 3, 0.0f},
      {"", 3, 0.0f},
      {" 9 4 . 5 ", 3, 94.5f},    // blanks anywhere are ignored
      {"+100.0", 3, 100.0f},
      {"94000", 3, 94.0f},
      {"5", 3, 0.005f},
      {"-7", 3, -0.007f},
      {"1.5e2", 3, 150.0f},
      {"1.5D-1", 3, 0.15f},
      {"15e2", 3, 0.015e2f},      // implied decimals, then the exponent
      {".5", 3, 0.5f},
      {"7.", 3, 7.0f},
      {"94", 0, 94.0f},
      {"1e-60", 3, 0.0f},         // below the single range: zero
  };
  for (const Case& c : cases) {
    std::optional<float> value = parse_fixed(c.field, c.decimals);
    ASSERT_TRUE(value) << "'" << c.field << "'";
    EXPECT_EQ(*value, c.value) << "'" << c.field << "' with " << c.decimals;
  }
}

TEST(ParseFixed, RefusedFields) {
  for (std::string_view field :
       {"abc", "94,5", "1.2.3", "-", "+.", "e5", "1e", "1e+", "1x", "94.5dB",
        "1.0e39", "--1", "0x10"}) {
    EXPECT_FALSE(parse_fixed(field, 3)) << "'" << field << "'";
  }
}

TEST(ParseInteger, Fields) {
  EXPECT_EQ(parse_integer("1"), 1);
  EXPECT_EQ(parse_integer("  - 1 2 "), -12);
  EXPECT_EQ(parse_integer("+0"), 0);
  EXPECT_EQ(parse_integer("          "), 0);
  EXPECT_EQ(parse_integer("-9223372036854775808"), INT64_MIN);
  EXPECT_FALSE(parse_integer("9223372036854775808"));
  EXPECT_FALSE(parse_integer("1.0"));
  EXPECT_FALSE(parse_integer("one"));
  EXPECT_FALSE(parse_integer("-"));
}

TEST(ParseFree, FirstItemOfTheLine) {
  EXPECT_EQ(parse_free_real("94.5")->value, 94.5f);
  EXPECT_EQ(parse_free_real("  94.5  80")->value, 94.5f);
  EXPECT_EQ(parse_free_real("94,80")->value, 94.0f);   // no implied decimals
  EXPECT_EQ(parse_free_real("-1.5e1")->value, -15.0f);
  EXPECT_EQ(parse_free_integer(" 1 , 2")->value, 1);
  EXPECT_EQ(parse_free_integer("-3")->value, -3);
}

TEST(ParseFree, EmptyAnswersAreNullValues) {
  for (std::string_view line : {"", "   ", ",", "  , 5"}) {
    auto real = parse_free_real(line);
    ASSERT_TRUE(real) << "'" << line << "'";
    EXPECT_TRUE(real->empty) << "'" << line << "'";
    auto integer = parse_free_integer(line);
    ASSERT_TRUE(integer);
    EXPECT_TRUE(integer->empty);
  }
}

TEST(ParseFree, WrongForms) {
  EXPECT_FALSE(parse_free_real("abc"));
  EXPECT_FALSE(parse_free_real("4x 94"));
  EXPECT_TRUE(parse_free_real("94 x"));  // only the first item counts
  EXPECT_FALSE(parse_free_integer("1.0"));
  EXPECT_FALSE(parse_free_integer("MLS"));
}

}  // namespace
}  // namespace console
