#include "filter_file/filter_file.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <utility>

#include "frontend/filter_editor/band_model.h"

namespace frontend {
namespace {

using Kind = FilterFileError::Kind;

const FilterBands kSample = {
    {31.5, 63, 125, 250, 500, 1000, 2000, 4000, 8000, 16000},
    {0, -3.5, 12.25, 0.005, -0.1, 62.5, -120, 1e-7, 7, -49.995},
};

TEST(FilterFile, NumberItemsArePlainWithFifteenSignificantDigits) {
  const double kTiny = std::numeric_limits<double>::denorm_min();
  struct Case {
    double value;
    const char* expected;
  };
  const Case cases[] = {
      {31.5, " 31.5 "},
      {0, " 0 "},
      {-0.0, " 0 "},
      {-3.5, "-3.5 "},
      {16000, " 16000 "},
      {12.25, " 12.25 "},
      {0.5, " 0.5 "},
      {-0.005, "-0.005 "},
      {0.1 + 0.2, " 0.3 "},  // 0.30000000000000004 rounded to 15 digits
      {1.0 / 3, " 0.333333333333333 "},
      {123456789012345678.0, " 123456789012346000 "},
      {1e20, " 100000000000000000000 "},
      {1.5e-7, " 0.00000015 "},
      {99.99999999999999, " 100 "},
      {-49.995000000000005, "-49.995 "},
  };
  for (const Case& c : cases) EXPECT_EQ(numberItem(c.value), c.expected) << c.value;
  // The smallest double: 323 zeros after the point, then 15 digits.
  const std::string tiny = numberItem(kTiny);
  EXPECT_EQ(tiny.substr(0, 4), " 0.0");
  EXPECT_EQ(tiny.size(), 2 + 1 + 323 + 15 + 1u);
}

TEST(FilterFile, WrittenLinesHoldFrequencyAndGainAndEndWithCrLf) {
  const std::optional<std::string> text = filterFileText(kSample);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->substr(0, 36), " 31.5  0 \r\n 63 -3.5 \r\n 125  12.25 \r\n");
  size_t lines = 0;
  for (size_t at = text->find("\r\n"); at != std::string::npos; at = text->find("\r\n", at + 2))
    ++lines;
  EXPECT_EQ(lines, 10u);
  EXPECT_EQ(text->find('\n'), text->find("\r\n") + 1);  // no bare LF

