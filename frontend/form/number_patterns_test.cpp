#include "frontend/form/number_patterns.h"

#include <gtest/gtest.h>

#include <limits>

namespace frontend {
namespace {

struct FormatCase {
  double value;
  const char16_t* pattern;
  const char* expected;
};

void expectFormats(const QLocale& locale, std::initializer_list<FormatCase> cases) {
  for (const auto& c : cases)
    EXPECT_EQ(formatNumber(c.value, c.pattern, locale).toStdString(), c.expected)
        << c.value << " in \"" << QString::fromUtf16(c.pattern).toStdString() << "\" under "
        << locale.name().toStdString();
}

TEST(NumberPatterns, LaunchPatternsUnderUsSettings) {
  expectFormats(QLocale(QLocale::English, QLocale::UnitedStates),
                {
                    {100, kExpectedSplPattern, " 100.0"},
                    {94.5, kExpectedSplPattern, " 94.5"},
                    {94.256, kExpectedSplPattern, " 94.26"},
                    {94.0, kExpectedSplPattern, " 94.0"},
                    {0.5, kExpectedSplPattern, " .5"},
                    {0, kExpectedSplPattern, " .0"},
                    {99.999, kExpectedSplPattern, " 100.0"},
                    {2.675, kExpectedSplPattern, " 2.68"},  // the decimal form, not 2.67499...
                    {12345.5, kExpectedSplPattern, " 12345.5"},
                    {1, kMicrophonePattern, " 1"},
                    {0, kMicrophonePattern, " "},
                    {2.6, kMicrophonePattern, " 3"},
                    {2.5, kMicrophonePattern, " 3"},
                    {0.4, kMicrophonePattern, " "},
                    {2.6, kMicrophoneFenwix4Pattern, " 3 "},
                    {0, kMicrophoneFenwix4Pattern, "  "},
                    {44100, kRatePattern, " 44100 "},
                    {22050, kRatePattern, " 22050 "},
                    {2.2, kDecimalCheckPattern, "002.2"},
                    {10000000, kGroupCheckPattern, "10,000,000"},
                    {999, kGroupCheckPattern, "999"},
                    {1000, kGroupCheckPattern, "1,000"},
                    {13.456, kPointCheckPattern, "13.456"},
                    {13, kPointCheckPattern, "13."},
                });
}

TEST(NumberPatterns, NegativeValuesKeepSignNextToDigits) {
  expectFormats(QLocale::c(), {
                                  {-94.5, kExpectedSplPattern, " -94.5"},
                                  {-0.5, kExpectedSplPattern, " -.5"},
                                  {-0.001, kExpectedSplPattern, " .0"},
                                  {-3, kMicrophonePattern, " -3"},
                                  {-0.4, kMicrophonePattern, " "},
                                  {-3, kMicrophoneFenwix4Pattern, " -3 "},
                                  {-2.2, kDecimalCheckPattern, "-002.2"},
                              });
}

TEST(NumberPatterns, TwoSectionPatternFormatsNegativesWithSecondSection) {
  expectFormats(QLocale::c(), {
                                  {3.25, u"+#0.0;-#0.0", "+3.3"},
                                  {-3.25, u"+#0.0;-#0.0", "-3.3"},
                                  {-0.04, u"+#0.0;-#0.0", "+0.0"},
                                  {-12.5, u"+##0.0;-##0.0", "-12.5"},
                                  {0, u"+#0.0;-#0.0", "+0.0"},
                              });
}

TEST(NumberPatterns, LocaleSuppliesPointAndGroupSeparator) {
  expectFormats(QLocale(QLocale::German, QLocale::Germany),
                {
                    {2.2, kDecimalCheckPattern, "002,2"},
                    {10000000, kGroupCheckPattern, "10.000.000"},
                    {94.5, kExpectedSplPattern, " 94,5"},
                });
  const QString swiss = formatNumber(10000000, kGroupCheckPattern,
                                     QLocale(QLocale::German, QLocale::Switzerland));
  EXPECT_FALSE(swiss.contains(u',')) << swiss.toStdString();
}

TEST(NumberPatterns, ExtremeValuesStayFinite) {
  const QString huge = formatNumber(std::numeric_limits<double>::infinity(), kMicrophonePattern,
                                    QLocale::c());
  EXPECT_EQ(huge.size(), 1 + 309);
  EXPECT_EQ(formatNumber(std::numeric_limits<double>::quiet_NaN(), kMicrophonePattern,
                         QLocale::c()),
            QStringLiteral(" "));
}

TEST(ReadLeadingNumber, PointIsDecimalWhateverFollows) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"100.0", 100.0}, {"94,5", 94.0},  {"94.5", 94.5}, {"  94.5 dB", 94.5},
      {"", 0.0},        {"abc", 0.0},    {".", 0.0},     {".5", 0.5},
      {"5.", 5.0},      {"-2.5", -2.5},  {"- 2.5", -2.5}, {"+7", 7.0},
      {"9 4", 94.0},    {"1.2.3", 1.2},  {"1e3", 1.0},   {"--5", 0.0},
      {"\t3", 3.0},     {"2.6", 2.6},    {"0", 0.0},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(readLeadingNumber(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(ReadLeadingNumber, OutOfRangeClampsOrUnderflows) {
  const QString big = QString(400, u'9');
  EXPECT_EQ(readLeadingNumber(big), std::numeric_limits<double>::max());
  EXPECT_EQ(readLeadingNumber(u'-' + big), -std::numeric_limits<double>::max());
  EXPECT_EQ(readLeadingNumber(QStringLiteral("0.") + QString(400, u'0') + u'1'), 0.0);
}

}  // namespace
}  // namespace frontend
