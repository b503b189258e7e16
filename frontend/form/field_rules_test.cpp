#include "frontend/form/field_rules.h"

#include <gtest/gtest.h>

namespace frontend {
namespace {

struct RuleCase {
  const char* input;
  const char* tim;     // after the TIM rule
  const char* wav;     // after the WAV rule
  const char* result;  // after the result-file rule
};

TEST(FieldRules, WindowsLowerCasesThenSwapsOrEmpties) {
  const RuleCase cases[] = {
      {"", "", "", ""},
      {"Take1.WAV", "take1.tim", "take1.wav", ""},
      {"take1l.TIM", "take1l.tim", "take1l.wav", ""},
      {"out.tim", "out.tim", "out.wav", ""},
      {"result.dat", "", "", ""},
      {"ab", "", "", ""},         // fewer than three characters
      {"wav", "tim", "wav", ""},  // exactly the three characters
      {"hall._03", "", "", "hall._03"},
      {"HALL._03", "", "", "hall._03"},
      {"x._1", "", "", ""},       // "_" is not the first of the last three
      {"_a", "", "", ""},
      {"dir.wav/x", "", "", ""},
      {"my wav", "my tim", "my wav", ""},  // no dot needed, only the last three count
  };
  for (const auto& c : cases) {
    const QString in = QString::fromUtf8(c.input);
    EXPECT_EQ(timRule(in, Platform::Windows), QString::fromUtf8(c.tim)) << "TIM rule on " << c.input;
    EXPECT_EQ(wavRule(in, Platform::Windows), QString::fromUtf8(c.wav)) << "WAV rule on " << c.input;
    EXPECT_EQ(resultFileRule(in, Platform::Windows), QString::fromUtf8(c.result))
        << "result rule on " << c.input;
  }
}

TEST(FieldRules, LinuxKeepsCaseAndSwapsExtensionLetterByLetter) {
  const RuleCase cases[] = {
      {"", "", "", ""},
      {"/home/Ann/Take1.WAV", "/home/Ann/Take1.TIM", "/home/Ann/Take1.WAV", ""},
      {"left.TIM", "left.TIM", "left.WAV", ""},
      {"out.tim", "out.tim", "out.wav", ""},
      {"Mix.Wav", "Mix.Tim", "Mix.Wav", ""},
      {"Result.DAT", "", "", ""},
      {"ab", "", "", ""},
      {"Hall._03", "", "", "Hall._03"},
  };
  for (const auto& c : cases) {
    const QString in = QString::fromUtf8(c.input);
    EXPECT_EQ(timRule(in, Platform::Linux), QString::fromUtf8(c.tim)) << "TIM rule on " << c.input;
    EXPECT_EQ(wavRule(in, Platform::Linux), QString::fromUtf8(c.wav)) << "WAV rule on " << c.input;
    EXPECT_EQ(resultFileRule(in, Platform::Linux), QString::fromUtf8(c.result))
        << "result rule on " << c.input;
  }
}

TEST(FieldRules, ExtensionNeededWithoutDotOrWithLeadingDot) {
  struct Case {
    const char* name;
    const char* completed;
  } cases[] = {
      {"take1", "take1.WAV"},
      {".wav", ".wav.WAV"},          // first "." is the first character
      {"dir.x/left", "dir.x/left"},  // a "." after the first position
      {"take1.wav", "take1.wav"},
      {"a.", "a."},
      {"..x", "..x.WAV"},
      {" ", " .WAV"},
      {"", ".WAV"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(withExtension(QString::fromUtf8(c.name), QStringLiteral(".WAV")),
              QString::fromUtf8(c.completed))
        << "name " << c.name;
}

}  // namespace
}  // namespace frontend
