#include "frontend/filter_editor/editor_numbers.h"

#include <gtest/gtest.h>

#include <limits>

namespace frontend {
namespace {

TEST(EditorNumbers, PatternsGiveTheFieldTexts) {
  struct Case {
    double value;
    const char16_t* pattern;
    const char* expected;
  };
  const Case cases[] = {
      {50, kLimitPattern, "+50.0"},
      {-100, kLimitPattern, "-100.0"},
      {0, kLimitPattern, "+0.0"},
      {62.5, kLimitPattern, "+62.5"},
      {-120, kLimitPattern, "-120.0"},
      {1234.5, kLimitPattern, "+1234.5"},  // never grouped
      {3.5, kBandPattern, "+3.5"},
      {-12, kBandPattern, "-12.0"},
      {-7.33, kBandPattern, "-7.3"},
      {0.05, kBandPattern, "+0.1"},  // halves away from zero
      {-0.05, kBandPattern, "-0.1"},
      {-0.04, kBandPattern, "+0.0"},  // rounds to zero: no minus sign
      {3, kLoadedBandPattern, "+3."},
      {-12, kLoadedBandPattern, "-12."},
      {3.46, kLoadedBandPattern, "+3.5"},
      {-6.5, kLoadedBandPattern, "-6.5"},
      {0, kLoadedBandPattern, "+0."},
      {2.96, kLoadedBandPattern, "+3."},
      {99.96, kLoadedBandPattern, "+100."},
  };
  for (const Case& c : cases)
    EXPECT_EQ(formatEditorNumber(c.value, c.pattern).toStdString(), c.expected)
        << c.value << " in " << QString::fromUtf16(c.pattern).toStdString();
}

TEST(EditorNumbers, FieldNumberIgnoresBlanksAndReadsExponents) {
  constexpr double kMax = std::numeric_limits<double>::max();
  struct Case {
    const char* text;
    double expected;
  };
  const Case cases[] = {
      {"+50.0", 50},     {"1,5", 1},        {"abc", 0},         {"", 0},
      {"-7.33", -7.33},  {" - 7 . 3\t3", -7.33}, {"1\n2", 12}, {".5", 0.5},
      {"-.5", -0.5},     {"5.", 5},         {"1e2", 100},       {"1E+2", 100},
      {"1D2", 100},      {"25d-1", 2.5},    {"1 e 2", 100},     {"2E", 2},
      {"2e+", 2},        {"2ex", 2},        {"e5", 0},          {".", 0},
      {"--5", 0},        {"+-5", 0},        {"5-3", 5},         {"1.2.3", 1.2},
      {"1e999", kMax},   {"-1e999", -kMax}, {"1e-999", 0},      {"80abc", 80},
      {"\r5", 0},  // a carriage return is not ignored
  };
  for (const Case& c : cases)
    EXPECT_EQ(readFieldNumber(QString::fromLatin1(c.text)), c.expected) << '"' << c.text << '"';
}

}  // namespace
}  // namespace frontend