  FilterBands bad = kSample;
  bad.gain[4] = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(filterFileText(bad));
  bad = kSample;
  bad.frequency[9] = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(filterFileText(bad));
}

TEST(FilterFile, WrittenTextReadsBackToTheSameValues) {
  const FilterFileRead read = readFilterFile(*filterFileText(kSample));
  ASSERT_TRUE(read.bands);
  EXPECT_EQ(*read.bands, kSample);

  // Extremes of double come back too; a gain must fit single precision.
  FilterBands extremes = kSample;
  extremes.frequency[0] = std::numeric_limits<double>::denorm_min();
  extremes.frequency[1] = 1e300;
  extremes.gain[2] = -3e38;
  const FilterFileRead again = readFilterFile(*filterFileText(extremes));
  ASSERT_TRUE(again.bands);
  EXPECT_EQ(again.bands->frequency[0], extremes.frequency[0]);
  EXPECT_EQ(again.bands->frequency[1], 1e300);
  EXPECT_EQ(again.bands->gain[2], -3e38);
}

// Fifteen digits would round these up beyond what the reader takes (double
// for a frequency, single precision for a gain): they are written with the
// digits that read back exactly.
TEST(FilterFile, LargestFiniteValuesReadBack) {
  const double kMax = std::numeric_limits<double>::max();
  const double kMaxGain = std::numeric_limits<float>::max();
  EXPECT_EQ(numberItem(kMax), " 17976931348623157" + std::string(292, '0') + " ");
  EXPECT_EQ(numberItem(-kMax), "-17976931348623157" + std::string(292, '0') + " ");
  EXPECT_EQ(numberItem(kMaxGain, kMaxGain), " 34028234663852886" + std::string(22, '0') + " ");
  // Where fifteen digits stay within reach, they stay.
  EXPECT_EQ(numberItem(kMaxGain), " 340282346638529" + std::string(24, '0') + " ");
  EXPECT_EQ(numberItem(1.79769313486231e308), " 179769313486231" + std::string(294, '0') + " ");

  const FilterBands bands = {
      {kMax, -kMax, std::nextafter(kMax, 0.0), 1.7976931348623155e308, 1.79769313486232e307,
       3.4e38, 31.5, 63, 125, 250},
      {kMaxGain, -kMaxGain, std::nextafter(kMaxGain, 0.0), -3.4028234663852e38, 3.4e38, 0,
       -3.5, 12.25, 0.005, 100}};
  const std::optional<std::string> text = filterFileText(bands);
  ASSERT_TRUE(text);
  const FilterFileRead read = readFilterFile(*text);
  ASSERT_TRUE(read.bands) << "item " << read.error->item << " on line " << read.error->line;
  for (int band = 0; band < kBandCount; ++band) {
    EXPECT_EQ(read.bands->frequency[band], bands.frequency[band]) << "band " << band + 1;
    EXPECT_EQ(read.bands->gain[band], bands.gain[band]) << "band " << band + 1;
  }
  EXPECT_EQ(filterFileText(*read.bands), text);

  // No file for a gain that the reader would refuse.
  FilterBands refused = bands;
  refused.gain[5] = std::nextafter(kMaxGain, kMax);
  EXPECT_FALSE(filterFileText(refused));
}

// The gains the sliders make are far from those limits: fifteen digits, as
// printf rounds them.
TEST(FilterFile, SliderGainsKeepFifteenDigits) {
  const std::pair<float, float> limits[] = {{-50, 50}, {-100, 100}, {-3.5f, 12.25f}};
  for (const auto& [bottom, top] : limits) {
    for (int position = kBottomPosition; position <= kTopPosition; ++position) {
      const double gain = gainAt(position, bottom, top);
      char rounded[32];
      std::snprintf(rounded, sizeof rounded, "%.14e", gain);
      const std::string item = numberItem(gain, std::numeric_limits<float>::max());
      double expected = 0;
      double written = 0;
      std::from_chars(rounded, rounded + std::strlen(rounded), expected);
      const size_t start = item[0] == '-' ? 0 : 1;
      std::from_chars(item.data() + start, item.data() + item.size() - 1, written);
      ASSERT_EQ(written, expected) << "position " << position << " in " << bottom << ".." << top
                                   << ": " << item;
    }
  }
}

TEST(FilterFile, LayoutsThatReadAlike) {
  const char* layouts[] = {
      " 31.5  1 \r\n 63 -2 \r\n 125  3 \r\n 250  4 \r\n 500  5 \r\n"
      " 1000  6 \r\n 2000  7 \r\n 4000  8 \r\n 8000  9 \r\n 16000  10 \r\n",
      "31.5 1\n63 -2\n125 3\n250 4\n500 5\n1000 6\n2000 7\n4000 8\n8000 9\n16000 10\n",
      "31.5,1\r\n63,-2\r\n\r\n\r\n125, 3\r\n  250\t4\r\n500 5 1000 6\n2000 7 4000 8,8000 9,"
      "16000,10",
      "\xEF\xBB\xBF"
      "3.15E1 1d0 6.3e+1 -2 125 3 250 4 500 5 1e3 6 2e3 7 4e3 8 8e3 9 1.6D4 +10",
      "31.5 1 63 -2 125 3 250 4 500 5 1000 6 2000 7 4000 8 8000 9 16000 10 anything \x01\xff",
      "\r31.5 1\r63 -2\r125 3\r250 4\r500 5\r1000 6\r2000 7\r4000 8\r8000 9\r16000 10",
  };
  const FilterBands expected = {{31.5, 63, 125, 250, 500, 1000, 2000, 4000, 8000, 16000},
                                {1, -2, 3, 4, 5, 6, 7, 8, 9, 10}};
  for (const char* layout : layouts) {
    const FilterFileRead read = readFilterFile(layout);
    ASSERT_TRUE(read.bands) << layout;
    EXPECT_EQ(*read.bands, expected) << layout;
    EXPECT_FALSE(read.error);
  }
}

TEST(FilterFile, FaultsNameTheLineAndItem) {
  struct Case {
    const char* text;
    FilterFileError expected;
  };
  const Case cases[] = {
      {"", {Kind::TooFewNumbers, 0, 0, 0, ""}},
      {"\r\n  \r\n", {Kind::TooFewNumbers, 0, 0, 0, ""}},
      {"31.5 0\r\n63 0\r\n", {Kind::TooFewNumbers, 0, 0, 4, ""}},
      {"31.5 0\r\n63 abc\r\n", {Kind::NotANumber, 2, 2, 3, "abc"}},
      {"31.5 0\n\n\n63 0 125 1,5x", {Kind::NotANumber, 4, 5, 6, "5x"}},
      {"31.5 0\r\r\n1e", {Kind::NotANumber, 3, 1, 2, "1e"}},
      {"- 5", {Kind::NotANumber, 1, 1, 0, "-"}},
      {"1.2.3", {Kind::NotANumber, 1, 1, 0, "1.2.3"}},
      {".", {Kind::NotANumber, 1, 1, 0, "."}},
      {"nan 0", {Kind::NotANumber, 1, 1, 0, "nan"}},
      {"31.5 1e39", {Kind::OutOfRange, 1, 2, 1, "1e39"}},  // beyond single precision
      {"1e309 0", {Kind::OutOfRange, 1, 1, 0, "1e309"}},
      {"31.5 0 1234567890123456789012345678901234567890123456789x",
       {Kind::NotANumber, 1, 3, 2, "1234567890123456789012345678901234567890"}},
  };
  for (const Case& c : cases) {
    const FilterFileRead read = readFilterFile(c.text);
    EXPECT_FALSE(read.bands) << c.text;
    ASSERT_TRUE(read.error) << c.text;
    EXPECT_EQ(*read.error, c.expected) << c.text;
  }
  // A number too small for double is 0, not a fault.
  const FilterFileRead tiny =
      readFilterFile("31.5 1e-400 63 0 125 0 250 0 500 0 1000 0 2000 0 4000 0 8000 0 16000 0");
  ASSERT_TRUE(tiny.bands);
  EXPECT_EQ(tiny.bands->gain[0], 0);
}

}  // namespace
}  // namespace frontend
