#include "console/info_option.h"

#include <gtest/gtest.h>

#include "console/fake_terminal.h"
#include "console/process.h"

namespace console {
namespace {

const ProgramInfo kInfo{"tool", "Usage: tool IN OUT\n"};

TEST(InfoOption, OnlyALoneExactOptionIsAnswered) {
  const std::string eol(text_line_end());
  struct Case {
    std::vector<std::string> words;
    std::string out;  // empty: not answered
  };
  const Case cases[] = {
      {{"tool", "--help"}, "Usage: tool IN OUT" + eol + eol + "  --help     show this text and exit" +
                               eol + "  --version  show the version and exit" + eol + eol +
                               "The options count only as the sole argument: a file named --help is" +
                               eol + "given as ./--help. Exit status: 0 converted, 1 error stop, 2 refusal." +
                               eol + "See tool(1)." + eol},
      {{"tool", "--version"}, std::string("tool (sonabrix) ") + PROJECT_VERSION_TEXT + eol},
      // Names of files, and options among other words, are conversions.
      {{"tool", "./--help"}, ""},
      {{"tool", "--help", "out.tim"}, ""},
      {{"tool", "in.wav", "--version"}, ""},
      {{"tool", "--HELP"}, ""},
      {{"tool", "--help "}, ""},
      {{"tool", "-h"}, ""},
      {{"tool", "--"}, ""},
      {{"tool"}, ""},
      {{}, ""},
  };
  for (const Case& c : cases) {
    FakeTerminal terminal;
    const bool answered = answer_info_option(c.words, kInfo, terminal);
    const std::string line = c.words.size() > 1 ? c.words[1] : "(none)";
    EXPECT_EQ(answered, !c.out.empty()) << line << " of " << c.words.size() << " words";
    EXPECT_EQ(terminal.out(), c.out) << line;
    EXPECT_EQ(terminal.err(), "") << line;
    EXPECT_EQ(terminal.answers_read(), 0u) << line;
  }
}

}  // namespace
}  // namespace console
