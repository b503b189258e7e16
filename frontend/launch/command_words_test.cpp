#include "frontend/launch/command_words.h"

#include <gtest/gtest.h>

namespace frontend {
namespace {

TEST(CommandWords, WindowsArgumentRules) {
  struct Case {
    const char* line;
    QStringList words;
  } cases[] = {
      {R"(IRGEN.EXE "take1.WAV" "left.TIM" "NONE" 94.5 1)",
       {"IRGEN.EXE", "take1.WAV", "left.TIM", "NONE", "94.5", "1"}},
      {R"(fenwix.exe "h._01" "o.TIM"  22050 White )",
       {"fenwix.exe", "h._01", "o.TIM", "22050", "White"}},
      {"a\tb  \t c", {"a", "b", "c"}},
      {R"("my take.wav" x)", {"my take.wav", "x"}},
      {R"(a"b c"d)", {"ab cd"}},
      {R"("")", {""}},
      {R"(x "" y)", {"x", "", "y"}},
      {R"(C:\dir\file.wav)", {R"(C:\dir\file.wav)"}},
      {R"("C:\dir\file.wav")", {R"(C:\dir\file.wav)"}},
      {R"(a\\b)", {R"(a\\b)"}},
      {R"(a\"b)", {R"(a"b)"}},          // 1 backslash: literal quote
      {R"(a\\"b c")", {R"(a\b c)"}},    // 2 backslashes: one, then a delimiter
      {R"(a\\\"b)", {R"(a\"b)"}},       // 3 backslashes: one and a literal quote
      {R"("dir\" x)", {R"(dir" x)"}},   // a final backslash escapes the closing quote
      {R"("open ended)", {"open ended"}},
      {"", {}},
      {"   ", {}},
      {R"(trail\)", {R"(trail\)"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(splitCommandWords(QString::fromUtf8(c.line)), c.words)
        << c.line << " gave [" << splitCommandWords(QString::fromUtf8(c.line)).join(u'|').toStdString()
        << "]";
}

}  // namespace
}  // namespace frontend
